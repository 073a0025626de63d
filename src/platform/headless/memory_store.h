#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/store/settings_store.h"

namespace vt::headless {

// A settings store in memory that also records every write, for tests.
class MemoryStore : public SettingsStore {
public:
    struct Write {
        std::string section;
        std::string key;
        std::string text;
        friend bool operator==(const Write&, const Write&) = default;
    };

    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultText) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;
    SectionSnapshot loadSection(const std::string& app, const std::string& section,
                                const std::vector<std::string>& keys) override;
    void SaveSettings(const std::string& app, const std::string& section, const std::vector<KeyText>& values) override;
    std::string location(const std::string& app) const override;

    // Direct access, as an outside edit of the store would do.
    void put(const std::string& section, const std::string& key, const std::string& text);
    std::string get(const std::string& section, const std::string& key) const;

    // Stores text that cannot be read back, as an outside edit with a mistyped
    // escape leaves it: reading the key throws BadStoredValue with why.
    void putBad(const std::string& section, const std::string& key, const std::string& why);

    const std::vector<Write>& writes() const { return writes_; }
    // How many times the store was read (each GetSetting or loadSection once).
    int reads() const { return reads_; }
    // How many keys each write call wrote (SaveSetting 1, SaveSettings all of its keys).
    const std::vector<std::size_t>& saveSizes() const { return saveSizes_; }
    // Every call fails with StoreError while set, as a broken store would.
    bool failing = false;

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> badValues_;
    std::vector<Write> writes_;
    int reads_ = 0;
    std::vector<std::size_t> saveSizes_;

    void store(const std::string& app, const std::string& section, const std::string& key, const std::string& text);
};

} // namespace vt::headless

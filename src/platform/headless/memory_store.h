#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/store/settings_store.h"

namespace vt {

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
    std::string location(const std::string& app) const override;

    // Direct access, as an outside edit of the store would do.
    void put(const std::string& section, const std::string& key, const std::string& text);
    std::string get(const std::string& section, const std::string& key) const;

    const std::vector<Write>& writes() const { return writes_; }
    // Every call fails with StoreError while set, as a broken store would.
    bool failing = false;

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    std::vector<Write> writes_;
};

} // namespace vt

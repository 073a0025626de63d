#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"
#include "platform/store/settings_store.h"
#include "settings/setting_keys.h"

namespace vt {

// Typed reads and writes of single keys, in application "VT_HALTWARD" and the
// section of the executable's current name. Each call goes to the store; no
// value is kept between calls.
//
// A read that fails (the store cannot be read, or the stored text does not
// decode or convert) is reported with the key, the text and where the store
// keeps it, and yields the key's default: a window loads with what it can
// rather than half-loaded. A write that fails throws StoreError and ends its
// handler.
class Settings {
public:
    explicit Settings(Services& services) : services_(services) {}

    // For a window's load: every key read from one read of the store, so the
    // reads that follow cost nothing more.
    static Settings loaded(Services& services);

    float readTwips(const SettingKey& key) const;
    std::int16_t readTick(const SettingKey& key) const;
    std::string readText(const SettingKey& key) const;

    void writeTwips(const SettingKey& key, float twips) const;
    void writeTick(const SettingKey& key, std::int16_t tick) const;
    void writeText(const SettingKey& key, const std::string& text) const;

    // Several keys in one write of the store: all of them, or none.
    using KeyValue = std::pair<const SettingKey*, std::string>;
    void writeAll(const std::vector<KeyValue>& values) const;

    // Reports a stored value the program will not use, naming key, text and store.
    void reportUnused(const SettingKey& key, const std::string& text, const std::string& why) const;

private:
    std::string readStored(const SettingKey& key) const;
    std::string readFromSnapshot(const SettingKey& key) const;
    void reportUnreadable(const SettingKey& key, const std::string& why) const;
    void reportStoreFailure(const std::string& message) const;
    void write(const SettingKey& key, const std::string& text) const;

    Services& services_;
    std::optional<SectionSnapshot> snapshot_; // set by loaded()
};

} // namespace vt

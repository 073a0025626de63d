#pragma once

#include <string>

namespace vt {

// A per-user store of text values addressed by application, section and key.
// Every call is one complete operation: nothing is cached between calls.
// Failures throw StoreError with a message that names where the store lives.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text of the key, or defaultText when the key is absent.
    virtual std::string GetSetting(const std::string& app, const std::string& section,
                                   const std::string& key, const std::string& defaultText) = 0;

    // Creates the key or replaces its value.
    virtual void SaveSetting(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& text) = 0;

    // Where the store keeps its values, for messages ("/home/x/.config/VT_HALTWARD/settings.ini").
    virtual std::string location(const std::string& app) const = 0;
};

} // namespace vt

#pragma once

#include <map>
#include <string>
#include <vector>

namespace vt {

// What one read of a section found for the keys asked for.
struct SectionSnapshot {
    // The stored text of each key that is present and readable.
    std::map<std::string, std::string> values;
    // Each key whose stored text cannot be read, with the reason and where it
    // is ("line 4: unknown escape ..."): that key's bad value, not the store's.
    std::map<std::string, std::string> badValues;
};

// One key's new text, for writing several keys at once.
struct KeyText {
    std::string key;
    std::string text;
};

// A per-user store of text values addressed by application, section and key.
// Every call is one complete operation: nothing is cached between calls.
// Failures throw StoreError with a message that names where the store lives;
// a stored text that cannot be read throws BadStoredValue naming its key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text of the key, or defaultText when the key is absent.
    virtual std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& defaultText) = 0;

    // Creates the key or replaces its value.
    virtual void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& text) = 0;

    // Several keys of one section read at once, as a window's load needs
    // them: one read of the store, so the load costs one parse however many
    // keys it has. Absent keys are in neither map.
    virtual SectionSnapshot loadSection(const std::string& app, const std::string& section,
                                        const std::vector<std::string>& keys) = 0;

    // Several keys of one section written at once: all of them, or (on a
    // failure, which throws) none.
    virtual void SaveSettings(const std::string& app, const std::string& section,
                              const std::vector<KeyText>& values) = 0;

    // Where the store keeps its values, for messages ("/home/x/.config/VT_HALTWARD/settings.ini").
    virtual std::string location(const std::string& app) const = 0;
};

} // namespace vt

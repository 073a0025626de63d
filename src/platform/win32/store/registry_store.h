#pragma once

#include <string>

#include "platform/store/settings_store.h"

namespace vt::win32 {

// The settings store in the registry, where these two operations have always
// kept their values: HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings\<app>\<section>, one REG_SZ value per key. Every call opens and
// closes its key; nothing is cached.
class RegistryStore : public SettingsStore {
public:
    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultText) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;
    SectionSnapshot loadSection(const std::string& app, const std::string& section,
                                const std::vector<std::string>& keys) override;
    void SaveSettings(const std::string& app, const std::string& section, const std::vector<KeyText>& values) override;
    std::string location(const std::string& app) const override;
};

} // namespace vt::win32

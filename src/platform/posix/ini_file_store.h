#pragma once

#include "platform/store/settings_store.h"

#include <chrono>
#include <string>

namespace vt {

// The settings store on Linux: <configHome>/<app>/settings.ini, one
// [section] per executable name (see ini_text.h for the file's form).
//
// Reads take no lock: the file is only ever replaced whole by a rename, so a
// reader sees the old or the new file. Each write locks settings.ini.lock
// beside it, re-reads the file, changes the one key and replaces the file
// durably, so two programs writing at once lose nothing and a crash leaves
// the old or the new file. A file that does not parse is reported and never
// written over.
class IniFileStore : public SettingsStore {
public:
    explicit IniFileStore(std::string configHome,
                          std::chrono::milliseconds lockTimeout = std::chrono::seconds(5));

    std::string GetSetting(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& defaultText) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;
    std::string location(const std::string& app) const override;

private:
    std::string directory(const std::string& app) const;

    std::string configHome_;
    std::chrono::milliseconds lockTimeout_;
};

// $XDG_CONFIG_HOME when it is set to an absolute path, else $HOME/.config
// (the home directory from the password database when HOME is unset).
std::string defaultConfigHome();

} // namespace vt

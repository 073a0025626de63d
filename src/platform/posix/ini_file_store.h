#pragma once

#include "platform/store/settings_store.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace vt::posix {

// The settings store on Linux: <configHome>/<app>/settings.ini, one
// [section] per executable name (see ini_text.h for the file's form).
//
// Reads take no lock: the file is only ever replaced whole by a rename, so a
// reader sees the old or the new file. Each write locks settings.ini.lock
// beside it, re-reads the file, changes its keys and replaces the file
// durably, so two programs writing at once lose nothing and a crash leaves
// the old or the new file. A file that does not parse is reported and never
// written over.
//
// The file's values are typed into the server console, so the store trusts
// nothing it finds: a file or folder of another user's, or writable by
// group or others, a FIFO or device where the file should be, and a file
// over kMaxFileBytes are refused with a message and left alone. A symlinked
// settings.ini is read and written through to its target, whose folder is
// judged as the link's is; the link stays. A link that leads nowhere is
// refused, naming where it leads.
class IniFileStore : public SettingsStore {
public:
    explicit IniFileStore(std::string configHome, std::chrono::milliseconds lockTimeout = std::chrono::seconds(5));

    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultText) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;
    SectionSnapshot loadSection(const std::string& app, const std::string& section,
                                const std::vector<std::string>& keys) override;
    void SaveSettings(const std::string& app, const std::string& section, const std::vector<KeyText>& values) override;
    std::string location(const std::string& app) const override;

    // Far more than 21 keys of any sensible length in a few hundred sections.
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

private:
    std::string directory(const std::string& app) const;

    std::string configHome_;
    std::chrono::milliseconds lockTimeout_;
};

// $XDG_CONFIG_HOME when it is set to an absolute path, else $HOME/.config
// (the home directory from the password database when HOME is unset).
std::string defaultConfigHome();

} // namespace vt::posix

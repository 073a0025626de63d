#include "platform/posix/ini_file_store.h"

#include "platform/failures.h"
#include "platform/posix/durable_file.h"
#include "platform/store/ini_text.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace vt::posix {

namespace {

// The application name becomes one directory; it must not climb out of it.
void checkAppName(const std::string& app)
{
    if (app.empty() || app == "." || app == ".." || app.find('/') != std::string::npos) {
        throw StoreError("'" + app + "' cannot be a settings directory name");
    }
}

void checkKey(const std::string& key, const std::string& where)
{
    if (!IniText::isValidKey(key)) {
        throw StoreError("'" + key + "' is not a key name that " + where +
                         " can hold (letters, digits, '-', '_', '.')");
    }
}

IniText readIni(const std::string& path)
{
    const auto text = posix::readTrustedFile(path, IniFileStore::kMaxFileBytes);
    return text ? IniText::parse(*text, path) : IniText{};
}

// The file a read or write of path reaches, through a symlink if it is one,
// once the folders of the link and of its target are found trustworthy:
// whoever can write either folder can put any file there.
std::string trustedTarget(const std::string& path)
{
    posix::checkTrustedDirectory(posix::parentOf(path));
    const auto target = posix::linkTarget(path);
    if (target != path) {
        posix::checkTrustedDirectory(posix::parentOf(target));
    }
    return target;
}

IniText readTrustedIni(const std::string& path)
{
    return readIni(trustedTarget(path));
}

void throwIfBad(const IniText& ini, const std::string& section, const std::string& key, const std::string& path)
{
    if (const auto* problem = ini.badValue(section, key)) {
        throw BadStoredValue("the stored value of " + key + " in [" + section + "] of " + path + " cannot be read (" +
                             *problem + ")");
    }
}

const char* absoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? value : nullptr;
}

} // namespace

IniFileStore::IniFileStore(std::string configHome, std::chrono::milliseconds lockTimeout)
    : configHome_(std::move(configHome)), lockTimeout_(lockTimeout)
{
}

std::string IniFileStore::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                     const std::string& defaultText)
{
    checkAppName(app);
    const auto path = location(app);
    checkKey(key, path);
    const auto ini = readTrustedIni(path);
    throwIfBad(ini, section, key, path);
    const auto* value = ini.find(section, key);
    return value != nullptr ? *value : defaultText;
}

void IniFileStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                               const std::string& text)
{
    SaveSettings(app, section, {{key, text}});
}

SectionSnapshot IniFileStore::loadSection(const std::string& app, const std::string& section,
                                          const std::vector<std::string>& keys)
{
    checkAppName(app);
    const auto path = location(app);
    const auto ini = readTrustedIni(path);
    SectionSnapshot snapshot;
    for (const auto& key : keys) {
        if (const auto* problem = ini.badValue(section, key)) {
            snapshot.badValues[key] = *problem;
        } else if (const auto* value = ini.find(section, key)) {
            snapshot.values[key] = *value;
        }
    }
    return snapshot;
}

// Every key is checked before anything is touched, and all of them go into
// one rewrite of the file: all are saved, or none.
void IniFileStore::SaveSettings(const std::string& app, const std::string& section, const std::vector<KeyText>& values)
{
    checkAppName(app);
    const auto path = location(app);
    for (const auto& value : values) {
        checkKey(value.key, path);
    }
    posix::makeDirectories(directory(app));
    const auto target = trustedTarget(path);
    const posix::FileLock lock(target + ".lock", lockTimeout_);
    auto ini = readIni(target);
    for (const auto& value : values) {
        ini.set(section, value.key, value.text);
    }
    posix::replaceFileDurably(target, ini.format());
}

std::string IniFileStore::location(const std::string& app) const
{
    return directory(app) + "/settings.ini";
}

std::string IniFileStore::directory(const std::string& app) const
{
    return configHome_ + "/" + app;
}

std::string defaultConfigHome()
{
    if (const char* xdg = absoluteEnv("XDG_CONFIG_HOME")) {
        return xdg;
    }
    if (const char* home = absoluteEnv("HOME")) {
        return std::string(home) + "/.config";
    }
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir[0] == '/') {
        return std::string(user->pw_dir) + "/.config";
    }
    throw StoreError("cannot find where to keep the settings: neither XDG_CONFIG_HOME nor HOME "
                     "is set to an absolute path, and the user has no home directory");
}

} // namespace vt::posix

#include "settings/settings.h"

#include "platform/ui/event_loop.h"
#include "platform/failures.h"
#include "platform/store/settings_store.h"

namespace vt {

namespace {
const std::string kApp(kAppName);
}

std::string Settings::readStored(const SettingKey& key) const
{
    try {
        return services_.store.GetSetting(kApp, services_.exeName(), std::string(key.name),
                                          std::string(key.defaultText));
    } catch (const StoreError& error) {
        // One report for the whole store, however many keys a load reads.
        services_.loop.reports().failed("settings", std::string(error.what()) +
                                                        "; the program goes on with the defaults");
        return std::string(key.defaultText);
    }
}

void Settings::reportUnused(const SettingKey& key, const std::string& text, const std::string& why) const
{
    services_.loop.reports().failed(
        std::string(key.name), "the stored value '" + text + "' of " + std::string(key.name) + " in [" +
                                   services_.exeName() + "] of " + services_.store.location(kApp) + " " +
                                   why + "; using " +
                                   (key.defaultText.empty() ? std::string("an empty text")
                                                            : std::string(key.defaultText)));
}

float Settings::readTwips(const SettingKey& key) const
{
    const std::string text = readStored(key);
    try {
        return parseTwips(text);
    } catch (const BadStoredValue& bad) {
        reportUnused(key, text, bad.what());
        return parseTwips(key.defaultText);
    }
}

std::int16_t Settings::readTick(const SettingKey& key) const
{
    const std::string text = readStored(key);
    try {
        return parseTick(text);
    } catch (const BadStoredValue& bad) {
        reportUnused(key, text, bad.what());
        return parseTick(key.defaultText);
    }
}

std::string Settings::readText(const SettingKey& key) const
{
    return readStored(key);
}

void Settings::write(const SettingKey& key, const std::string& text) const
{
    services_.store.SaveSetting(kApp, services_.exeName(), std::string(key.name), text);
}

void Settings::writeTwips(const SettingKey& key, float twips) const
{
    write(key, formatTwips(twips));
}

void Settings::writeTick(const SettingKey& key, std::int16_t tick) const
{
    write(key, formatTick(tick));
}

void Settings::writeText(const SettingKey& key, const std::string& text) const
{
    write(key, text);
}

} // namespace vt

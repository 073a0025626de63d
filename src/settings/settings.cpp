#include "settings/settings.h"

#include "platform/failures.h"
#include "platform/store/settings_store.h"
#include "platform/ui/event_loop.h"

namespace vt {

namespace {

const std::string kApp(kAppName);

// A stored text in a message, cut short: an outside edit can make it huge.
constexpr std::size_t kQuotedBytes = 40;

std::string shortened(const std::string& text)
{
    if (text.size() <= kQuotedBytes)
        return text;
    std::size_t cut = kQuotedBytes;
    // Back to the start of a UTF-8 sequence, so no character is cut in two.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut) + "...";
}

std::string defaultWording(const SettingKey& key)
{
    return key.defaultText.empty() ? std::string("an empty text") : std::string(key.defaultText);
}

} // namespace

Settings Settings::loaded(Services& services)
{
    Settings settings(services);
    std::vector<std::string> keys;
    for (const SettingKey* key : kAllSettingKeys)
        keys.emplace_back(key->name);
    try {
        settings.snapshot_ = services.store.loadSection(kApp, services.exeName(), keys);
    } catch (const StoreError& error) {
        settings.reportStoreFailure(error.what());
        settings.snapshot_ = SectionSnapshot{};
    }
    return settings;
}

void Settings::reportStoreFailure(const std::string& message) const
{
    // One report for the whole store, however many keys a load reads.
    services_.loop.reports().failed("settings", message + "; the program goes on with the defaults");
}

std::string Settings::readFromSnapshot(const SettingKey& key) const
{
    const std::string name(key.name);
    if (auto bad = snapshot_->badValues.find(name); bad != snapshot_->badValues.end()) {
        reportUnreadable(key, "the stored value of " + name + " in [" + services_.exeName() + "] of " +
                                  services_.store.location(kApp) + " cannot be read (" + bad->second + ")");
        return std::string(key.defaultText);
    }
    auto found = snapshot_->values.find(name);
    return found == snapshot_->values.end() ? std::string(key.defaultText) : found->second;
}

std::string Settings::readStored(const SettingKey& key) const
{
    if (snapshot_)
        return readFromSnapshot(key);
    try {
        return services_.store.GetSetting(kApp, services_.exeName(), std::string(key.name),
                                          std::string(key.defaultText));
    } catch (const BadStoredValue& bad) {
        reportUnreadable(key, bad.what());
        return std::string(key.defaultText);
    } catch (const StoreError& error) {
        reportStoreFailure(error.what());
        return std::string(key.defaultText);
    }
}

// Only this key falls back; nothing is written to the store because of it.
void Settings::reportUnreadable(const SettingKey& key, const std::string& why) const
{
    services_.loop.reports().failed(std::string(key.name), why + "; using " + defaultWording(key));
}

void Settings::reportUnused(const SettingKey& key, const std::string& text, const std::string& why) const
{
    services_.loop.reports().failed(std::string(key.name), "the stored value '" + shortened(text) + "' of " +
                                                               std::string(key.name) + " in [" + services_.exeName() +
                                                               "] of " + services_.store.location(kApp) + " " + why +
                                                               "; using " + defaultWording(key));
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

void Settings::writeAll(const std::vector<KeyValue>& values) const
{
    std::vector<KeyText> texts;
    for (const auto& [key, text] : values)
        texts.push_back({std::string(key->name), text});
    services_.store.SaveSettings(kApp, services_.exeName(), texts);
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

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vt {

inline constexpr std::string_view kAppName = "VT_HALTWARD";

// How a key's value is written as text.
enum class Encoding {
    Twips, // a window's position or size, single-precision decimal text
    Tick,  // a tickbox value, 16-bit integer text: 0 or 1
    Text,  // a text exactly as typed
};

struct SettingKey {
    std::string_view name;
    Encoding encoding;
    std::string_view defaultText; // what a read yields when the key is absent
};

// Every key the program keeps, with its encoding and default: the only table.
namespace key {
inline constexpr SettingKey MainLeft{"MAIN-Left", Encoding::Twips, "1000"};
inline constexpr SettingKey MainTop{"MAIN-Top", Encoding::Twips, "1000"};
inline constexpr SettingKey MainWidth{"MAIN-Width", Encoding::Twips, "10575"};
inline constexpr SettingKey MainHeight{"MAIN-Height", Encoding::Twips, "2295"};
inline constexpr SettingKey AutostartShutdown{"AUTOSTART_SHUTDOWN_TICKBOX", Encoding::Tick, "0"};
inline constexpr SettingKey AutostartRestart{"AUTOSTART_RESTART_TICKBOX", Encoding::Tick, "0"};
inline constexpr SettingKey Autoclose{"AUTOCLOSE_TICKBOX", Encoding::Tick, "0"};
inline constexpr SettingKey WindowName{"WINDOW_NAME_TEXTBOX", Encoding::Text, ""};
inline constexpr SettingKey ServerName{"SERVER_NAME_TEXTBOX", Encoding::Text, ""};
inline constexpr SettingKey ThreeMinMessage{"THREE_MIN_MESSAGE_TEXTBOX", Encoding::Text, ""};
inline constexpr SettingKey TwoMinMessage{"TWO_MIN_MESSAGE_TEXTBOX", Encoding::Text, ""};
inline constexpr SettingKey OneMinMessage{"ONE_MIN_MESSAGE_TEXTBOX", Encoding::Text, ""};
inline constexpr SettingKey ShutdownRestartMessage{"SHUTDOWN_RESTART_MESSAGE_TEXTBOX", Encoding::Text, ""};
inline constexpr SettingKey AboutLeft{"ABOUT-Left", Encoding::Twips, "1000"};
inline constexpr SettingKey AboutTop{"ABOUT-Top", Encoding::Twips, "1000"};
inline constexpr SettingKey AboutWidth{"ABOUT-Width", Encoding::Twips, "7455"};
inline constexpr SettingKey AboutHeight{"ABOUT-Height", Encoding::Twips, "4185"};
inline constexpr SettingKey MessageSettingsLeft{"MESSAGE-SETTINGS-Left", Encoding::Twips, "1000"};
inline constexpr SettingKey MessageSettingsTop{"MESSAGE-SETTINGS-Top", Encoding::Twips, "1000"};
inline constexpr SettingKey MessageSettingsWidth{"MESSAGE-SETTINGS-Width", Encoding::Twips, "8640"};
inline constexpr SettingKey MessageSettingsHeight{"MESSAGE-SETTINGS-Height", Encoding::Twips, "5745"};
} // namespace key

inline constexpr std::array<const SettingKey*, 21> kAllSettingKeys{
    &key::MainLeft,
    &key::MainTop,
    &key::MainWidth,
    &key::MainHeight,
    &key::AutostartShutdown,
    &key::AutostartRestart,
    &key::Autoclose,
    &key::WindowName,
    &key::ServerName,
    &key::ThreeMinMessage,
    &key::TwoMinMessage,
    &key::OneMinMessage,
    &key::ShutdownRestartMessage,
    &key::AboutLeft,
    &key::AboutTop,
    &key::AboutWidth,
    &key::AboutHeight,
    &key::MessageSettingsLeft,
    &key::MessageSettingsTop,
    &key::MessageSettingsWidth,
    &key::MessageSettingsHeight,
};

// Text conversions of the two number encodings. Parsing throws BadStoredValue
// (without the store's location: the caller adds where the text came from).
float parseTwips(std::string_view text);
std::int16_t parseTick(std::string_view text);
// Shortest decimal text that reads back to the same single-precision value: 1000 -> "1000".
std::string formatTwips(float twips);
std::string formatTick(std::int16_t tick);

} // namespace vt

// libFuzzer target: the settings file's text. Two properties on any bytes:
// - as a value (and as a section name), it is written and read back unchanged;
// - as a file, if it parses, writing it and parsing that again gives the same
//   values and the same text (parse -> format -> parse is stable).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/failures.h"
#include "platform/store/ini_text.h"

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

void valueRoundTrips(const std::string& text)
{
    vt::IniText ini;
    ini.set(text, "K", text);
    const auto back = vt::IniText::parse(ini.format(), "fuzz");
    const std::string* value = back.find(text, "K");
    require(value != nullptr && *value == text);
}

void fileRewritesStably(std::string_view text)
{
    vt::IniText ini;
    try {
        ini = vt::IniText::parse(text, "fuzz");
    } catch (const vt::StoreError&) {
        return; // not a settings file: refused, which is all that is asked
    }
    const std::string once = ini.format();
    auto again = vt::IniText::parse(once, "fuzz");
    require(again.format() == once);
    // A key set in the rewritten file reads back, and the rest stays stable.
    again.set("fuzz-section", "FUZZ-KEY", text);
    const auto third = vt::IniText::parse(again.format(), "fuzz");
    require(*third.find("fuzz-section", "FUZZ-KEY") == text);
    require(third.format() == again.format());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    valueRoundTrips(text);
    fileRewritesStably(text);
    return 0;
}

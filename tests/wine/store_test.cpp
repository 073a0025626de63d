// The registry store against the real (Wine) registry of a scenario's own
// prefix: values round-trip exactly, absent keys and sections give the
// default, and what the store cannot read fails with a message naming the
// registry path. Prints one line per failing check; exit code 0 when all pass.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/failures.h"
#include "platform/win32/store/registry_store.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("FAIL %s\n", what.c_str());
        ++failures;
    }
}

const std::string kApp = "VT_HALTWARD_STORE_TEST";

} // namespace

int main()
{
    vt::win32::RegistryStore store;
    const std::string roundTrips[] = {
        "",
        "plain",
        "§cÄpfel Öl Übel – 5 € ß",
        "日本語 😀 𝄞",
        "  blanks kept  ",
        "line\r\nbreak\ttab",
        "quote \" backslash \\ percent %PATH% braces {+}",
        std::string(5000, 'x') + "€",
    };
    int index = 0;
    for (const std::string& text : roundTrips) {
        const std::string key = "KEY" + std::to_string(index++);
        store.SaveSetting(kApp, "section", key, text);
        const std::string back = store.GetSetting(kApp, "section", key, "default");
        check(back == text, "round trip of '" + text.substr(0, 40) + "' gave '" + back.substr(0, 40) + "'");
    }

    store.SaveSetting(kApp, "section", "KEY0", "replaced");
    check(store.GetSetting(kApp, "section", "KEY0", "") == "replaced", "a second save replaces the value");
    check(store.GetSetting(kApp, "section", "ABSENT", "1000") == "1000", "an absent key gives the default");
    check(store.GetSetting(kApp, "no-such-section", "KEY1", "d") == "d", "an absent section gives the default");
    check(store.GetSetting(kApp, "other", "KEY1", "") == "", "sections are apart");
    store.SaveSetting(kApp, "Ärger-€", "KEY", "v");
    check(store.GetSetting(kApp, "Ärger-€", "KEY", "") == "v", "a section named beyond ASCII works");

    // A value of another type, as only an outside edit can make.
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\VT_HALTWARD_STORE_TEST\\section", 0,
                    nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    const DWORD number = 7;
    RegSetValueExW(key, L"NUMBER", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
    try {
        store.GetSetting(kApp, "section", "NUMBER", "");
        check(false, "a DWORD value read as text");
    } catch (const vt::BadStoredValue& error) {
        const std::string message = error.what();
        check(
            message.find("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\VT_HALTWARD_STORE_TEST\\section") !=
                    std::string::npos &&
                message.find("NUMBER") != std::string::npos,
            "the message names the key path and value: " + message);
    }
    const vt::SectionSnapshot loaded = store.loadSection(kApp, "section", {"KEY1", "NUMBER", "ABSENT"});
    check(loaded.values.size() == 1 && loaded.values.count("KEY1") == 1 && loaded.badValues.count("NUMBER") == 1,
          "one load reads the text, reports the DWORD as that key's bad value and skips the absent key");

    // Several keys at once, all or none: a text that cannot be converted
    // stops the batch before any key is written.
    store.SaveSettings(kApp, "batch", {{"A", "a1"}, {"B", "b1"}});
    bool refused = false;
    try {
        store.SaveSettings(kApp, "batch", {{"A", "a2"}, {"B", "bad \xFF utf-8 ÿ"}});
    } catch (const vt::Failure&) {
        refused = true;
    }
    check(refused, "a batch with invalid UTF-8 is refused");
    check(store.GetSetting(kApp, "batch", "A", "") == "a1" && store.GetSetting(kApp, "batch", "B", "") == "b1",
          "a refused batch writes none of its keys");

    check(store.location("VT_HALTWARD") == "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\VT_HALTWARD",
          "location names the application's key");

    std::printf("registry store: %d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}

#include "platform/win32/registry_store.h"

#include <windows.h>

#include "platform/failures.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace vt {

namespace {

const std::string kRoot = "Software\\VB and VBA Program Settings";

std::string subKey(const std::string& app, const std::string& section)
{
    return kRoot + "\\" + app + "\\" + section;
}

std::string fullPath(const std::string& app, const std::string& section)
{
    return "HKEY_CURRENT_USER\\" + subKey(app, section);
}

[[noreturn]] void fail(const std::string& what, const std::string& where, LONG code)
{
    throw StoreError("could not " + what + " " + where + ": " + systemMessage(static_cast<unsigned long>(code)));
}

// Closes the key however the operation ends.
class OpenKey {
public:
    explicit OpenKey(HKEY key) : key_(key) {}
    ~OpenKey() { RegCloseKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

} // namespace

std::string RegistryStore::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                      const std::string& defaultText)
{
    const std::string where = "value '" + key + "' in " + fullPath(app, section);
    HKEY raw = nullptr;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, toWide(subKey(app, section)).c_str(), 0, KEY_QUERY_VALUE, &raw);
    if (status == ERROR_FILE_NOT_FOUND)
        return defaultText;
    if (status != ERROR_SUCCESS)
        fail("open the key of", where, status);
    OpenKey open(raw);
    const std::wstring name = toWide(key);
    // The value may grow between asking its size and reading it: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        status = RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, nullptr, &bytes);
        if (status == ERROR_FILE_NOT_FOUND)
            return defaultText;
        if (status != ERROR_SUCCESS)
            fail("read", where, status);
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw StoreError("the " + where + " is not a text value (registry type " + std::to_string(type) + ")");
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD capacity = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                                  &capacity);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status == ERROR_FILE_NOT_FOUND)
            return defaultText;
        if (status != ERROR_SUCCESS)
            fail("read", where, status);
        // The stored data may or may not end with its terminator.
        text.resize(capacity / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return toUtf8(text);
    }
    throw StoreError("the " + where + " kept changing while it was read");
}

void RegistryStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& text)
{
    const std::string where = "value '" + key + "' in " + fullPath(app, section);
    HKEY raw = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, toWide(subKey(app, section)).c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS)
        fail("create the key of", where, status);
    OpenKey open(raw);
    const std::wstring wide = toWide(text);
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(open.get(), toWide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                            bytes);
    if (status != ERROR_SUCCESS)
        fail("write", where, status);
}

std::string RegistryStore::location(const std::string& app) const
{
    return "HKEY_CURRENT_USER\\" + kRoot + "\\" + app;
}

} // namespace vt

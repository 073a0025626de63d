#include "platform/win32/store/registry_store.h"

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "platform/failures.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

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

namespace {

// The value's text, nothing when it is absent; StoreError when it cannot be
// read, BadStoredValue when it is not a text.
std::optional<std::string> readValue(HKEY key, const std::string& name, const std::string& where)
{
    const std::wstring wideName = toWide(name);
    // The value may grow between asking its size and reading it: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &bytes);
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        if (status != ERROR_SUCCESS)
            fail("read", where, status);
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw BadStoredValue("the " + where + " is not a text value (registry type " + std::to_string(type) + ")");
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD capacity = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status =
            RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &capacity);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
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

std::string valueWhere(const std::string& key, const std::string& app, const std::string& section)
{
    return "value '" + key + "' in " + fullPath(app, section);
}

// The section's key opened for reading, or nullptr when it does not exist.
HKEY openForReading(const std::string& app, const std::string& section, const std::string& where)
{
    HKEY raw = nullptr;
    const LONG status =
        RegOpenKeyExW(HKEY_CURRENT_USER, toWide(subKey(app, section)).c_str(), 0, KEY_QUERY_VALUE, &raw);
    if (status == ERROR_FILE_NOT_FOUND)
        return nullptr;
    if (status != ERROR_SUCCESS)
        fail("open the key of", where, status);
    return raw;
}

void writeValue(HKEY key, const std::wstring& name, const std::wstring& text, const std::string& where)
{
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    const LONG status =
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    if (status != ERROR_SUCCESS)
        fail("write", where, status);
}

// A value as it was before a batch wrote it, to put back if the batch fails.
struct Previous {
    std::wstring name;
    std::optional<std::string> text;
};

void restore(HKEY key, const std::vector<Previous>& previous)
{
    for (const auto& value : previous) {
        if (value.text) {
            const std::wstring text = toWide(*value.text);
            RegSetValueExW(key, value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(key, value.name.c_str());
        }
    }
}

} // namespace

std::string RegistryStore::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                      const std::string& defaultText)
{
    const std::string where = valueWhere(key, app, section);
    HKEY raw = openForReading(app, section, where);
    if (raw == nullptr)
        return defaultText;
    OpenKey open(raw);
    return readValue(open.get(), key, where).value_or(defaultText);
}

void RegistryStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& text)
{
    SaveSettings(app, section, {{key, text}});
}

SectionSnapshot RegistryStore::loadSection(const std::string& app, const std::string& section,
                                           const std::vector<std::string>& keys)
{
    SectionSnapshot snapshot;
    HKEY raw = openForReading(app, section, fullPath(app, section));
    if (raw == nullptr)
        return snapshot;
    OpenKey open(raw);
    for (const auto& key : keys) {
        try {
            if (auto text = readValue(open.get(), key, valueWhere(key, app, section)))
                snapshot.values[key] = *text;
        } catch (const BadStoredValue& bad) {
            snapshot.badValues[key] = bad.what();
        }
    }
    return snapshot;
}

// The registry has no transaction we can count on (Wine lacks the kernel's
// transaction manager), so all-or-none is made by hand: every text is
// converted before anything is written, the old values are read first, and
// a write that fails puts back the values already changed. Only a failure of
// that putting back itself (the registry failing twice in a row) could leave
// a mix.
void RegistryStore::SaveSettings(const std::string& app, const std::string& section, const std::vector<KeyText>& values)
{
    std::vector<std::pair<std::wstring, std::wstring>> wide;
    for (const auto& value : values)
        wide.emplace_back(toWide(value.key), toWide(value.text));
    const std::string where = fullPath(app, section);
    HKEY raw = nullptr;
    const LONG status =
        RegCreateKeyExW(HKEY_CURRENT_USER, toWide(subKey(app, section)).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS)
        fail("create the key", where, status);
    OpenKey open(raw);
    std::vector<Previous> previous;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string valueName = valueWhere(values[i].key, app, section);
        try {
            std::optional<std::string> old;
            try {
                old = readValue(open.get(), values[i].key, valueName);
            } catch (const BadStoredValue&) {
                // Not a text: nothing worth keeping, the batch replaces it.
            }
            writeValue(open.get(), wide[i].first, wide[i].second, valueName);
            previous.push_back({wide[i].first, std::move(old)});
        } catch (...) {
            restore(open.get(), previous);
            throw;
        }
    }
}

std::string RegistryStore::location(const std::string& app) const
{
    return "HKEY_CURRENT_USER\\" + kRoot + "\\" + app;
}

} // namespace vt::win32

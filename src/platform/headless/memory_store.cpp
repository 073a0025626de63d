#include "platform/headless/memory_store.h"

#include "platform/failures.h"

namespace vt {

namespace {
const std::string kApp = "VT_HALTWARD";
}

std::string MemoryStore::GetSetting(const std::string& app, const std::string& section,
                                    const std::string& key, const std::string& defaultText)
{
    if (failing)
        throw StoreError("the settings in " + location(app) + " cannot be read");
    auto found = values_.find({app, section, key});
    return found == values_.end() ? defaultText : found->second;
}

void MemoryStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                              const std::string& text)
{
    if (failing)
        throw StoreError("the settings in " + location(app) + " cannot be written");
    values_[{app, section, key}] = text;
    writes_.push_back({section, key, text});
}

std::string MemoryStore::location(const std::string& app) const
{
    return "memory:" + app;
}

void MemoryStore::put(const std::string& section, const std::string& key, const std::string& text)
{
    values_[{kApp, section, key}] = text;
}

std::string MemoryStore::get(const std::string& section, const std::string& key) const
{
    auto found = values_.find({kApp, section, key});
    return found == values_.end() ? std::string() : found->second;
}

} // namespace vt

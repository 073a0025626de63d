#include "platform/headless/memory_store.h"

#include "platform/failures.h"

namespace vt::headless {

namespace {
const std::string kApp = "VT_HALTWARD";
}

std::string MemoryStore::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                    const std::string& defaultText)
{
    ++reads_;
    if (failing)
        throw StoreError("the settings in " + location(app) + " cannot be read");
    if (auto bad = badValues_.find({app, section, key}); bad != badValues_.end())
        throw BadStoredValue("the stored value of " + key + " in [" + section + "] of " + location(app) +
                             " cannot be read (" + bad->second + ")");
    auto found = values_.find({app, section, key});
    return found == values_.end() ? defaultText : found->second;
}

SectionSnapshot MemoryStore::loadSection(const std::string& app, const std::string& section,
                                         const std::vector<std::string>& keys)
{
    ++reads_;
    if (failing)
        throw StoreError("the settings in " + location(app) + " cannot be read");
    SectionSnapshot snapshot;
    for (const auto& key : keys) {
        if (auto bad = badValues_.find({app, section, key}); bad != badValues_.end())
            snapshot.badValues[key] = bad->second;
        else if (auto found = values_.find({app, section, key}); found != values_.end())
            snapshot.values[key] = found->second;
    }
    return snapshot;
}

void MemoryStore::SaveSettings(const std::string& app, const std::string& section, const std::vector<KeyText>& values)
{
    // A failing store writes none of them.
    if (failing)
        throw StoreError("the settings in " + location(app) + " cannot be written");
    for (const auto& value : values)
        store(app, section, value.key, value.text);
    saveSizes_.push_back(values.size());
}

void MemoryStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                              const std::string& text)
{
    if (failing)
        throw StoreError("the settings in " + location(app) + " cannot be written");
    store(app, section, key, text);
    saveSizes_.push_back(1);
}

void MemoryStore::store(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& text)
{
    values_[{app, section, key}] = text;
    badValues_.erase({app, section, key});
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

void MemoryStore::putBad(const std::string& section, const std::string& key, const std::string& why)
{
    values_.erase({kApp, section, key});
    badValues_[{kApp, section, key}] = why;
}

std::string MemoryStore::get(const std::string& section, const std::string& key) const
{
    auto found = values_.find({kApp, section, key});
    return found == values_.end() ? std::string() : found->second;
}

} // namespace vt::headless

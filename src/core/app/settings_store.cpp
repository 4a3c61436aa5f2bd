#include "core/app/settings_store.h"

namespace tarvellite {

std::string settingsKey(std::string_view section, std::string_view name) {
    std::string key = "Workspace/";
    if (!section.empty()) {
        key += section;
        key += '/';
    }
    key += name;
    return key;
}

std::optional<std::int32_t> MemorySettingsStore::readInt(std::string_view section,
                                                         std::string_view name) {
    auto it = values_.find(settingsKey(section, name));
    if (it == values_.end() || !std::holds_alternative<std::int32_t>(it->second))
        return std::nullopt;
    return std::get<std::int32_t>(it->second);
}

std::optional<std::u16string> MemorySettingsStore::readString(std::string_view section,
                                                              std::string_view name) {
    auto it = values_.find(settingsKey(section, name));
    if (it == values_.end() || !std::holds_alternative<std::u16string>(it->second))
        return std::nullopt;
    return std::get<std::u16string>(it->second);
}

std::optional<Bytes> MemorySettingsStore::readBinary(std::string_view section,
                                                     std::string_view name) {
    auto it = values_.find(settingsKey(section, name));
    if (it == values_.end() || !std::holds_alternative<Bytes>(it->second))
        return std::nullopt;
    return std::get<Bytes>(it->second);
}

void MemorySettingsStore::writeInt(std::string_view section, std::string_view name,
                                   std::int32_t value) {
    put(settingsKey(section, name), value);
}

void MemorySettingsStore::writeString(std::string_view section, std::string_view name,
                                      std::u16string_view value) {
    put(settingsKey(section, name), std::u16string(value));
}

void MemorySettingsStore::writeBinary(std::string_view section, std::string_view name,
                                      std::span<const std::uint8_t> value) {
    put(settingsKey(section, name), Bytes(value.begin(), value.end()));
}

void MemorySettingsStore::removeAll() {
    values_.clear();
    ++removeAllCount_;
}

void MemorySettingsStore::put(std::string key, Value value) {
    writeLog_.push_back(key);
    values_[std::move(key)] = std::move(value);
}

} // namespace tarvellite

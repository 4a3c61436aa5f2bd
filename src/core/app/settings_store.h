#pragma once

#include "core/app/byte_reader.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarvellite {

/// The key of value `name` of `section` in the store: "Workspace/S/V", or "Workspace/V" for the
/// root section (empty name).
std::string settingsKey(std::string_view section, std::string_view name);

/// Where the settings live between runs. Reads answer nothing (std::nullopt) for a value that
/// is missing or of another type; the caller then uses its default.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::int32_t> readInt(std::string_view section,
                                                std::string_view name) = 0;
    virtual std::optional<std::u16string> readString(std::string_view section,
                                                     std::string_view name) = 0;
    virtual std::optional<Bytes> readBinary(std::string_view section, std::string_view name) = 0;

    virtual void writeInt(std::string_view section, std::string_view name, std::int32_t value) = 0;
    virtual void writeString(std::string_view section, std::string_view name,
                             std::u16string_view value) = 0;
    virtual void writeBinary(std::string_view section, std::string_view name,
                             std::span<const std::uint8_t> value) = 0;

    /// Deletes everything the application has stored, the window and pane state included.
    virtual void removeAll() = 0;
    /// Makes the writes so far durable. Returns false when they could not be written.
    virtual bool flush() { return true; }
};

/// A store in memory, for tests and tools. Remembers the order of writes.
class MemorySettingsStore : public SettingsStore {
  public:
    using Value = std::variant<std::int32_t, std::u16string, Bytes>;

    std::optional<std::int32_t> readInt(std::string_view section, std::string_view name) override;
    std::optional<std::u16string> readString(std::string_view section,
                                             std::string_view name) override;
    std::optional<Bytes> readBinary(std::string_view section, std::string_view name) override;
    void writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    void writeString(std::string_view section, std::string_view name,
                     std::u16string_view value) override;
    void writeBinary(std::string_view section, std::string_view name,
                     std::span<const std::uint8_t> value) override;
    void removeAll() override;

    /// Every value by its full key.
    const std::map<std::string, Value> &values() const { return values_; }
    /// Full keys in the order they were written (a key written twice appears twice).
    const std::vector<std::string> &writeLog() const { return writeLog_; }
    int removeAllCount() const { return removeAllCount_; }
    void clearWriteLog() { writeLog_.clear(); }

  private:
    void put(std::string key, Value value);

    std::map<std::string, Value> values_;
    std::vector<std::string> writeLog_;
    int removeAllCount_ = 0;
};

} // namespace tarvellite

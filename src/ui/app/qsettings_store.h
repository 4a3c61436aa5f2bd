#pragma once

#include "core/app/settings_store.h"

#include <QSettings>

namespace tarvellite::ui {

/// The settings store of the program: QSettings in its native format for organisation
/// "Orvani Software" and application "TarvelLite" (on Linux
/// `$XDG_CONFIG_HOME/Orvani Software/TarvelLite.conf`). Integers are stored as integers, strings
/// as strings, records and lists as byte arrays holding exactly their bytes.
class QSettingsStore final : public SettingsStore {
  public:
    QSettingsStore();

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
    bool flush() override;

    /// The file (or other location) the settings live in.
    QString location() const { return settings_.fileName(); }

  private:
    QSettings settings_;
};

} // namespace tarvellite::ui

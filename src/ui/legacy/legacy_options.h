#pragma once

#include <QSet>
#include <QString>
#include <optional>

namespace tarvellite::ui {

/// The preferences the legacy conversion reads, from the editing options.
struct LegacyOptions {
    /// 0 ask, 1 convert, 2 leave the text as loaded (see `legacyOnOpenAction`).
    int tamTabConversion = 0;
    /// The face for converted text when the legacy face names no installed font.
    QString defaultUnicodeFont = QStringLiteral("Noto Sans Tamil");
};

class CTarvelLiteView;

/// The options in force for `view`: the `EditOption` of the settings its window reads, else the
/// defaults; an override set with `setLegacyOptionsOverride` wins over both.
LegacyOptions legacyOptionsFor(const CTarvelLiteView *view);

/// Replaces the options (tests, scripts); `std::nullopt` goes back to the application's.
void setLegacyOptionsOverride(std::optional<LegacyOptions> options);

/// The distinct family names of every installed font, of any writing system.
QSet<QString> installedFontFamilies();

} // namespace tarvellite::ui

#include "ui/legacy/legacy_options.h"

#include "ui/app/tarvellite_app.h"

#include <QFontDatabase>

namespace tarvellite::ui {

namespace {

std::optional<LegacyOptions> &optionsOverride() {
    static std::optional<LegacyOptions> options;
    return options;
}

} // namespace

LegacyOptions currentLegacyOptions() {
    if (optionsOverride())
        return *optionsOverride();
    LegacyOptions options;
    if (CTarvelLiteApp *app = CTarvelLiteApp::instance()) {
        const EditOption &edit = app->settings().editOption;
        options.tamTabConversion = edit.tamTabConversion;
        options.defaultUnicodeFont = QString::fromUtf16(edit.defaultUnicodeFont.data(),
                                                        qsizetype(edit.defaultUnicodeFont.size()));
    }
    return options;
}

void setLegacyOptionsOverride(std::optional<LegacyOptions> options) {
    optionsOverride() = std::move(options);
}

QSet<QString> installedFontFamilies() {
    const QStringList families = QFontDatabase::families();
    return QSet<QString>(families.begin(), families.end());
}

} // namespace tarvellite::ui

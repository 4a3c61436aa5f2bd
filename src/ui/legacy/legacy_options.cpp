#include "ui/legacy/legacy_options.h"

#include "core/app/settings.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QFontDatabase>

namespace tarvellite::ui {

namespace {

std::optional<LegacyOptions> &optionsOverride() {
    static std::optional<LegacyOptions> options;
    return options;
}

} // namespace

LegacyOptions legacyOptionsFor(const CTarvelLiteView *view) {
    if (optionsOverride())
        return *optionsOverride();
    LegacyOptions options;
    if (const ViewHost *host = view ? view->host() : nullptr) {
        const EditOption &edit = host->settings().editOption;
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

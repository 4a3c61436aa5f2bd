#include "ui/document/document_settings.h"

#include "core/app/settings.h"

namespace tarvellite::ui {

DocumentSettings documentSettingsFrom(const Settings &settings) {
    DocumentSettings d;
    auto text = [](const std::u16string &s) {
        return QString::fromUtf16(s.data(), qsizetype(s.size()));
    };
    d.defaultFont = text(settings.defaultFont);
    d.defaultFontSize = text(settings.defaultFontSize);
    d.textColour = colourFromColorref(settings.general.textColour);
    d.backgroundColour = colourFromColorref(settings.general.backgroundColour);
    d.recentDocuments = settings.general.recentDocuments;
    const PageDimensions &page = settings.pageDimensions;
    d.paperWidth = page.paperWidth;
    d.paperHeight = page.paperHeight;
    d.marginLeft = page.marginLeft;
    d.marginRight = page.marginRight;
    d.marginTop = page.marginTop;
    d.marginBottom = page.marginBottom;
    d.portrait = page.portrait != 0;
    d.rulerVisible = page.rulerVisible != 0;
    d.undoLevels = settings.editOption.undoLevels;
    d.defaultUserPath = QString::fromStdString(settings.defaultUserPath);
    d.tabbedMode = settings.tabbedMode != 0;
    return d;
}

} // namespace tarvellite::ui

#pragma once

#include "ui/mainwindow/ribbon/colour_menu.h"

#include <QHash>
#include <QPair>
#include <QString>
#include <vector>

namespace tarvellite {
struct NamedColour;
}

namespace tarvellite::ui {

/// A palette of the colour tables.
PaletteColours paletteColours(const std::vector<NamedColour> &table);
/// A colour's palette name, or its red, green and blue values when the palettes do not name it.
QString colourName(const QColor &colour);

/// Locale code → (code, display name), from the locale table.
QHash<QString, QPair<QString, QString>> makeLocaleNames();
/// How the Dictionary drop-down lists a dictionary: the display name of its locale when its
/// name is a locale code of `localeNames`, else its own name.
QString dictionaryCaption(const QHash<QString, QPair<QString, QString>> &localeNames,
                          const QString &name);

/// Removes every entry of `menu`; the entries and their sub-menus go once control returns to
/// the event loop, as one of them may be the entry being chosen.
void clearMenuLater(QMenu *menu);

} // namespace tarvellite::ui

#pragma once

#include <QColor>
#include <QString>

namespace tarvellite {
struct Settings;
}

namespace tarvellite::ui {

/// The settings the document windows read, taken from the settings in memory when needed.
/// Lengths in twips.
struct DocumentSettings {
    /// `DefaultFont` and `DefaultFontSize` (points, as text).
    QString defaultFont = QStringLiteral("Arial");
    QString defaultFontSize = QStringLiteral("12");
    /// `General`: colours of new documents (also the ribbon's colour buttons) and the length
    /// of the recent-document list (0 … 16; other values count as 8).
    QColor textColour = Qt::black;
    QColor backgroundColour = Qt::white;
    int recentDocuments = 8;
    /// `PageDimensions`: paper as width × height in portrait, margins, orientation.
    int paperWidth = 11906;
    int paperHeight = 16838;
    int marginLeft = 1440;
    int marginRight = 1440;
    int marginTop = 1440;
    int marginBottom = 1440;
    bool portrait = true;
    bool rulerVisible = true;
    /// `EditOption`'s `undoLevels`, 0 … 80.
    int undoLevels = 40;
    /// `DefaultUserPath`: the folder the file dialogs start in.
    QString defaultUserPath;
    /// `TabbedMode`: documents as tabs (true) or overlapping windows.
    bool tabbedMode = true;

    /// The recent-document count to use: `recentDocuments` when 0 … 16, else 8.
    int recentCount() const {
        return recentDocuments >= 0 && recentDocuments <= 16 ? recentDocuments : 8;
    }
};

/// The document windows' copy of `settings`.
DocumentSettings documentSettingsFrom(const Settings &settings);

/// A COLORREF (0x00BBGGRR) as a colour, and back.
inline QColor colourFromColorref(quint32 c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline quint32 colorrefFromColour(const QColor &c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

} // namespace tarvellite::ui

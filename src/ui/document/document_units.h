#pragma once

// Lengths in a document. Files and settings measure in twips (1440 per inch); a QTextDocument
// measures in document units, which are pixels at 96 per inch before any zoom (the layout
// scales them to its paint device). The ruler, page layout, printing and pictures all convert
// through these functions.

#include <QtGlobal>

namespace tarvellite::ui {

inline constexpr int twipsPerInch = 1440;
inline constexpr int twipsPerPoint = 20;
/// Document units per inch at 100% zoom.
inline constexpr int unitsPerInch = 96;
inline constexpr double twipsPerUnit = double(twipsPerInch) / unitsPerInch; // 15

/// Twips to document units (unzoomed); what QTextBlockFormat margins and indents hold.
inline qreal twipsToUnits(int twips) {
    return twips / twipsPerUnit;
}
/// Document units to twips, rounded to the nearest twip.
inline int unitsToTwips(qreal units) {
    return qRound(units * twipsPerUnit);
}

/// Twips to on-screen pixels at `zoom` (1.0 = 100%).
inline qreal twipsToPixels(int twips, qreal zoom) {
    return twipsToUnits(twips) * zoom;
}
/// On-screen pixels at `zoom` to twips.
inline int pixelsToTwips(qreal pixels, qreal zoom) {
    return zoom > 0 ? unitsToTwips(pixels / zoom) : 0;
}

/// Twips to points (a font size of 240 twips is 12 points).
inline qreal twipsToPoints(int twips) {
    return twips / qreal(twipsPerPoint);
}
/// Points to twips, rounded.
inline int pointsToTwips(qreal points) {
    return qRound(points * twipsPerPoint);
}

/// Twips to device pixels of a device with `dpi` dots per inch (printers).
inline qreal twipsToDevice(int twips, qreal dpi) {
    return twips * dpi / twipsPerInch;
}

} // namespace tarvellite::ui

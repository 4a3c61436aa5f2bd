#pragma once

// The ruler's arithmetic: its tick marks and numbers in each measurement unit, positions between
// twips and pixels at the view's zoom, snapping, and the tab stops a drag leaves.

#include <span>
#include <vector>

namespace tarvellite {

/// One measurement unit of the ruler, all distances in twips.
struct RulerUnit {
    int twipsPerUnit;
    int smallTick;
    int mediumTick;
    int numberEvery;
    int snapStep;
};

/// The row of `measureUnit` (0 millimetres, 1 centimetres, 2 inches; others: centimetres).
const RulerUnit &rulerUnit(int measureUnit);

/// A twips position as pixels at `pixelsPerInch` and `zoom` (1.0 = 100 %).
double rulerTwipsToPixels(int twips, double pixelsPerInch, double zoom);
/// Pixels at `pixelsPerInch` and `zoom` as twips, rounded to the nearest twip.
int rulerPixelsToTwips(double pixels, double pixelsPerInch, double zoom);
/// `twips` moved to the nearest multiple of `step` (halves away from zero), the same on both
/// sides of the origin.
int snapTwips(int twips, int step);

/// A mark of the ruler's scale.
struct RulerTick {
    enum Kind { Small, Medium, Number };
    int twips;
    Kind kind;
    /// For a number: position / twips per unit, truncated.
    int number;
};

/// The marks from 0 up to (not including) `extentTwips`, skipping the position equal to
/// `printableWidth` (where the margin line stands).
std::vector<RulerTick> rulerTicks(int measureUnit, int extentTwips, int printableWidth);

/// The default tab marks: every 720 twips from the first multiple beyond `largestTab` up to
/// `printableWidth`.
std::vector<int> defaultTabMarks(int largestTab, int printableWidth);

/// The ruler's tab handles as tab stops: ascending, without zeros and repeats.
std::vector<int> tabStopsFromHandles(std::span<const int> positions);

/// The most tab handles the ruler carries; a paragraph's further tab stops are kept, not shown.
inline constexpr int rulerTabHandles = 32;

} // namespace tarvellite

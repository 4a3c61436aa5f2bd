#include "core/document/ruler_scale.h"

#include <algorithm>
#include <cmath>

namespace tarvellite {

namespace {

constexpr RulerUnit units[] = {
    {56, 142, 284, 568, 142},   // millimetres
    {568, 142, 284, 568, 142},  // centimetres
    {1440, 180, 720, 1440, 90}, // inches
};

constexpr int defaultTabTwips = 720;

} // namespace

const RulerUnit &rulerUnit(int measureUnit) {
    return measureUnit >= 0 && measureUnit <= 2 ? units[measureUnit] : units[1];
}

double rulerTwipsToPixels(int twips, double pixelsPerInch, double zoom) {
    return twips * pixelsPerInch * zoom / 1440.0;
}

int rulerPixelsToTwips(double pixels, double pixelsPerInch, double zoom) {
    if (pixelsPerInch <= 0 || zoom <= 0)
        return 0;
    return static_cast<int>(std::lround(pixels * 1440.0 / (pixelsPerInch * zoom)));
}

int snapTwips(int twips, int step) {
    if (step <= 0)
        return twips;
    const long long magnitude = twips < 0 ? -static_cast<long long>(twips) : twips;
    const long long snapped = (magnitude + step / 2) / step * step;
    return static_cast<int>(twips < 0 ? -snapped : snapped);
}

std::vector<RulerTick> rulerTicks(int measureUnit, int extentTwips, int printableWidth) {
    const RulerUnit &unit = rulerUnit(measureUnit);
    std::vector<RulerTick> ticks;
    for (int position = unit.smallTick; position > 0 && position < extentTwips;
         position += unit.smallTick) {
        if (position == printableWidth)
            continue;
        if (position % unit.numberEvery == 0)
            ticks.push_back({position, RulerTick::Number, position / unit.twipsPerUnit});
        else if (position % unit.mediumTick == 0)
            ticks.push_back({position, RulerTick::Medium, 0});
        else
            ticks.push_back({position, RulerTick::Small, 0});
    }
    return ticks;
}

std::vector<int> defaultTabMarks(int largestTab, int printableWidth) {
    std::vector<int> marks;
    const int first = (std::max(largestTab, 0) / defaultTabTwips + 1) * defaultTabTwips;
    for (int position = first; position <= printableWidth; position += defaultTabTwips)
        marks.push_back(position);
    return marks;
}

std::vector<int> tabStopsFromHandles(std::span<const int> positions) {
    std::vector<int> stops;
    for (int p : positions)
        if (p > 0)
            stops.push_back(p);
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    return stops;
}

} // namespace tarvellite

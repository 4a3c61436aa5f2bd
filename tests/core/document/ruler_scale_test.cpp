// The ruler's scale: marks and numbers per unit, pixels at a zoom, snapping either side of the
// origin, default tab marks and the tab stops a drag leaves.

#include "core/document/ruler_scale.h"

#include <gtest/gtest.h>

using namespace tarvellite;

namespace {

std::vector<int> numbersOf(int unit, int extent) {
    std::vector<int> numbers;
    for (const RulerTick &t : rulerTicks(unit, extent, -1))
        if (t.kind == RulerTick::Number)
            numbers.push_back(t.number);
    return numbers;
}

} // namespace

TEST(RulerScale, NumbersInEachUnit) {
    EXPECT_EQ(numbersOf(2, 4 * 1440 + 1), (std::vector<int>{1, 2, 3, 4}));
    // Millimetres count by the truncated division: 71 comes where 70 would be.
    EXPECT_EQ(numbersOf(0, 568 * 10 + 1),
              (std::vector<int>{10, 20, 30, 40, 50, 60, 71, 81, 91, 101}));
    EXPECT_EQ(numbersOf(1, 568 * 3 + 1), (std::vector<int>{1, 2, 3}));
}

TEST(RulerScale, MarksInInches) {
    const std::vector<RulerTick> ticks = rulerTicks(2, 1441, -1);
    ASSERT_EQ(ticks.size(), 8u);
    EXPECT_EQ(ticks[0].twips, 180);
    EXPECT_EQ(ticks[0].kind, RulerTick::Small);
    EXPECT_EQ(ticks[3].twips, 720);
    EXPECT_EQ(ticks[3].kind, RulerTick::Medium);
    EXPECT_EQ(ticks[7].kind, RulerTick::Number);
    // The margin's position carries no mark.
    for (const RulerTick &t : rulerTicks(2, 3000, 720))
        EXPECT_NE(t.twips, 720);
}

TEST(RulerScale, PixelsFollowTheZoom) {
    EXPECT_DOUBLE_EQ(rulerTwipsToPixels(1440, 96, 1.0), 96);
    EXPECT_DOUBLE_EQ(rulerTwipsToPixels(1440, 96, 1.5), 144);
    EXPECT_DOUBLE_EQ(rulerTwipsToPixels(720, 96, 0.5), 24);
    EXPECT_EQ(rulerPixelsToTwips(144, 96, 1.5), 1440);
    EXPECT_EQ(rulerPixelsToTwips(96, 96, 1.0), 1440);
    EXPECT_EQ(rulerPixelsToTwips(10, 96, 0), 0);
    // A round trip at any zoom lands within a twip.
    for (double zoom : {0.1, 0.33, 1.0, 1.25, 2.0})
        for (int twips : {0, 15, 454, 1440, 11906})
            EXPECT_NEAR(rulerPixelsToTwips(rulerTwipsToPixels(twips, 96, zoom), 96, zoom), twips,
                        1);
}

TEST(RulerScale, SnappingIsEvenOnBothSides) {
    const std::pair<int, int> cases[] = {{0, 0},      {44, 0},     {45, 90}, {89, 90},
                                         {134, 90},   {135, 180},  {-44, 0}, {-45, -90},
                                         {-134, -90}, {-135, -180}};
    for (const auto &[in, out] : cases)
        EXPECT_EQ(snapTwips(in, 90), out) << in;
    EXPECT_EQ(snapTwips(1000, 0), 1000);
}

TEST(RulerScale, DefaultTabMarksAndDraggedTabs) {
    EXPECT_EQ(defaultTabMarks(0, 2900), (std::vector<int>{720, 1440, 2160, 2880}));
    EXPECT_EQ(defaultTabMarks(1500, 2900), (std::vector<int>{2160, 2880}));
    EXPECT_EQ(defaultTabMarks(720, 1440), (std::vector<int>{1440}));
    const int handles[] = {1440, 0, 720, 1440, 0, 2880};
    EXPECT_EQ(tabStopsFromHandles(handles), (std::vector<int>{720, 1440, 2880}));
}

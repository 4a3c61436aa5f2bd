#include "core/app/paper_sizes.h"
#include "core/app/version.h"

#include <gtest/gtest.h>

namespace tarvellite {
namespace {

TEST(PaperSizes, TableHasTwentySizesInOrder) {
    const PaperSizeTable &t = paperSizeTable();
    EXPECT_EQ(t.front().name, u"Letter");
    EXPECT_EQ(t[1].name, u"A4");
    EXPECT_EQ(t[19].name, u"Business Card");
    EXPECT_EQ(t[19].width, 4819);
    EXPECT_EQ(t[19].height, 3118);
    for (const PAGESIZE &p : t) {
        EXPECT_LE(p.name.size(), 15u);
        EXPECT_EQ(p.toBytes().size(), PAGESIZE::size);
    }
    const Bytes a4 = t[1].toBytes();
    EXPECT_EQ(a4[0], 'A');
    EXPECT_EQ(a4[2], '4');
    EXPECT_EQ(a4[4], 0);
    EXPECT_EQ(a4[32], 0x82);
    EXPECT_EQ(a4[33], 0x2E);
}

TEST(PaperSizes, FindPageSizeWithinSixTwipsEitherWayRound) {
    struct Case {
        int width, height, expected;
    };
    for (const Case c : {Case{11906, 16838, 1}, Case{16838, 11906, 1}, Case{11900, 16840, 1},
                         Case{11899, 16838, -1}, Case{12000, 12000, -1}, Case{12240, 15840, 0},
                         Case{6803, 6803, 18}, Case{3118, 4819, 19}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_EQ(FindPageSize(c.width, c.height), c.expected);
    }
}

TEST(VersionRecord, LaysOutStampsAndMakerStrings) {
    const Bytes b = VersionRecord{}.toBytes();
    ASSERT_EQ(b.size(), VersionRecord::size);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 16),
              (Bytes{0xDB, 0x07, 0, 0, 11, 0, 0, 0, 250, 0, 0, 0, 0xA0, 0x0F, 0, 0}));
    EXPECT_EQ(b[16], 'O');
    EXPECT_EQ(b[16 + 2 * 15], 0); // NUL after "Orvani Software"
    EXPECT_EQ(b[48], 'A');
    EXPECT_EQ(b[48 + 18], 0);
}

} // namespace
} // namespace tarvellite

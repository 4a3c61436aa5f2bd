// The page setup's arithmetic: lengths in each unit, paper sizes and orientation, margins that
// leave room for the text on the paper as it lies.

#include "core/app/paper_sizes.h"
#include "core/preferences/page_setup.h"

#include <gtest/gtest.h>

using namespace tarvellite;

struct LengthCase {
    const char *name;
    int twips;
    int unit;
    const char *shown;
};

class Lengths : public ::testing::TestWithParam<LengthCase> {};

TEST_P(Lengths, ShowAndReadBack) {
    const LengthCase &c = GetParam();
    EXPECT_EQ(lengthText(c.twips, c.unit), c.shown);
    // Reading back what is shown never changes the value.
    EXPECT_EQ(lengthFromText(c.shown, c.unit, c.twips), c.twips);
}

INSTANTIATE_TEST_SUITE_P(PageSetup, Lengths,
                         ::testing::ValuesIn(std::vector<LengthCase>{
                             {"InchInInches", 1440, Inches, "1.00"},
                             {"InchInCentimetres", 1440, Centimetres, "2.54"},
                             {"InchInMillimetres", 1440, Millimetres, "25.40"},
                             {"LetterWidthInMillimetres", 15840, Millimetres, "279.40"},
                             {"LetterHeightInMillimetres", 12240, Millimetres, "215.90"},
                             {"SmallestCustomInMillimetres", 3118, Millimetres, "55.00"},
                             {"Zero", 0, Inches, "0.00"},
                         }),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PageSetupLengths, TypedValuesTruncateToTwips) {
    EXPECT_EQ(lengthFromText("20", Millimetres, 0), 1133);
    // 1441 twips shows as 2.54 cm: read back it stays 1441; typed afresh it is 1440.
    EXPECT_EQ(lengthFromText("2.54", Centimetres, 1441), 1441);
    EXPECT_EQ(lengthFromText("2.54", Centimetres, 0), 1440);
    EXPECT_EQ(lengthFromText("1.5", Inches, 0), 2160);
    EXPECT_EQ(lengthFromText(".5", Inches, 0), 720);
    for (const char *bad : {"", ".", "1.2.3", "-1", "1,5", "abc", "99999999999999"})
        EXPECT_EQ(lengthFromText(bad, Inches, 100), std::nullopt) << bad;
    EXPECT_EQ(spinMaximum(Millimetres), 533);
    EXPECT_EQ(spinMaximum(Centimetres), 53);
    EXPECT_EQ(spinMaximum(Inches), 21);
    EXPECT_STREQ(unitSentence(Inches), "All Measurements are in Inches");
    EXPECT_STREQ(unitSentence(7), "All Measurements are in Centimeters");
}

TEST(PageSetupSizes, FindPageSizeEitherWayRound) {
    EXPECT_EQ(FindPageSize(11906, 16838), 1);
    EXPECT_EQ(FindPageSize(16838, 11906), 1);
    EXPECT_EQ(FindPageSize(11900, 16840), 1);
    EXPECT_EQ(FindPageSize(12000, 12000), -1);
}

TEST(PageSetupSizes, ADocumentsPageInLandscape) {
    const PageSetup page = PageSetup::fromDocument(15840, 12240, 1440, 1440, 1440, 1440);
    EXPECT_EQ(page.pageSizeIndex(), 0); // Letter
    EXPECT_FALSE(page.portrait());
    EXPECT_EQ(lengthText(page.shownWidth(), Millimetres), "279.40");
    EXPECT_EQ(lengthText(page.shownHeight(), Millimetres), "215.90");
}

TEST(PageSetupSizes, CustomSizeStartsAsA4AndIsClamped) {
    PageSetup page = PageSetup::fromDefaults(PageDimensions{});
    page.choosePaperSize(-1);
    EXPECT_EQ(page.paperWidth(), 11906);
    EXPECT_EQ(page.paperHeight(), 16838);
    EXPECT_EQ(page.setCustomWidth(*lengthFromText("20", Millimetres, 0)), 3118);
    EXPECT_EQ(page.paperWidth(), 3118); // the custom size is the paper while it is chosen
    EXPECT_EQ(page.setCustomHeight(99999), 31181);
    page.choosePaperSize(0);
    EXPECT_EQ(page.paperWidth(), 12240);
    EXPECT_EQ(page.customWidth(), 3118);
    // A stored custom size outside the limits comes back clamped.
    PageDimensions odd;
    odd.pageSizeIndex = -1;
    odd.paperWidth = 10;
    odd.paperHeight = 50000;
    const PageSetup clamped = PageSetup::fromDefaults(odd);
    EXPECT_EQ(clamped.paperWidth(), 3118);
    EXPECT_EQ(clamped.paperHeight(), 31181);
}

struct MarginCase {
    const char *name;
    bool portrait;
    Margin edited;
    int entered;
    int opposite; // the opposite margin before
    int expected;
    int expectedOpposite;
};

class Margins : public ::testing::TestWithParam<MarginCase> {};

TEST_P(Margins, LeaveRoomForTheText) {
    const MarginCase &c = GetParam();
    PageDimensions letter;
    letter.pageSizeIndex = 0;
    letter.paperWidth = 12240;
    letter.paperHeight = 15840;
    letter.portrait = c.portrait ? 1 : 0;
    const Margin opposite = c.edited == Margin::Left    ? Margin::Right
                            : c.edited == Margin::Right ? Margin::Left
                            : c.edited == Margin::Top   ? Margin::Bottom
                                                        : Margin::Top;
    // The page as stored, with the opposite margin as given and the edited one at the minimum.
    std::int32_t *stored[] = {&letter.marginLeft, &letter.marginTop, &letter.marginRight,
                              &letter.marginBottom};
    *stored[static_cast<int>(opposite)] = c.opposite;
    *stored[static_cast<int>(c.edited)] = minMarginTwips;
    PageSetup page = PageSetup::fromDefaults(letter);
    page.setMargin(c.edited, c.entered);
    EXPECT_EQ(page.margin(c.edited), c.expected);
    EXPECT_EQ(page.margin(opposite), c.expectedOpposite);
}

INSTANTIATE_TEST_SUITE_P(
    PageSetup, Margins,
    ::testing::ValuesIn(std::vector<MarginCase>{
        {"WideLeftGivesWay", true, Margin::Left, 10000, 1440, 8589, 1440},
        {"SmallLeftStaysAtTheMinimumAndTheRightGivesWay", true, Margin::Left, 300, 10000, 454,
         9575},
        {"OrdinaryMarginIsTaken", true, Margin::Top, 2000, 1440, 2000, 1440},
        // Landscape Letter is 15840 wide and 12240 high: top and bottom share the short side.
        {"LandscapeTopAgainstTheShortSide", false, Margin::Top, 10000, 1440, 8589, 1440},
        {"LandscapeLeftAgainstTheLongSide", false, Margin::Left, 10000, 1440, 10000, 1440},
    }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PageSetupMargins, TurningThePageKeepsRoomForTheText) {
    PageSetup page = PageSetup::fromDefaults(PageDimensions{}); // A4 portrait
    page.setMargin(Margin::Left, 4000);
    page.setMargin(Margin::Right, 4000);
    page.setMargin(Margin::Top, 7000);
    page.setMargin(Margin::Bottom, 7000);
    page.setPortrait(false); // top and bottom now share 11906 twips
    EXPECT_GE(page.shownHeight() - page.margin(Margin::Top) - page.margin(Margin::Bottom),
              minTextTwips);
    const PageDimensions stored = page.toDimensions(PageDimensions{});
    EXPECT_EQ(stored.portrait, 0);
    EXPECT_EQ(stored.paperWidth, 11906); // kept in portrait
    EXPECT_EQ(stored.rulerVisible, 1);
}

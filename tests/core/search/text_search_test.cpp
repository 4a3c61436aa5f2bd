// Finding text in lines: exact code-unit matching over Tamil, Hindi and Latin text, the
// whole-word rule, the pass limits and Change All's walk.

#include "core/search/search_session.h"
#include "core/search/text_search.h"

#include <gtest/gtest.h>

using namespace tarvellite::search;

namespace {

constexpr std::size_t none = std::u16string::npos;

std::size_t orNone(std::optional<std::size_t> p) {
    return p ? *p : none;
}

struct LineCase {
    const char *name;
    std::u16string line;
    std::u16string needle;
    bool wholeWord;
    std::size_t forwardFromZero; // first occurrence
    std::size_t backwardFromEnd; // last occurrence
};

const LineCase lineCases[] = {
    {"latinInside", u"xab ab", u"ab", false, 1, 4},
    {"latinWholeWord", u"xab ab", u"ab", true, 4, 4},
    {"punctuationBelongsToTheWord", u"ab,", u"ab", true, none, none},
    {"wholeWordAtLineEnd", u"cd ab", u"ab", true, 3, 3},
    {"wholeWordAtLineStart", u"ab cd", u"ab", true, 0, 0},
    {"wholeLine", u"ab", u"ab", true, 0, 0},
    {"tabIsASpace", u"x\tab\t", u"ab", true, 2, 2},
    {"caseSensitive", u"Tamil tamil", u"tamil", false, 6, 6},
    // Code unit for code unit: கல is found inside கல்வி, but it is not a whole word there.
    {"tamilInsideCluster", u"கல்வி கல", u"கல", false, 0, 6},
    {"tamilWholeWord", u"கல்வி கல", u"கல", true, 6, 6},
    {"tamilAtStartAndEnd", u"தமிழ் நாடு தமிழ்", u"தமிழ்", true, 0, 11},
    {"tamilVowelSignIsPartOfTheWord", u"கடை கட", u"கட", true, 4, 4},
    // A joiner is a unit of its own: with it the text differs.
    {"hindiJoinerDiffers", u"क्\u200Dष", u"क्ष", false, none, none},
    {"hindiJoinerMatches", u"क्\u200Dष क्ष", u"क्\u200Dष", true, 0, 0},
    {"hindiWords", u"हिंदी में हिंदी", u"हिंदी", true, 0, 10},
    {"dandaIsPunctuation", u"राम।", u"राम", true, none, none},
    {"overlapping", u"aaaa", u"aa", false, 0, 2},
    {"needleLongerThanLine", u"ab", u"abc", false, none, none},
};

class LineSearch : public testing::TestWithParam<LineCase> {};

TEST_P(LineSearch, FindsTheFirstAndLastOccurrence) {
    const LineCase &c = GetParam();
    const MatchRule rule{.wholeWord = c.wholeWord, .passLimit = std::nullopt, .accept = nullptr};
    EXPECT_EQ(orNone(findForward(c.line, c.needle, 0, rule)), c.forwardFromZero);
    EXPECT_EQ(orNone(findBackward(c.line, c.needle, c.line.size() + 5, rule)), c.backwardFromEnd);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineSearch, testing::ValuesIn(lineCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(LineSearch, LimitsAndPassLimits) {
    const std::u16string banana = u"banana";
    const MatchRule plain;
    // Backwards only occurrences that end at or before the limit count.
    EXPECT_EQ(orNone(findBackward(banana, u"a", 6, plain)), 5u);
    EXPECT_EQ(orNone(findBackward(banana, u"a", 5, plain)), 3u);
    EXPECT_EQ(orNone(findBackward(banana, u"ana", 5, plain)), 1u);
    EXPECT_EQ(orNone(findBackward(banana, u"a", 0, plain)), none);
    EXPECT_EQ(orNone(findForward(banana, u"a", 7, plain)), none);
    // The second pass stops where the search began.
    const MatchRule forward{.wholeWord = false, .passLimit = 3, .accept = nullptr};
    EXPECT_EQ(orNone(findForward(banana, u"a", 2, forward)), none);
    EXPECT_EQ(orNone(findForward(banana, u"a", 0, forward)), 1u);
    const MatchRule backward{.wholeWord = false, .passLimit = 3, .accept = nullptr};
    EXPECT_EQ(orNone(findBackward(banana, u"a", 6, backward)), 5u);
    EXPECT_EQ(orNone(findBackward(banana, u"a", 5, backward)), none);
    // A refused occurrence lets the search go on to the next one.
    const MatchRule font{.wholeWord = false,
                         .passLimit = std::nullopt,
                         .accept = [](std::size_t p, std::size_t) { return p != 1; }};
    EXPECT_EQ(orNone(findForward(banana, u"a", 0, font)), 3u);
    EXPECT_EQ(orNone(findBackward(banana, u"a", 3, font)), none);
}

TEST(FindAll, WalksOnAfterEachOccurrence) {
    EXPECT_EQ(findAll(u"aaaa", u"aa", false), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(findAll(u"tamil Tamil tamil,tamil\ntamil", u"tamil", true),
              (std::vector<std::size_t>{0, 24}));
    EXPECT_TRUE(findAll(u"abc", u"", false).empty());
    const std::u16string text = u"தமிழ் மொழி தமிழ்";
    const auto found = findAll(text, u"தமிழ்", true);
    EXPECT_EQ(found, (std::vector<std::size_t>{0, 11}));
    EXPECT_EQ(replaceAt(text, found, 5, u"X"), u"X மொழி X");
    // A replacement holding the search text is not searched again.
    EXPECT_EQ(replaceAt(u"ab ab", findAll(u"ab ab", u"ab", false), 2, u"abab"), u"abab abab");
    EXPECT_EQ(replaceAt(u"ab", {0}, 2, u""), u"");
}

} // namespace

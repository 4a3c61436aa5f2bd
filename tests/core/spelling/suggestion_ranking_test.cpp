// The order of suggestions: closest to the typed word first, where the slips Indic typists make
// most (a long vowel sign for a short one, a confusable consonant, a virama or nukta left out or
// put in) count half an edit.
#include "core/spelling/dictionary.h"
#include "spelling_fixture.h"

namespace tarvellite {
namespace {

using test::buildDictionary;
using test::TempFolder;
using test::utf8List;

constexpr const char *source = "[Dictionary]\nScript=devanagari\nC4=कप\n"
                               "[Vocal Characters]\nSimple=िी ुू शषस\n";
constexpr const char *words = "कील\nकल\nकिला\nकोल\nक्षमा\nकमल\nपुर\nपूर\nपर\nकलश\nकालर\nकाम\n";

class SuggestionRanking : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(d_.Load(buildDictionary(folder_, "hi", source, words), ""));
    }
    std::vector<std::string> suggest(std::u16string_view w) {
        std::vector<std::u16string> out;
        d_.GetSuggestions(out, w);
        return utf8List(out);
    }
    TempFolder folder_;
    CDictionary d_;
};

TEST_F(SuggestionRanking, ClosenessCountsTypicalSlipsAsHalfAnEdit) {
    const struct {
        const char16_t *typed, *word;
        int halves;
        const char *why;
    } cases[] = {
        {u"कमल", u"कमल", 0, "the same word"},
        {u"किल", u"कील", 1, "short vowel sign for its long partner"},
        {u"पूर", u"पुर", 1, "long vowel sign for its short partner"},
        {u"साम", u"शाम", 1, "confusable consonant"},
        {u"कषमा", u"क्षमा", 1, "virama left out"},
        {u"क्षमा", u"कषमा", 1, "virama put in"},
        {u"कलम", u"क\u093Cलम", 1, "nukta put in"},
        {u"कल्ि", u"कलि", 2, "a virama before a vowel sign: a letter is missing, not a slip"},
        {u"कि्ल", u"किल", 2, "a virama after a vowel sign: typed early, or a letter missing"},
        {u"क््ल", u"क्ल", 2, "a second virama: as likely a letter missing between the two"},
        {u"क्ंम", u"कंम", 2, "a virama before a nasal sign: a letter is missing"},
        {u"किल", u"कुल", 2, "vowel signs that are not partners"},
        {u"कसम", u"कलम", 2, "consonants that are not partners"},
        {u"कलम", u"कमल", 2, "two neighbours swapped"},
        {u"कलम", u"कलाम", 2, "a vowel sign left out"},
        {u"कलाम", u"कलम", 2, "a vowel sign too many"},
        {u"कीलम", u"किल", 3, "partner and a letter too many"},
        {u"अब", u"कमल", 6, "nothing in common but the length"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.why));
        EXPECT_EQ(d_.closeness(c.typed, c.word), c.halves);
    }
}

TEST_F(SuggestionRanking, ClosestFirstThenLikelierSlipThenSharedHead) {
    const struct {
        const char16_t *typed;
        std::vector<std::string> expected;
        const char *why;
    } cases[] = {
        {u"किल",
         {"कील", "किला", "कमल", "कोल", "कल"},
         "partner first; of the full edits the longer, then the one sharing more head, then "
         "the generators' order; the shorter last"},
        {u"कषमा", {"क्षमा"}, "a virama left out"},
        {u"कलम",
         {"कमल", "कलश", "काम", "कल"},
         "two letters swapped before a letter typed for another"},
        {u"कलर", {"कालर", "कलश", "कल"}, "a letter left out before one typed for another"},
        {u"कम", {"कमल", "काम", "कल"}, "two letters: the words they begin and those an edit away"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.why));
        EXPECT_EQ(suggest(c.typed), c.expected);
    }
}

TEST_F(SuggestionRanking, TheSwitchKeepsTheGeneratorsOwnList) {
    d_.setSingleEdits(false);
    // Only the vowel-variant generator finds a word here, in its own order.
    EXPECT_EQ(suggest(u"पूल"), (std::vector<std::string>{}));
    EXPECT_EQ(suggest(u"किल"), (std::vector<std::string>{"कील"}));
    d_.setSingleEdits(true);
    EXPECT_EQ(suggest(u"पूल").front(), "पूर");
}

} // namespace
} // namespace tarvellite

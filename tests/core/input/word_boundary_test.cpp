// Word boundaries over Latin and Indic text: what Ctrl+Left and Ctrl+Right pass, and the word
// the look-ahead takes before the caret.

#include "core/input/word_boundary.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvellite {
namespace {

enum class Move { Left, Right, End };

// `marked` holds the text with '|' where the search starts and '^' where it must stop (both
// taken out before the search; when they coincide only '|' is written).
struct BoundaryCase {
    const char *name;
    Move move;
    std::u16string marked;
};

std::ostream &operator<<(std::ostream &os, const BoundaryCase &c) {
    return os << c.name;
}

struct Unmarked {
    std::u16string text;
    std::size_t start = 0;
    std::size_t expected = 0;
};

Unmarked unmark(const std::u16string &marked) {
    Unmarked u;
    bool sawExpected = false;
    for (char16_t c : marked) {
        if (c == u'|')
            u.start = u.text.size();
        else if (c == u'^') {
            u.expected = u.text.size();
            sawExpected = true;
        } else
            u.text.push_back(c);
    }
    if (!sawExpected)
        u.expected = u.start;
    return u;
}

const BoundaryCase cases[] = {
    // Word-left from the caret: the word being typed.
    {"left_latin_word_at_end", Move::Left, u"one ^two|"},
    {"left_inside_word", Move::Left, u"^thr|ee"},
    {"left_skips_spaces_first", Move::Left, u"one ^two   |"},
    {"left_skips_tab_and_newline", Move::Left, u"^one\t\n|"},
    {"left_at_start", Move::Left, u"|abc"},
    {"left_past_end_counts_as_end", Move::Left, u"^ab"},
    {"left_digits_belong", Move::Left, u"x ^abc123|"},
    {"left_punctuation_is_its_own_run", Move::Left, u"abc^,;|"},
    {"left_stops_at_punctuation", Move::Left, u"(^word|"},
    {"left_apostrophe_inside_word", Move::Left, u"^don't|"},
    {"left_trailing_apostrophe_is_punctuation", Move::Left, u"don^'|"},
    {"left_leading_quote_not_part", Move::Left, u"'^tam|"},
    {"left_latin1_letters", Move::Left, u"x ^\u00e9t\u00e9|"},
    // Tamil: vowel signs and the virama (pulli) stay in the word.
    {"left_tamil_word", Move::Left, u"\u0b85 ^\u0ba4\u0bae\u0bbf\u0bb4\u0bcd|"},
    {"left_tamil_ends_in_pulli", Move::Left, u"^\u0ba4\u0bae\u0bbf\u0bb4\u0bcd|"},
    {"left_tamil_after_full_stop", Move::Left, u"\u0b85.^\u0bae\u0bbe|"},
    // Devanagari: nukta, anusvara, candrabindu, conjuncts; the danda ends a word.
    {"left_hindi_conjunct", Move::Left, u"\u0939\u0948 ^\u0915\u094d\u0937\u093e|"},
    {"left_hindi_anusvara", Move::Left, u"^\u0939\u093f\u0902\u0926\u0940|"},
    {"left_hindi_nukta", Move::Left, u"^\u095c\u093c\u0915|"},
    {"left_hindi_danda_is_punctuation", Move::Left, u"\u0915^\u0964|"},
    {"left_hindi_word_before_danda", Move::Left, u"^\u0915\u092c|\u0964"},
    // Joiners hold a word together (Sinhala yansaya, Malayalam chillu sequences).
    {"left_sinhala_zwj", Move::Left, u"^\u0d9a\u0dca\u200d\u0dba|"},
    {"left_malayalam_zwnj", Move::Left, u"^\u0d28\u0d4d\u200c|"},
    {"left_kannada_telugu", Move::Left,
     u"\u0c95\u0ca8\u0ccd\u0ca8\u0ca1 ^\u0c24\u0c46\u0c32\u0c41|"},
    // A supplementary character is never split.
    {"left_surrogate_pair", Move::Left, u"a ^b\U00011FC0|"},
    {"left_nbsp_is_space", Move::Left, u"^ab\u00a0|"},

    // Word-right: past the run, then past the spaces after it.
    {"right_word_and_space", Move::Right, u"|one ^two"},
    {"right_from_inside", Move::Right, u"o|ne  ^two"},
    {"right_from_spaces", Move::Right, u"one| ^two"},
    {"right_punctuation_run", Move::Right, u"|,, ^x"},
    {"right_word_then_punctuation", Move::Right, u"|ab^, c"},
    {"right_apostrophe_word", Move::Right, u"|don't ^x"},
    {"right_tamil", Move::Right, u"|\u0ba4\u0bae\u0bbf\u0bb4\u0bcd ^\u0bae\u0bca"},
    {"right_hindi_danda", Move::Right, u"|\u0915\u092c^\u0964 "},
    {"right_at_end", Move::Right, u"ab|"},
    {"right_paragraph_separator", Move::Right, u"|ab\u2029^cd"},

    // Word end: spaces skipped first, then one run.
    {"end_from_space", Move::End, u"a| bc^ d"},
    {"end_tamil", Move::End, u"|\u0ba4\u0bae\u0bbf\u0bb4\u0bcd^ x"},
    {"end_only_spaces", Move::End, u"a|  ^"},
};

class WordBoundaryTest : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(WordBoundaryTest, StopsWhereTheControlWould) {
    const BoundaryCase &c = GetParam();
    Unmarked u = unmark(c.marked);
    std::size_t start = u.start;
    // A case without '|' starts past the end.
    if (c.marked.find(u'|') == std::u16string::npos)
        start = u.text.size() + 5;
    std::size_t got = 0;
    switch (c.move) {
    case Move::Left: got = wordLeft(u.text, start); break;
    case Move::Right: got = wordRight(u.text, start); break;
    case Move::End: got = wordEnd(u.text, start); break;
    }
    EXPECT_EQ(got, u.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WordBoundaryTest, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(WordBoundary, StepsThroughAMixedLineWordByWord) {
    const std::u16string text = u"Tamil \u0ba4\u0bae\u0bbf\u0bb4\u0bcd, \u0915\u094d\u0937 don't!";
    std::vector<std::u16string> words;
    for (std::size_t p = 0; p < text.size(); p = wordRight(text, p)) {
        const std::size_t end = wordEnd(text, p);
        if (isWordUnitAt(text, p))
            words.push_back(text.substr(p, end - p));
    }
    const std::vector<std::u16string> expected = {u"Tamil", u"\u0ba4\u0bae\u0bbf\u0bb4\u0bcd",
                                                  u"\u0915\u094d\u0937", u"don't"};
    EXPECT_EQ(words, expected);
    // And back again from the end lands on every word start.
    std::size_t p = text.size();
    std::vector<std::size_t> starts;
    while (p > 0) {
        p = wordLeft(text, p);
        starts.push_back(p);
    }
    const std::vector<std::size_t> expectedStarts = {22, 17, 13, 11, 6, 0};
    EXPECT_EQ(starts, expectedStarts);
}

TEST(WordBoundary, EveryIndicMarkAndLetterIsAWordUnit) {
    // Devanagari through Sinhala: all letters, signs and digits are word units; only the
    // listed punctuation and symbols are not.
    for (char16_t u = 0x0900; u <= 0x0DFF; ++u) {
        const bool punctuation = u == 0x0964 || u == 0x0965 || u == 0x0970 ||
                                 (u >= 0x09F2 && u <= 0x09FB) || u == 0x0AF0 || u == 0x0AF1 ||
                                 u == 0x0B70 || (u >= 0x0BF3 && u <= 0x0BFA) || u == 0x0C7F ||
                                 u == 0x0D4F || u == 0x0D79 || u == 0x0DF4;
        SCOPED_TRACE(static_cast<int>(u));
        EXPECT_EQ(wordClassOf(u), punctuation ? WordClass::Punctuation : WordClass::Word);
    }
    EXPECT_EQ(wordClassOf(0x200C), WordClass::Word);
    EXPECT_EQ(wordClassOf(0x200D), WordClass::Word);
    EXPECT_EQ(wordClassOf(0x200B), WordClass::Space);
    EXPECT_EQ(wordClassOf(0x2029), WordClass::Space);
    EXPECT_EQ(wordClassOf(0x2014), WordClass::Punctuation);
    EXPECT_EQ(wordClassOf(0xFFFC), WordClass::Punctuation); // an embedded picture
}

} // namespace
} // namespace tarvellite

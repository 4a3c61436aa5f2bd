#include "core/app/unicode.h"
#include "core/legacy/legacy_converter.h"
#include "core/legacy/legacy_words.h"

#include <gtest/gtest.h>

namespace tarvellite {
namespace {

struct WordsCase {
    const char *name;
    const char *bytes;
    const char16_t *expected;
    std::size_t words;
};

std::ostream &operator<<(std::ostream &os, const WordsCase &c) {
    return os << c.name;
}

const WordsCase wordsCases[] = {
    {"Empty", "", u"", 0},
    {"OneWord", "\xAA\xE8\xA3", u"கொ", 1},
    {"SpaceSeparatesWords", "\xAA\xE8\xA3 \xAC\xF4", u"கொ லை", 2},
    // A prefix sign never jumps over the space that ends its word.
    {"SignBeforeSpaceStays", "\xAA \xE8", u"\u0BC6 க", 2},
    {"ControlBytesPassThrough", "\r\n\t\xE8\x01\xF4\x20", u"\r\n\tக\u0001ல ", 2},
    {"OnlyBreaks", "  \r\n", u"  \r\n", 0},
    {"NbspBelongsToTheWord", "\xE8\xA0\xF4", u"க\u00A0ல", 1},
    {"DigitsAreAWord", "1995 \xE8", u"1995 க", 2},
};

class Words : public testing::TestWithParam<WordsCase> {};

TEST_P(Words, ConvertsEachWordOnItsOwn) {
    const WordsCase &c = GetParam();
    std::u16string out;
    EXPECT_EQ(appendLegacyWords(c.bytes, false, out), c.words);
    EXPECT_EQ(hexUnits(out), hexUnits(c.expected));
    // The same text as the characters of a document.
    out.clear();
    EXPECT_EQ(appendLegacyWords(std::u16string_view(cp1252ToUtf16(c.bytes)), false, out), c.words);
    EXPECT_EQ(hexUnits(out), hexUnits(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Legacy, Words, testing::ValuesIn(wordsCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Words, TabKeepsAsciiAndConvertsTamilGlyphs) {
    EXPECT_EQ(convertLegacyWords("Tamil \xAA\xE8\xA3!", true), u"Tamil கொ!");
    EXPECT_EQ(hexUnits(convertLegacyWords("Tamil", false)),
              "0B9C 0BBF 0BA3 0BC0 0BA9 0BC0 0BB5 0BC0 0BB1 0BC0"); // ஜிணீனீவீறீ
}

struct PieceCase {
    const char *name;
    std::size_t runLength;
    char fill;
    std::vector<std::size_t> signAt; // positions of ெ (0xAA) in the run
    std::size_t expected;
};

std::ostream &operator<<(std::ostream &os, const PieceCase &c) {
    return os << c.name;
}

const PieceCase pieceCases[] = {
    {"ShortRunWhole", 10, '\xE8', {}, 10},
    {"ExactlyTheLimitWhole", 254, '\xE8', {253}, 254},
    {"LongRunCutAtLimit", 600, '\xE8', {}, 254},
    {"SignLastBeforeCut", 600, '\xE8', {253}, 253},
    {"SignThirdToLastBeforeCut", 600, '\xE8', {251}, 251},
    {"SignOutsideTheReach", 600, '\xE8', {250}, 254},
    {"SignsChainBack", 600, '\xE8', {247, 250, 252}, 247},
    {"FirstOfTwoSignsInReach", 600, '\xE8', {251, 253}, 251},
    {"AllSignsKeepsTheLimit", 600, '\xAA', {}, 254},
};

class Pieces : public testing::TestWithParam<PieceCase> {};

TEST_P(Pieces, CutsOutsideAPrefixSignsReach) {
    const PieceCase &c = GetParam();
    std::string run(c.runLength, c.fill);
    for (std::size_t at : c.signAt)
        run[at] = '\xAA';
    EXPECT_EQ(legacyPieceLength(run), c.expected);
    EXPECT_EQ(legacyPieceLength(std::u16string_view(cp1252ToUtf16(run))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Legacy, Pieces, testing::ValuesIn(pieceCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A long run converts piece by piece into the same text as one call would give, as long as no
// cut falls inside a prefix sign's reach.
TEST(Words, LongRunsConvertInPiecesWithoutBreakingSyllables) {
    for (std::size_t lead : {250u, 251u, 252u, 253u, 254u, 500u, 505u}) {
        SCOPED_TRACE("lead " + std::to_string(lead));
        std::string run(lead, '\xE8');
        run += "\xAA\xE8\xF7\xF3"; // கௌர
        run += std::string(300, '\xF4');
        std::u16string whole;
        appendLegacyBytes(run, false, whole);
        std::u16string walked;
        EXPECT_EQ(appendLegacyWords(run + " " + run, false, walked), 2u);
        EXPECT_EQ(walked, whole + u" " + whole);
        EXPECT_NE(walked.find(u"க\u0BCCர"), std::u16string::npos);
    }
}

TEST(Words, RunOfSignsIsCutAtTheLimit) {
    const std::string run(600, '\xAC');
    std::u16string expected;
    for (std::size_t piece : {254u, 254u, 92u}) {
        std::u16string part;
        appendLegacyBytes(std::string(piece, '\xAC'), false, part);
        expected += part;
    }
    EXPECT_EQ(convertLegacyWords(run, false), expected);
    EXPECT_EQ(expected.size(), 600u);
}

} // namespace
} // namespace tarvellite

namespace tarvellite {
namespace {

// Chunk boundaries anywhere, inside words and inside long runs, change nothing.
TEST(LegacyWordStream, ChunksGiveTheSameTextAsTheWhole) {
    std::string text = "\xAA\xE8\xA3 \xAC\xF4\r\n";
    std::string longRun(600, '\xE8');
    longRun[251] = '\xAA';
    longRun[507] = '\xAB';
    text += longRun + " \xAA\xE8\xF7\xF3\t" + std::string(254, '\xF4') + " \xAA";
    for (bool isTab : {false, true}) {
        const std::u16string whole = convertLegacyWords(text, isTab);
        for (std::size_t chunk : {1u, 2u, 3u, 7u, 100u, 253u, 254u, 255u, 1000u}) {
            SCOPED_TRACE("chunk " + std::to_string(chunk) + (isTab ? " TAB" : " TAM"));
            LegacyWordStream stream(isTab);
            std::u16string out;
            for (std::size_t at = 0; at < text.size(); at += chunk)
                stream.feed(std::string_view(text).substr(at, chunk), out);
            stream.finish(out);
            EXPECT_EQ(out, whole);
        }
    }
}

TEST(LegacyWordStream, FinishesAnEmptyStream) {
    LegacyWordStream stream(false);
    std::u16string out;
    stream.feed("", out);
    stream.finish(out);
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace tarvellite

namespace tarvellite {
namespace {

// Characters that stand for no legacy byte end the word and are kept, never turned into '?'.
TEST(Words, DocumentTextKeepsCharactersWithoutBytes) {
    EXPECT_EQ(convertLegacyWords(u"\u00AA\u00E8\u2028\u00E8\u0B95\u00AC\u00F4\uFFFC", false),
              u"க\u0BC6\u2028க\u0B95லை\uFFFC");
    // Symbol-font characters stand for their low byte, a space among them too.
    EXPECT_EQ(convertLegacyWords(u"\uF0AA\uF0E8\uF020\uF0F4", false), u"க\u0BC6 ல");
    // Windows-1252 characters are bytes, and so word characters.
    EXPECT_EQ(convertLegacyWords(u"\u00AA\u0160", false), u"ப\u0BC6\u0BCD");
}

} // namespace
} // namespace tarvellite

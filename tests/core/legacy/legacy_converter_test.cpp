#include "core/app/unicode.h"
#include "core/legacy/legacy_converter.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace tarvellite {
namespace {

// "AA E8 A3" -> the bytes.
std::string bytesOf(std::string_view hex) {
    std::string out;
    std::istringstream in{std::string(hex)};
    std::string token;
    while (in >> token)
        out.push_back(static_cast<char>(std::stoi(token, nullptr, 16)));
    return out;
}

std::string convertHex(std::string_view bytes, bool isTab) {
    std::u16string out;
    appendLegacyBytes(bytes, isTab, out);
    return hexUnits(out);
}

struct ConversionCase {
    const char *name;
    bool isTab;
    const char *bytes;
    const char *expected; // hex units
};

std::ostream &operator<<(std::ostream &os, const ConversionCase &c) {
    return os << c.name << " | " << (c.isTab ? "TAB" : "TAM") << " | " << c.bytes << " | "
              << c.expected;
}

constexpr bool Tam = false;
constexpr bool Tab = true;

const ConversionCase conversionCases[] = {
    // A malformed sequence: ெ is followed by the two units of கி, so only க moves before it.
    {"SignBeforeTwoUnitGlyph", Tam, "AA 41 A3", "0B95 0BC6 0BBF 0BBE"},
    {"KoFromSignEAndAa", Tam, "AA E8 A3", "0B95 0BCA"},                // கொ
    {"KooFromSignEeAndAa", Tam, "AB E8 A3", "0B95 0BCB"},              // கோ
    {"KauraLlaBeforeConsonant", Tam, "AA E8 F7 F3", "0B95 0BCC 0BB0"}, // கௌர
    // ே never takes the length mark: the ள is a letter ("மேளம்", not "மௌம்").
    {"EeKeepsLlaBeforeConsonant", Tam, "AB F1 F7 8B", "0BAE 0BC7 0BB3 0BAE 0BCD"}, // மேளம்
    {"EeKeepsLlaBeforeRa", Tam, "AB E8 F7 F3", "0B95 0BC7 0BB3 0BB0"},             // கேளர
    {"KelPulliAfterLla", Tam, "AA E8 F7 A2", "0B95 0BC6 0BB3 0BCD"},               // கெள்
    {"KelLlaLastStaysLetter", Tam, "AA E8 F7", "0B95 0BC6 0BB3"},                  // கெள
    {"LaiSignAiMovesAfter", Tam, "AC F4", "0BB2 0BC8"},                            // லை
    {"SignAiMovesOneUnitOnly", Tam, "AC 41", "0B95 0BC8 0BBF"},
    {"SignELastStaysLast", Tam, "E8 AA", "0B95 0BC6"},
    {"SignAiLastStaysLast", Tam, "E8 AC", "0B95 0BC8"},
    {"SignEeAloneStays", Tam, "AB", "0BC7"},
    {"SignESecondToLastSwaps", Tam, "E8 AA F4", "0B95 0BB2 0BC6"},
    {"SignAiSecondToLastSwaps", Tam, "E8 AC F4", "0B95 0BB2 0BC8"},
    {"SignEFirstOfTwoSwaps", Tam, "AA F4", "0BB2 0BC6"},
    {"SignEBeforeConjunctMovesFirstUnit", Tam, "AA FE", "0B95 0BC6 0BCD 0BB7"},
    {"Tam56IsKssi", Tam, "56", "0B95 0BCD 0BB7 0BBF"}, // க்ஷி
    {"Tab56Unchanged", Tab, "56", "0056"},
    {"Tam72IsKssii", Tam, "72", "0B95 0BCD 0BB7 0BC0"},
    {"Tab72Unchanged", Tab, "72", "0072"},
    {"Tam7AIsKssPulli", Tam, "7A", "0B95 0BCD 0BB7 0BCD"},
    {"Tab7AUnchanged", Tab, "7A", "007A"},
    {"TabFEIsKss", Tab, "FE", "0B95 0BCD 0BB7"},      // க்ஷ
    {"TabFFIsSri", Tab, "FF", "0BB8 0BCD 0BB0 0BC0"}, // ஸ்ரீ
    {"Tam41IsKi", Tam, "41", "0B95 0BBF"},
    {"Tab41Unchanged", Tab, "41", "0041"},
    {"TabAsciiWord", Tab, "54 61 6D 69 6C", "0054 0061 006D 0069 006C"},
    {"Tam8DIsNothing", Tam, "8D", ""},
    {"Tam8DInsideWordDropsOut", Tam, "E8 8D F4", "0B95 0BB2"},
    {"Tab8DPassesThrough", Tab, "8D", "008D"},
    {"TamPassThroughBytes", Tam, "20 30 35 39 A0", "0020 0030 0035 0039 00A0"},
    {"TabPassThroughBytes", Tab, "20 30 35 39 A0", "0020 0030 0035 0039 00A0"},
    {"TamControlBytesPassThrough", Tam, "00 09 0D 0A 40", "0000 0009 000D 000A 0040"},
    {"TabHighGlyphsAsTam", Tab, "AA E8 A3", "0B95 0BCA"},
    {"TamEmpty", Tam, "", ""},
    {"TabEmpty", Tab, "", ""},
};

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, GivesTheExpectedUnits) {
    const ConversionCase &c = GetParam();
    const std::string bytes = bytesOf(c.bytes);
    EXPECT_EQ(convertHex(bytes, c.isTab), c.expected);

    // The same word as the characters a document shows for it.
    std::u16string out = u"stale";
    const std::int32_t length = ConvertLegacyText(cp1252ToUtf16(bytes), c.isTab, out);
    EXPECT_EQ(hexUnits(out), c.expected);
    EXPECT_EQ(length, static_cast<std::int32_t>(out.size()));
}

INSTANTIATE_TEST_SUITE_P(Legacy, Conversion, testing::ValuesIn(conversionCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Every byte on its own, in both encodings, against the documented glyph tables.
TEST(ConversionTables, EveryByteMatchesItsGlyph) {
    std::ifstream in(TARVELLITE_SOURCE_DIR "/tests/data/legacy/glyphs.tsv");
    ASSERT_TRUE(in) << "missing tests/data/legacy/glyphs.tsv";
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string byteHex, tamHex, tabHex;
        std::getline(fields, byteHex, '\t');
        std::getline(fields, tamHex, '\t');
        std::getline(fields, tabHex, '\t');
        const int byte = std::stoi(byteHex, nullptr, 16);
        ASSERT_EQ(byte, rows);
        SCOPED_TRACE("byte " + byteHex);
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(convertHex(one, Tam), tamHex == "-" ? "" : tamHex);
        EXPECT_EQ(convertHex(one, Tab), tabHex == "-" ? "" : tabHex);

        // As the Windows-1252 character and as the raw byte value.
        std::u16string out;
        ConvertLegacyText(std::u16string(1, cp1252ToUnit(static_cast<unsigned char>(byte))), Tam,
                          out);
        EXPECT_EQ(hexUnits(out), tamHex == "-" ? "" : tamHex);
        ConvertLegacyText(std::u16string(1, static_cast<char16_t>(byte)), Tab, out);
        EXPECT_EQ(hexUnits(out), tabHex == "-" ? "" : tabHex);
        ++rows;
    }
    EXPECT_EQ(rows, 256);
}

TEST(LegacyByteOf, ReadsWindows1252AndRawBytes) {
    EXPECT_EQ(legacyByteOf(u'A'), 0x41);
    EXPECT_EQ(legacyByteOf(u'\u20AC'), 0x80); // €
    EXPECT_EQ(legacyByteOf(u'\u2018'), 0x91); // ‘
    EXPECT_EQ(legacyByteOf(u'\u0160'), 0x8A); // Š
    EXPECT_EQ(legacyByteOf(u'\u0178'), 0x9F); // Ÿ
    EXPECT_EQ(legacyByteOf(u'\u0080'), 0x80);
    EXPECT_EQ(legacyByteOf(u'\u008D'), 0x8D);
    EXPECT_EQ(legacyByteOf(u'\u00FF'), 0xFF);
    EXPECT_EQ(legacyByteOf(u'\uF0AA'), 0xAA); // a symbol font's character
    EXPECT_EQ(legacyByteOf(u'\uF041'), 0x41);
    // Characters with no byte read as the default character.
    EXPECT_EQ(legacyByteOf(u'\u0B95'), '?');
    EXPECT_EQ(legacyByteOf(u'\uFFFD'), '?');
    std::u16string out;
    ConvertLegacyText(u"\u0B95", Tab, out);
    EXPECT_EQ(out, u"?");
}

// The converter itself takes any length; cutting long runs is the word walker's business.
TEST(ConvertLegacyText, ConvertsInputsLongerThanAWordWhole) {
    std::string bytes;
    std::string expected;
    for (int i = 0; i < 400; ++i) {
        bytes += "\xAA\xE8\xA3"; // கொ
        expected += i ? " 0B95 0BCA" : "0B95 0BCA";
    }
    EXPECT_EQ(convertHex(bytes, Tam), expected);
}

TEST(ConvertLegacyText, AppendsAfterExistingText) {
    std::u16string out = u"x";
    EXPECT_EQ(appendLegacyBytes("\xAC\xF4", Tam, out), 2u);
    EXPECT_EQ(out, u"x\u0BB2\u0BC8");
    EXPECT_EQ(appendLegacyText(u"\u00AA\u00E8\u00A3", Tab, out), 2u);
    EXPECT_EQ(out, u"x\u0BB2\u0BC8\u0B95\u0BCA");
}

} // namespace
} // namespace tarvellite

namespace tarvellite {
namespace {

TEST(LegacyByteOf, EveryWindows1252CharacterGivesItsByteBack) {
    for (int b = 0; b < 256; ++b) {
        unsigned char byte = 0;
        EXPECT_TRUE(legacyByteOfUnit(cp1252ToUnit(static_cast<unsigned char>(b)), byte)) << b;
        EXPECT_EQ(byte, b);
    }
    unsigned char byte = 0;
    EXPECT_FALSE(legacyByteOfUnit(u'\u2028', byte));
    EXPECT_FALSE(legacyByteOfUnit(u'\u0100', byte));
    EXPECT_FALSE(legacyByteOfUnit(u'\u2000', byte));
    EXPECT_FALSE(legacyByteOfUnit(u'\uFFFC', byte));
    EXPECT_FALSE(legacyByteOfUnit(u'\uF100', byte));
    EXPECT_FALSE(legacyByteOfUnit(u'\uEFFF', byte));
}

} // namespace
} // namespace tarvellite

#include "core/app/unicode.h"
#include "core/legacy/legacy_runs.h"

#include <gtest/gtest.h>
#include <set>

namespace tarvellite {
namespace {

FontInstalledFn installed(std::set<std::u16string> faces) {
    return [faces = std::move(faces)](std::u16string_view f) {
        return faces.count(std::u16string(f)) != 0;
    };
}

struct TargetCase {
    const char *name;
    const char16_t *legacyFace;
    std::set<std::u16string> installedFaces;
    const char16_t *defaultFont;
    const char16_t *expected;
};

std::ostream &operator<<(std::ostream &os, const TargetCase &c) {
    return os << c.name;
}

const TargetCase targetCases[] = {
    {"TwinInstalled", u"TAMLatha", {u"Latha"}, u"Vijaya", u"Latha"},
    {"TwinMissingGivesDefault", u"TAMXYZ", {u"Latha"}, u"Vijaya", u"Vijaya"},
    {"TabPrefixLowerCase", u"tabXYZ", {u"XYZ"}, u"Vijaya", u"XYZ"},
    {"NameMustMatchExactly", u"TAMLatha", {u"Latha Bold"}, u"Vijaya", u"Vijaya"},
    {"TwinCutTo16",
     u"TAMAbcdefghijklmnopqr",
     {u"Abcdefghijklmnop"},
     u"Vijaya",
     u"Abcdefghijklmnop"},
    {"DefaultCutTo16", u"TAMXYZ", {}, u"A Very Long Unicode Font", u"A Very Long Unic"},
    {"OnlyThePrefixGivesDefault", u"TAM", {u""}, u"Vijaya", u"Vijaya"},
    {"EmptyDefaultKeepsTheTwinName", u"TAMXYZ", {}, u"", u"XYZ"},
    {"EmptyDefaultAndNoTwinKeepsTheFace", u"TAB", {}, u"", u"TAB"},
};

class TargetFont : public testing::TestWithParam<TargetCase> {};

TEST_P(TargetFont, FollowsTheInstalledFonts) {
    const TargetCase &c = GetParam();
    EXPECT_EQ(
        utf16ToUtf8(legacyTargetFont(c.legacyFace, c.defaultFont, installed(c.installedFaces))),
        utf16ToUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Legacy, TargetFont, testing::ValuesIn(targetCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TargetFont, WithoutAFontListEveryTwinIsMissing) {
    EXPECT_EQ(legacyTargetFont(u"TAMLatha", u"Vijaya", nullptr), u"Vijaya");
}

TEST(LegacyOnOpen, FollowsThePreference) {
    EXPECT_EQ(legacyOnOpenAction(0), LegacyOnOpen::Ask);
    EXPECT_EQ(legacyOnOpenAction(1), LegacyOnOpen::Convert);
    EXPECT_EQ(legacyOnOpenAction(2), LegacyOnOpen::Leave);
    EXPECT_EQ(legacyOnOpenAction(3), LegacyOnOpen::Ask);
    EXPECT_EQ(legacyOnOpenAction(-1), LegacyOnOpen::Ask);
}

CharFormat face(std::u16string name, bool bold = false) {
    CharFormat f;
    f.faceName = std::move(name);
    f.bold = bold;
    f.charset = 2;
    return f;
}

Run run(CharFormat format, std::u16string text) {
    return Run{std::move(format), std::move(text), -1};
}

class ConvertRuns : public testing::Test {
  protected:
    int convert(RichDocument &doc) {
        LegacyConversionOptions options;
        options.defaultUnicodeFont = u"Vijaya";
        options.isFontInstalled = installed({u"Latha"});
        options.progress = [this](std::size_t done, std::size_t total) {
            lastDone = done;
            lastTotal = total;
            ++progressCalls;
        };
        return ConvertLegacyRuns(doc, options);
    }
    std::size_t lastDone = 0, lastTotal = 0;
    int progressCalls = 0;
};

TEST_F(ConvertRuns, ConvertsOnlyLegacyRunsAndGivesThemTheirTwinFont) {
    RichDocument doc;
    doc.paragraphs[0].runs = {run(face(u"Arial"), u"Hello \u00AA\u00E8\u00A3 "),
                              run(face(u"TAMLatha"), u"\u00AA\u00E8\u00A3 \u00AC\u00F4"),
                              run(face(u"Arial"), u" end")};
    doc.paragraphs.push_back(Paragraph{{}, {run(face(u"TABXYZ"), u"Tamil \u00AA\u00E8\u00A3!")}});
    EXPECT_EQ(convert(doc), 4);

    const auto &p0 = doc.paragraphs[0].runs;
    ASSERT_EQ(p0.size(), 3u);
    EXPECT_EQ(p0[0].text, u"Hello \u00AA\u00E8\u00A3 ");
    EXPECT_EQ(p0[0].format, face(u"Arial"));
    EXPECT_EQ(p0[1].text, u"கொ லை");
    EXPECT_EQ(p0[1].format.faceName, u"Latha");
    EXPECT_EQ(p0[1].format.charset, 0);
    EXPECT_EQ(p0[2].format, face(u"Arial"));
    const auto &p1 = doc.paragraphs[1].runs;
    ASSERT_EQ(p1.size(), 1u);
    EXPECT_EQ(p1[0].text, u"Tamil கொ!");
    EXPECT_EQ(p1[0].format.faceName, u"Vijaya");

    EXPECT_EQ(lastDone, lastTotal);
    EXPECT_EQ(lastTotal, 6u + 10u);
    EXPECT_EQ(progressCalls, 2);
}

// The RTF reader hands over the Windows-1252 characters of the legacy bytes.
TEST_F(ConvertRuns, ReadsWindows1252CharactersAsTheirBytes) {
    RichDocument doc;
    doc.paragraphs[0].runs = {run(face(u"TAM Font"), u"\u0160\u2018\u008D\u00E8")};
    EXPECT_EQ(convert(doc), 1);
    EXPECT_EQ(hexUnits(doc.paragraphs[0].runs[0].text), "0BAA 0BCD 2018 0B95");
}

TEST_F(ConvertRuns, AWordAcrossRunsIsConvertedWholeInTheRunWhereItStarts) {
    RichDocument doc;
    doc.paragraphs[0].runs = {
        run(face(u"TAMLatha", true), u"\u00E8 \u00AA"), run(face(u"TAMLatha"), u"\u00E8"),
        run(face(u"TAMLatha", true), u"\u00A3 \u00AC"), run(face(u"TAMLatha"), u"\u00F4")};
    EXPECT_EQ(convert(doc), 3);
    // The plain runs held only the middles of words, so nothing is left of them.
    const auto &runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, u"க கொ லை");
    EXPECT_TRUE(runs[0].format.bold);
}

TEST_F(ConvertRuns, WordsEndAtRunsOfOtherFontsLineBreaksAndParagraphs) {
    RichDocument doc;
    doc.paragraphs[0].runs = {run(face(u"TAMLatha"), u"\u00AA"), run(face(u"Arial"), u"\u00E8"),
                              run(face(u"TAMLatha"), u"\u00AA\u2028\u00E8\u0B95\u00AC")};
    doc.paragraphs.push_back(Paragraph{{}, {run(face(u"TAMLatha"), u"\u00F4")}});
    EXPECT_EQ(convert(doc), 5);
    const auto &runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, u"\u0BC6");
    EXPECT_EQ(runs[1].text, u"\u00E8");
    EXPECT_EQ(runs[2].text, u"\u0BC6\u2028க\u0B95\u0BC8");
    EXPECT_EQ(doc.paragraphs[1].runs[0].text, u"ல");
}

TEST_F(ConvertRuns, PicturesAndOtherFontsStayAsTheyAre) {
    RichDocument doc;
    doc.pictures.push_back(Picture{});
    tarvellite::Run picture = run(face(u"TAMLatha"), u"\uFFFC");
    picture.pictureIndex = 0;
    doc.paragraphs[0].runs = {run(face(u"Latha"), u"\u00E8"), picture, run(face(u"TAMIL"), u"x")};
    const RichDocument before = doc;
    // "TAMIL" is a legacy face by its first three letters.
    EXPECT_EQ(convert(doc), 1);
    EXPECT_EQ(doc.paragraphs[0].runs[0], before.paragraphs[0].runs[0]);
    EXPECT_EQ(doc.paragraphs[0].runs[1], before.paragraphs[0].runs[1]);
    EXPECT_EQ(doc.paragraphs[0].runs[2].text, u"ஜ்"); // 'x' in TAM
}

TEST_F(ConvertRuns, ADocumentWithoutLegacyFontsIsUntouched) {
    RichDocument doc;
    doc.paragraphs[0].runs = {run(face(u"Arial"), u"\u00AA\u00E8\u00A3")};
    const RichDocument before = doc;
    EXPECT_EQ(convert(doc), 0);
    EXPECT_EQ(doc, before);
    EXPECT_EQ(progressCalls, 0);
}

TEST_F(ConvertRuns, RunsThatEndAlikeAreMerged) {
    RichDocument doc;
    doc.paragraphs[0].runs = {run(face(u"TAMOne"), u"\u00E8 "), run(face(u"TABTwo"), u"\u00F4")};
    EXPECT_EQ(convert(doc), 2);
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(doc.paragraphs[0].runs[0].text, u"க ல");
    EXPECT_EQ(doc.paragraphs[0].runs[0].format.faceName, u"Vijaya");
}

} // namespace
} // namespace tarvellite

// Opening an RTF file with TAM and TAB fonts: the scan finds them, the conversion turns the
// text into Unicode Tamil in Unicode fonts, and the saved result no longer names them.

#include "core/app/file_io.h"
#include "core/document/document_io.h"
#include "core/legacy/legacy_runs.h"

#include <gtest/gtest.h>

namespace tarvellite {
namespace {

constexpr const char *samplePath = TARVELLITE_SOURCE_DIR "/tests/data/legacy/tam-tab-fonts.rtf";

LoadedDocument load(const std::string &name, const Bytes &bytes) {
    Result<LoadedDocument> loaded = LoadDocumentBody(name, bytes);
    EXPECT_TRUE(loaded) << (loaded ? "" : loaded.error().describe());
    return loaded ? std::move(loaded).value() : LoadedDocument{};
}

std::u16string faceOfText(const RichDocument &doc, std::u16string_view text) {
    for (const Paragraph &p : doc.paragraphs)
        for (const Run &r : p.runs)
            if (r.text.find(text) != std::u16string::npos)
                return r.format.faceName;
    return u"(text not found)";
}

TEST(LegacyRtf, OpensConvertedIntoUnicodeFonts) {
    Result<Bytes> bytes = readWholeFile(samplePath, 1 << 20);
    ASSERT_TRUE(bytes);
    LoadedDocument loaded = load("tam-tab-fonts.rtf", *bytes);
    ASSERT_TRUE(loaded.hasLegacyFonts);
    ASSERT_EQ(loaded.legacyFonts.size(), 2u);
    EXPECT_EQ(loaded.legacyFonts.at(0).kind, LegacyFontKind::Tam);
    EXPECT_EQ(loaded.legacyFonts.at(1).kind, LegacyFontKind::Tab);

    LegacyConversionOptions options;
    options.defaultUnicodeFont = u"Noto Sans Tamil";
    options.isFontInstalled = [](std::u16string_view f) { return f == u"Latha"; };
    RichDocument &doc = loaded.document;
    EXPECT_EQ(ConvertLegacyRuns(doc, options), 7);

    EXPECT_EQ(doc.plainText(), u"English: கொண்டாட்டம் தமிழ்\n"
                               u"Tamil Nadu: தமிழ் நாடு\n"
                               u"கௌரவம்");
    EXPECT_EQ(faceOfText(doc, u"English"), u"Arial");
    EXPECT_EQ(faceOfText(doc, u"கொண்டாட்டம்"), u"Latha");
    EXPECT_EQ(faceOfText(doc, u"Tamil Nadu: தமிழ்"), u"Noto Sans Tamil");
    // The bold prefix sign took its word with it.
    ASSERT_FALSE(doc.paragraphs[2].runs.empty());
    EXPECT_TRUE(doc.paragraphs[2].runs[0].format.bold);
    EXPECT_EQ(doc.paragraphs[2].runs[0].text, u"கௌரவம்");

    // Saved and opened again, the document is Unicode text that asks nothing.
    Bytes saved;
    BytesSink sink(saved);
    ASSERT_TRUE(StoreDocumentBody("converted.rtf", doc, PageLayout{}, sink));
    LoadedDocument reopened = load("converted.rtf", saved);
    EXPECT_FALSE(reopened.hasLegacyFonts);
    EXPECT_EQ(reopened.document.plainText(), doc.plainText());
    EXPECT_EQ(faceOfText(reopened.document, u"கொண்டாட்டம்"), u"Latha");
}

} // namespace
} // namespace tarvellite

// File kinds, headers, plain text and the legacy-font scan.

#include "core/app/byte_reader.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/document/document_header.h"
#include "core/document/document_io.h"
#include "core/document/file_kind.h"
#include "core/document/legacy_fonts.h"
#include "core/document/plain_text.h"

#include <gtest/gtest.h>

namespace tarvellite {
namespace {

Bytes bytesOf(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

Bytes utf16le(std::u16string_view s) {
    Bytes out;
    for (char16_t c : s) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

struct KindCase {
    const char *name;
    FileKind kind;
};

TEST(ClassifyFileName, ByExtensionOfTheFileNameOnly) {
    const KindCase cases[] = {
        {"Letter.TVL", FileKind::Tvl},
        {"letter.tvl", FileKind::Tvl},
        {"old.TvP", FileKind::Tvp},
        {"x.tvx", FileKind::Tvx},
        {"~tv1A2.tmp", FileKind::Tmp},
        {"a.rtf", FileKind::Rtf},
        {"a.doc", FileKind::Doc},
        {"a.DOCX", FileKind::Doc},
        {"page.htm", FileKind::Htm},
        {"page.html", FileKind::Txt},
        {"notes.txt", FileKind::Txt},
        {"words.ued", FileKind::Ued},
        {"words.def", FileKind::Def},
        {"README", FileKind::Txt},
        {"data.csv", FileKind::Txt},
        {"/home/u/my.rtf.d/notes", FileKind::Txt},
        {"C:\\Docs.tvl\\notes", FileKind::Txt},
        {"/home/u/archive.tar.rtf", FileKind::Rtf},
        {"", FileKind::Txt},
        {".tvl", FileKind::Tvl},
    };
    for (const KindCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClassifyFileName(c.name), c.kind);
    }
}

PageLayout sampleLayout() {
    PageLayout l;
    l.paperWidth = 11906;
    l.paperHeight = 16838;
    l.marginLeft = 1440;
    l.marginTop = 1080;
    l.marginRight = 1000;
    l.marginBottom = 900;
    return l;
}

TEST(DocumentHeader, OwnHeaderLayoutAndRoundTrip) {
    const Bytes h = writeDocumentHeader(sampleLayout());
    ASSERT_EQ(h.size(), 1624u);
    ByteReader r(h);
    std::int32_t v[4];
    for (auto &x : v)
        r.i32(x);
    EXPECT_EQ(v[0], 2011);
    EXPECT_EQ(v[1], 11);
    EXPECT_EQ(v[2], 250);
    EXPECT_EQ(v[3], 4000);
    EXPECT_EQ(h[16], 'O'); // "Orvani Software" in UTF-16
    EXPECT_EQ(h[17], 0);
    EXPECT_EQ(h[68], 11906 & 0xFF); // paper width at offset 68
    EXPECT_EQ(h[69], 11906 >> 8);
    for (std::size_t i = 124; i < 1624; ++i)
        ASSERT_EQ(h[i], 0) << "recovery path of a .tvl header must be zero at " << i;

    Bytes file = h;
    const Bytes body = bytesOf("{\\rtf1 x}");
    file.insert(file.end(), body.begin(), body.end());
    const DocumentHeader read = ReadDocumentHeader(file);
    EXPECT_EQ(read.kind, HeaderKind::Own);
    EXPECT_EQ(read.bodyOffset, 1624u);
    EXPECT_EQ(read.pageLayout, sampleLayout());
    EXPECT_TRUE(read.recoveredPath.empty());
}

TEST(DocumentHeader, RecoveryPathIsStoredAfterFeffAndCutAtACharacterBoundary) {
    const std::u16string path = u"/home/u/Orvani Software/TarvelLite Docs/கடிதம்.tvl";
    const Bytes h = writeDocumentHeader(sampleLayout(), path);
    EXPECT_EQ(h[124], 0xFF);
    EXPECT_EQ(h[125], 0xFE);
    EXPECT_EQ(ReadDocumentHeader(h).recoveredPath, path);

    // 748 units and then a surrogate pair: the pair does not fit and is dropped whole.
    std::u16string longPath(748, u'a');
    longPath += u"\U0001F600";
    longPath += u"tail";
    bool cut = false;
    const Bytes h2 = writeDocumentHeader(PageLayout{}, longPath, &cut);
    EXPECT_TRUE(cut);
    ASSERT_EQ(h2.size(), 1624u);
    EXPECT_EQ(ReadDocumentHeader(h2).recoveredPath, std::u16string(748, u'a'));

    std::u16string exact(maxRecoveryPathUnits, u'b');
    const Bytes h3 = writeDocumentHeader(PageLayout{}, exact, &cut);
    EXPECT_FALSE(cut);
    EXPECT_EQ(ReadDocumentHeader(h3).recoveredPath, exact);
}

TEST(DocumentHeader, MismatchesReadTheWholeFileAsBody) {
    Bytes h = writeDocumentHeader(sampleLayout());
    Bytes wrongVersion = h;
    wrongVersion[12] = 0xA1; // 4001
    EXPECT_EQ(ReadDocumentHeader(wrongVersion).bodyOffset, 0u);
    Bytes shortFile(h.begin(), h.begin() + 1623);
    EXPECT_EQ(ReadDocumentHeader(shortFile).kind, HeaderKind::None);
    EXPECT_EQ(ReadDocumentHeader(bytesOf("{\\rtf1 plain}")).bodyOffset, 0u);
    EXPECT_EQ(ReadDocumentHeader(Bytes{}).bodyOffset, 0u);
}

Bytes legacyHeader(std::int32_t version, std::int32_t optionalFlag, std::int32_t shortCount,
                   std::int32_t longCount) {
    ByteWriter w;
    w.u32(legacyHeaderMagic);
    w.zeros(8);
    w.i32(version);
    if (version == 1000)
        w.zeros(36);
    w.zeros(version == 1000 ? 226 : 252);
    w.i32(optionalFlag);
    w.zeros(4);
    w.i32(shortCount);
    w.i32(longCount);
    w.zeros(20);
    if (optionalFlag) {
        w.zeros(2720);
        w.zeros(36 * static_cast<std::size_t>(longCount));
    }
    w.zeros(33 * static_cast<std::size_t>(shortCount));
    return w.take();
}

TEST(DocumentHeader, LegacyHeaderLengths) {
    struct Case {
        const char *name;
        std::int32_t version, flag, shortCount, longCount;
        std::size_t body;
    } cases[] = {
        {"version 1000, two short records", 1000, 0, 2, 0, 380},
        {"other version, no records", 3000, 0, 0, 0, 12 + 4 + 252 + 36},
        {"optional block and long records", 1000, 1, 1, 3,
         12 + 4 + 36 + 226 + 36 + 2720 + 108 + 33},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = legacyHeader(c.version, c.flag, c.shortCount, c.longCount);
        ASSERT_EQ(file.size(), c.body);
        file.push_back('x');
        const DocumentHeader h = ReadDocumentHeader(file);
        EXPECT_EQ(h.kind, HeaderKind::Legacy);
        EXPECT_EQ(h.bodyOffset, c.body);
    }
    // Counts that run past the end, or are negative, are not a header.
    Bytes hostile = legacyHeader(1000, 0, 0, 0);
    hostile[12 + 4 + 36 + 226 + 8] = 0xFF; // shortRecordCount huge
    hostile[12 + 4 + 36 + 226 + 11] = 0x7F;
    EXPECT_EQ(ReadDocumentHeader(hostile).bodyOffset, 0u);
    Bytes negative = legacyHeader(1000, 0, 0, 0);
    negative[12 + 4 + 36 + 226 + 11] = 0xFF;
    EXPECT_EQ(ReadDocumentHeader(negative).bodyOffset, 0u);
    Bytes truncated = legacyHeader(1000, 0, 2, 0);
    truncated.resize(300);
    EXPECT_EQ(ReadDocumentHeader(truncated).kind, HeaderKind::None);
}

struct DecodeCase {
    const char *name;
    Bytes body;
    std::u16string text;
    PlainTextEncoding encoding;
};

TEST(PlainText, DecodesByContent) {
    const DecodeCase cases[] = {
        {"empty", {}, u"", PlainTextEncoding::Ansi},
        {"UTF-8 keeps its signature",
         bytesOf("\xEF\xBB\xBF\xE0\xAE\x95"
                 "a"),
         u"\uFEFF\u0B95a", PlainTextEncoding::Utf8},
        {"UTF-16LE by its zero bytes", utf16le(u"\u0B95 \u0B99"), u"\u0B95 \u0B99",
         PlainTextEncoding::Utf16Le},
        {"UTF-16LE ends at a zero unit", utf16le(std::u16string(u"ab\0cd", 5)), u"ab",
         PlainTextEncoding::Utf16Le},
        {"odd length UTF-16LE drops the last byte", bytesOf(std::string("a\0b\0c", 5)), u"ab",
         PlainTextEncoding::Utf16Le},
        {"a zero only as the last byte is ANSI", bytesOf(std::string("ab\0", 3)),
         std::u16string(u"ab\0", 3), PlainTextEncoding::Ansi},
        {"ANSI with precomposed letters split", bytesOf("caf\xE9 \x80"), u"cafe\u0301 \u20AC",
         PlainTextEncoding::Ansi},
        {"Tamil-only UTF-16LE without a zero byte", utf16le(u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD"),
         u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD", PlainTextEncoding::Utf16Le},
        {"Sinhala with ZWJ, no zero byte", utf16le(u"\u0DC1\u0DCA\u200D\u0DBB\u0DD3"),
         u"\u0DC1\u0DCA\u200D\u0DBB\u0DD3", PlainTextEncoding::Utf16Le},
        {"ASCII with tabs in every second byte stays ANSI", bytesOf("a\tb\tc\t"), u"a\tb\tc\t",
         PlainTextEncoding::Ansi},
        {"odd-length bytes that are not UTF-8 stay ANSI", bytesOf("\x95\x0B\x95"),
         u"\u2022\u000B\u2022", PlainTextEncoding::Ansi},
        {"UTF-8 without a signature", bytesOf("\xE0\xAE\xB5\xE0\xAE\xA3 caf\xC3\xA9\r\n"),
         u"\u0BB5\u0BA3 caf\u00E9\r\n", PlainTextEncoding::Utf8},
        {"UTF-8 with a four-byte sequence", bytesOf("x\xF0\x9F\x98\x80"), u"x\U0001F600",
         PlainTextEncoding::Utf8},
        {"almost UTF-8 but one bad byte is ANSI", bytesOf("\xC3\xA9 \xE9"),
         u"A\u0303\u00A9 e\u0301", PlainTextEncoding::Ansi},
        {"a truncated sequence at the end is ANSI", bytesOf("ab\xE0\xAE"), u"aba\u0300\u00AE",
         PlainTextEncoding::Ansi},
    };
    for (const DecodeCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(detectPlainTextEncoding(c.body), c.encoding);
        EXPECT_EQ(hexUnits(decodePlainText(c.body)), hexUnits(c.text));
    }
}

TEST(PlainText, WritesUtf16LeWithCrLfAndWithoutPictures) {
    const Bytes out = encodePlainText(u"a\nb\r\nc\u2028d\uFFFCe");
    EXPECT_EQ(out, utf16le(u"a\r\nb\r\nc\r\nde"));
}

TEST(PlainText, SignatureSurvivesSaveAndReload) {
    LoadedDocument first = LoadDocumentBody("a.txt", bytesOf("\xEF\xBB\xBFhello\r\nworld")).value();
    EXPECT_EQ(first.document.plainText(), u"\uFEFFhello\nworld");
    Bytes saved;
    BytesSink sink(saved);
    ASSERT_TRUE(StoreDocumentBody("a.txt", first.document, PageLayout{}, sink));
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved[0], 0xFF);
    EXPECT_EQ(saved[1], 0xFE);
    const LoadedDocument again = LoadDocumentBody("a.txt", saved).value();
    EXPECT_EQ(again.document.plainText(), u"\uFEFFhello\nworld");
}

TEST(PlainText, TamilOnlyTextSurvivesSaveAndReload) {
    const std::u16string tamil = u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD";
    Bytes saved;
    BytesSink sink(saved);
    ASSERT_TRUE(StoreDocumentBody("t.txt", RichDocument::fromPlainText(tamil), PageLayout{}, sink));
    EXPECT_EQ(LoadDocumentBody("t.txt", saved)->document.plainText(), tamil);
}

TEST(PlainText, ListLabelsAndNoteMarksAreWritten) {
    Result<LoadedDocument> rtf = LoadDocumentBody(
        "a.rtf",
        bytesOf(
            "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
            "\\listid7}{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}\\listid8}}"
            "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid8\\ls2}}"
            "Intro{\\super\\chftn}{\\footnote\\chftn note}\\par"
            "\\pard\\ls1 one\\par two\\par\\pard\\ls2 dot\\par\\pard end}"));
    ASSERT_TRUE(rtf);
    const std::u16string expected = u"Intro1\r\n1.\tone\r\n2.\ttwo\r\n\u2022\tdot\r\nend";
    Bytes saved;
    BytesSink sink(saved);
    ASSERT_TRUE(StoreDocumentBody("a.txt", rtf->document, PageLayout{}, sink));
    EXPECT_EQ(hexUnits(decodePlainText(saved)), hexUnits(expected));
    EXPECT_EQ(documentText(rtf->document, u"\r\n", u"\r\n"), expected);
}

TEST(PlainText, Utf8OutputOfEveryLength) {
    const RichDocument doc = RichDocument::fromPlainText(
        u"a\u00E9\u0B95\U0001F600" + std::u16string(1, char16_t(0xD800)) + u"z\u2028y\nnext");
    Bytes out;
    BytesSink sink(out);
    ASSERT_TRUE(writeUtf8Text(doc, sink, "\r\n"));
    EXPECT_EQ(std::string(out.begin(), out.end()),
              "a\xC3\xA9\xE0\xAE\x95\xF0\x9F\x98\x80\xEF\xBF\xBDz\r\ny\r\nnext");
}

TEST(LoadDocumentBody, HeaderKindsAndEmptyFiles) {
    // A .tvl with plain RTF and no header reads from offset 0.
    auto plain = LoadDocumentBody("x.tvl", bytesOf("{\\rtf1 Hello}"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->header.kind, HeaderKind::None);
    EXPECT_EQ(plain->document.plainText(), u"Hello");

    // A stored .tvl reads back with its layout.
    Bytes file;
    BytesSink sink(file);
    ASSERT_TRUE(
        StoreDocumentBody("x.tvl", RichDocument::fromPlainText(u"Hi"), sampleLayout(), sink));
    auto headed = LoadDocumentBody("x.TVL", file);
    ASSERT_TRUE(headed);
    EXPECT_EQ(headed->header.bodyOffset, 1624u);
    EXPECT_EQ(headed->header.pageLayout, sampleLayout());
    EXPECT_EQ(headed->document.plainText(), u"Hi");

    // A .tvp with the legacy header: the plain-text body follows it.
    Bytes tvp = legacyHeader(1000, 0, 2, 0);
    const Bytes text = utf16le(u"\u0B85 \u0B86");
    tvp.insert(tvp.end(), text.begin(), text.end());
    auto legacy = LoadDocumentBody("old.tvp", tvp);
    ASSERT_TRUE(legacy);
    EXPECT_EQ(legacy->header.bodyOffset, 380u);
    EXPECT_EQ(legacy->document.plainText(), u"\u0B85 \u0B86");

    for (const char *name : {"e.txt", "e.rtf", "e.tvl", "e.tvp"}) {
        SCOPED_TRACE(name);
        auto empty = LoadDocumentBody(name, Bytes{});
        ASSERT_TRUE(empty);
        EXPECT_TRUE(empty->document.empty());
        EXPECT_EQ(empty->document.paragraphs.size(), 1u);
    }
}

TEST(LoadDocumentBody, NonRtfInAnRtfKind) {
    auto html = LoadDocumentBody("page.htm", bytesOf("<html><body>Hi</body></html>"));
    ASSERT_TRUE(html);
    EXPECT_EQ(html->document.plainText(), u"<html><body>Hi</body></html>");
    EXPECT_FALSE(html->warnings.empty());

    auto zip = LoadDocumentBody("a.docx", bytesOf(std::string("PK\3\4\x14\0\0\0", 8)));
    ASSERT_FALSE(zip);
    EXPECT_NE(zip.error().message.find("ZIP"), std::string::npos);
    auto utf16 = LoadDocumentBody("a.rtf", utf16le(u"{\\rtf1 x}"));
    ASSERT_FALSE(utf16);
    EXPECT_NE(utf16.error().message.find("UTF-16"), std::string::npos);

    // The program's own kinds are not guessed at: what is not RTF behind an optional header
    // is not a TarvelLite document, whatever it holds.
    for (const char *name : {"a.tvl", "a.tvx", "a.tmp"})
        for (const Bytes &body :
             {bytesOf("just some text"), bytesOf("\x01\x02\x03 binary"), utf16le(u"text")}) {
            SCOPED_TRACE(name);
            auto r = LoadDocumentBody(name, body);
            ASSERT_FALSE(r);
            EXPECT_EQ(r.error().describe(), "the file is not a TarvelLite document");
        }
}

TEST(LoadDocumentBody, WarningsReachTheUser) {
    std::vector<std::string> shown;
    ScopedMessagePresenter presenter([&shown](const Message &m) {
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        shown.push_back(m.text);
        return MessageAnswer::Ok;
    });
    auto clean = LoadDocumentBody("a.rtf", bytesOf("{\\rtf1 fine}"));
    ASSERT_TRUE(clean);
    ReportReadWarnings("a.rtf", clean->warnings);
    EXPECT_TRUE(shown.empty());

    auto hostile =
        LoadDocumentBody("b.rtf", bytesOf("{\\rtf1\\fs2000000000 a" + std::string(30000, '{') +
                                          "x" + std::string(30000, '}') + "b}"));
    ASSERT_TRUE(hostile);
    ReportReadWarnings("b.rtf", hostile->warnings);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("b.rtf"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find("font size"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find("nested deeper"), std::string::npos) << shown[0];
}

TEST(LoadDocumentBody, Utf8TextFilesWithoutASignature) {
    const std::string tamil = "\xE0\xAE\xB5\xE0\xAE\xA3\xE0\xAE\x95\xE0\xAE\xAE\xE0\xAF\x8D";
    for (const char *name : {"notes.txt", "README", "list.csv"}) {
        SCOPED_TRACE(name);
        auto r = LoadDocumentBody(name, bytesOf(tamil + "\nline two\n"));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->document.plainText(u"|"), u"\u0BB5\u0BA3\u0B95\u0BAE\u0BCD|line two|");
    }
}

TEST(ScanLegacyFonts, FindsTamAndTabFacesInTheFontTable) {
    struct Case {
        const char *name;
        std::string body;
        LegacyFontMap expected;
    } cases[] = {
        {"one TAM font at index 0",
         "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 TAMFONTA;}{\\f1\\fnil Arial;}}",
         {{0, {"TAMFONTA", LegacyFontKind::Tam, 0}}}},
        {"TAB in any case after a panose group",
         "{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset0 Times;}{\\f1\\fnil{\\*\\panose "
         "0202}TaBKural;}}",
         {{1, {"TaBKural", LegacyFontKind::Tab, 1}}}},
        {"no legacy font", "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Latha;}}", {}},
        {"scan ends at the first CR LF",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}\r\n{\\f1 TAM-Kambar;}}",
         {}},
        {"long names are cut to 31 characters",
         "{\\rtf1{\\fonttbl{\\f0 TAMaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;}}",
         {{0, {"TAMaaaaaaaaaaaaaaaaaaaaaaaaaaaa", LegacyFontKind::Tam, 0}}}},
        {"no font table", "{\\rtf1 TAM text;}", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LegacyFontMap found;
        EXPECT_EQ(ScanLegacyFonts(bytesOf(c.body), found), !c.expected.empty());
        EXPECT_EQ(found, c.expected);
    }

    // A font table that starts after the first 4096 bytes is not found.
    std::string late =
        "{\\rtf1{\\info{\\comment " + std::string(4100, 'x') + "}}{\\fonttbl{\\f0 TAMFONTA;}}";
    LegacyFontMap found;
    EXPECT_FALSE(ScanLegacyFonts(bytesOf(late), found));
}

TEST(LoadDocumentBody, ScansLegacyFontsOnlyForRtfFileKinds) {
    const Bytes rtf =
        bytesOf("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 TAMFONTA;}}\\f0 \\'aa\\'e8}");
    auto asRtf = LoadDocumentBody("a.rtf", rtf);
    ASSERT_TRUE(asRtf);
    EXPECT_TRUE(asRtf->hasLegacyFonts);
    EXPECT_EQ(asRtf->legacyFonts.at(0).faceName, "TAMFONTA");
    auto asTvl = LoadDocumentBody("a.tvl", rtf);
    ASSERT_TRUE(asTvl);
    EXPECT_FALSE(asTvl->hasLegacyFonts);
}

} // namespace
} // namespace tarvellite

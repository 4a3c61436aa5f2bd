// The RTF reader on small inputs, hostile inputs, and the writer's round trips.

#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "core/document/document_io.h"
#include "core/document/rtf_reader.h"
#include "core/document/rtf_writer.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvellite {
namespace {

Bytes bytesOf(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

RichDocument read(std::string_view rtf) {
    Result<ReadOutcome> r = readRtf(bytesOf(rtf));
    EXPECT_TRUE(r) << (r ? "" : r.error().describe());
    return r ? r->document : RichDocument{};
}

std::string text(std::string_view rtf) {
    return utf16ToUtf8(read(rtf).plainText(u"|", u"/", false));
}

struct TextCase {
    const char *name;
    const char *rtf;
    const char *text; // paragraphs joined by "|", line breaks "/"
};

TEST(RtfReader, Text) {
    const TextCase cases[] = {
        {"plain", "{\\rtf1 Hello}", "Hello"},
        {"paragraphs, final \\par ends the document", "{\\rtf1 a\\par b\\par}", "a|b"},
        {"empty paragraph kept", "{\\rtf1 a\\par\\par b}", "a||b"},
        {"escapes", "{\\rtf1 \\{x\\} \\\\ y}", "{x} \\ y"},
        {"specials", "{\\rtf1 a\\~b\\_c\\emdash\\endash\\lquote\\rquote\\bullet\\tab\\line z}",
         "a\u00A0b\u2011c\u2014\u2013\u2018\u2019\u2022\t/z"},
        {"\\u with one fallback", "{\\rtf1 \\u2965?\\u2990?x}", "\u0B95\u0BAEx"},
        {"\\uc0 has no fallback", "{\\rtf1\\uc0 \\u2350\\u2360 x}", "\u092E\u0938x"},
        {"\\uc2 skips a \\' pair", "{\\rtf1\\uc2 \\u-28671\\'82\\'a0x}", "\u9001x"},
        {"fallback skipping ends at the group end", "{\\rtf1\\uc3 {\\u2965?}ab}", "\u0B95ab"},
        {"\\u negative", "{\\rtf1 \\u-3\\'3f}", "\uFFFD"},
        {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600"},
        {"ansicpg1251", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", "\u041F\u0440\u0438"},
        {"font charset wins",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 X;}}\\f1 \\'b9\\f0 \\'b9}",
         "\u0105\u00B9"},
        {"double-byte 932", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'83\\'4c}", "\u3042\u30AD"},
        {"double-byte trail as a literal", "{\\rtf1\\ansi\\ansicpg932 \\'83L}", "\u30AD"},
        {"Mac Roman", "{\\rtf1\\mac \\'8e}", "\u00E9"},
        {"symbol font", "{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 a\\'b7}", "\uF061\uF0B7"},
        {"unknown destination skipped", "{\\rtf1 a{\\*\\foo b{c}}d}", "ad"},
        {"unknown word ignored", "{\\rtf1 a\\foo b}", "ab"},
        {"header, footer, footnote, annotation, info kept out",
         "{\\rtf1{\\info{\\title T}}{\\header H}{\\footer F}a{\\footnote N}{\\annotation X}b}",
         "ab"},
        {"footnote reference numbered",
         "{\\rtf1 a{\\super\\chftn}{\\footnote\\chftn n}b{\\chftn}{\\footnote x}}", "a1b2"},
        {"endnotes counted apart from footnotes, lower roman by default",
         "{\\rtf1 a{\\chftn}{\\footnote n}b{\\super\\chftn}{\\footnote\\ftnalt\\chftn e}c{\\chftn}"
         "{\\*\\footnote \\ftnalt e}d{\\chftn}{\\footnote n}}",
         "a1biciid2"},
        {"note numbering styles and starts",
         "{\\rtf1\\ftnnauc\\ftnstart3\\aftnnar\\aftnstart5 a{\\chftn}{\\footnote n}b{\\chftn}"
         "{\\footnote\\ftnalt e}}",
         "aCb5"},
        {"list text skipped", "{\\rtf1{\\listtext 1.\\tab}a{\\pntext 2.}b}", "ab"},
        {"field keeps its result",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link"},
        {"table flattened", "{\\rtf1\\trowd a\\cell b\\cell\\row\\trowd c\\cell d\\cell\\row}",
         "a\tb|c\td"},
        {"nested table without its fallback",
         "{\\rtf1 a\\nestcell b\\nestcell{\\*\\nesttableprops\\nestrow}{\\nonesttables x}\\row}",
         "a\tb|"},
        {"\\bin data skipped", "{\\rtf1 a{\\*\\blob\\bin3 }}}}b}", "ab"},
        {"\\bin in the body", "{\\rtf1 a\\bin2 xyb}", "ab"},
        {"hidden text kept", "{\\rtf1 a{\\v b}c}", "abc"},
        {"an ignorable destination at document level ends the document",
         "{\\rtf1 a\\*\\foo b}c\\*\\pn\\pn}}", "a"},
        {"stops at the outermost brace", "{\\rtf1 a}{\\rtf1 b} junk", "a"},
        {"truncated file gives its text", "{\\rtf1 a\\par{\\b b", "a|b"},
        {"upr takes the Unicode part", "{\\rtf1{\\upr{ansi}{\\*\\ud{\\u2965?}}}}", "\u0B95"},
        {"shppict read, nonshppict skipped",
         "{\\rtf1{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict{\\pict\\wmetafile8 00}}}",
         "\uFFFC"},
        {"unsupported picture dropped", "{\\rtf1 a{\\pict\\macpict 0102}b}", "ab"},
        {"leading white space and signature", "\xEF\xBB\xBF \r\n{\\rtf1 x}", "x"},
        {"control word too long", "{\\rtf1 a\\abcdefghijabcdefghijabcdefghijabcdefghij b}", "ab"},
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text(c.rtf), c.text);
    }
}

TEST(RtfReader, LegacyFontRunsKeepTheirBytes) {
    // In a TAM font every byte becomes the Windows-1252 character of that byte, whatever the
    // font's character set and the document's code page.
    const RichDocument doc =
        read("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset2 TAM-Kambar;}"
             "{\\f1\\fcharset204 Arial;}}\\f0 \\'aa\\'e8\\'81a\\f1 \\'aa}");
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
    const std::u16string &legacy = doc.paragraphs[0].runs[0].text;
    EXPECT_EQ(doc.paragraphs[0].runs[0].format.faceName, u"TAM-Kambar");
    std::string bytes;
    for (char16_t u : legacy) {
        unsigned char b = 0;
        ASSERT_TRUE(unitToCp1252(u, b));
        bytes.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(bytes, "\xaa\xe8\x81"
                     "a");
    EXPECT_EQ(doc.paragraphs[0].runs[1].text, u"\u0404"); // Cyrillic in the other font
}

TEST(RtfReader, CharacterAndParagraphFormats) {
    const RichDocument doc =
        read("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset0 Latha;}}"
             "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
             "\\pard\\qc\\li720\\ri360\\fi-360\\tx1440\\tqr\\tx4320 {\\f0\\fs28\\b\\i\\ul\\strike"
             "\\cf1\\highlight2 A}{\\plain B}\\par"
             "\\pard\\qj C{\\b0\\ulnone\\cb0 D}}");
    ASSERT_EQ(doc.paragraphs.size(), 2u);
    const Paragraph &p = doc.paragraphs[0];
    EXPECT_EQ(p.format.alignment, Alignment::Center);
    EXPECT_EQ(p.format.startIndentTwips, 720);
    EXPECT_EQ(p.format.rightIndentTwips, 360);
    EXPECT_EQ(p.format.firstLineIndentTwips, -360);
    ASSERT_EQ(p.format.tabStops.size(), 2u);
    EXPECT_EQ(p.format.tabStops[1], (TabStop{4320, TabAlignment::Right}));
    ASSERT_EQ(p.runs.size(), 2u);
    const CharFormat &a = p.runs[0].format;
    EXPECT_EQ(a.faceName, u"Arial");
    EXPECT_EQ(a.sizeTwips, 280);
    EXPECT_TRUE(a.bold && a.italic && a.underline && a.strikeOut);
    EXPECT_EQ(a.textColor, (Rgb{255, 0, 0}));
    EXPECT_EQ(a.backColor, (Rgb{0, 0, 255}));
    const CharFormat &b = p.runs[1].format;
    EXPECT_EQ(b.faceName, u"Latha"); // \plain returns to the default font
    EXPECT_EQ(b.sizeTwips, 240);
    EXPECT_FALSE(b.bold || b.textColor || b.backColor);
    EXPECT_EQ(doc.paragraphs[1].format.alignment, Alignment::Justify);
    EXPECT_TRUE(doc.paragraphs[1].format.tabStops.empty()); // \pard reset them
}

TEST(RtfReader, ListsFromListTablesAndParagraphNumbering) {
    const RichDocument doc = read(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4\\levelstartat3{\\leveltext\\'02\\'00)"
        ";}}{\\listlevel\\levelnfc2{\\leveltext\\'03(\\'01);}}\\listid7}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}\\listid8}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid8\\ls2}}"
        "\\pard\\ls1 a\\par\\pard\\ls1\\ilvl1 b\\par\\pard\\ls2 c\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart4{\\pntxta .}} d\\par"
        "\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}} e\\par\\pard f}");
    ASSERT_EQ(doc.paragraphs.size(), 6u);
    const auto &f = [&](std::size_t i) -> const ParagraphFormat & {
        return doc.paragraphs[i].format;
    };
    EXPECT_EQ(f(0).listStyle, ListStyle::LowerLetter);
    EXPECT_EQ(f(0).numberSuffix, NumberSuffix::Parenthesis);
    EXPECT_EQ(f(0).numberingStart, 3);
    EXPECT_EQ(f(1).listStyle, ListStyle::LowerRoman);
    EXPECT_EQ(f(1).numberSuffix, NumberSuffix::Parentheses);
    EXPECT_EQ(f(1).listLevel, 1);
    EXPECT_EQ(f(2).listStyle, ListStyle::Bullet);
    EXPECT_EQ(f(3).listStyle, ListStyle::UpperRoman);
    EXPECT_EQ(f(3).numberingStart, 4);
    EXPECT_EQ(f(3).numberSuffix, NumberSuffix::Period);
    EXPECT_EQ(f(4).listStyle, ListStyle::Bullet);
    EXPECT_EQ(f(5).listStyle, ListStyle::None);
    const std::vector<std::u16string> labels = doc.listLabels();
    EXPECT_EQ(labels,
              (std::vector<std::u16string>{u"c)", u"(i)", u"\u2022", u"IV.", u"\u2022", u""}));
}

TEST(RtfReader, PicturesKeepBytesFormatAndSize) {
    const RichDocument doc =
        read("{\\rtf1 a{\\pict\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300\\picscalex200"
             "\\picscaley50 89 50\r\n4e47}b{\\pict\\jpegblip\\bin3 \xff\xd8\xff}"
             "{\\pict\\dibitmap0 2800}}");
    ASSERT_EQ(doc.pictures.size(), 3u);
    const Picture &png = doc.pictures[0];
    EXPECT_EQ(png.format, PictureFormat::Png);
    EXPECT_EQ(png.bytes, (Bytes{0x89, 0x50, 0x4e, 0x47}));
    EXPECT_EQ(png.pixelWidth, 10);
    EXPECT_EQ(png.pixelHeight, 20);
    EXPECT_EQ(png.widthTwips, 300);
    EXPECT_EQ(png.heightTwips, 150);
    EXPECT_EQ(doc.pictures[1].bytes, (Bytes{0xff, 0xd8, 0xff}));
    EXPECT_EQ(doc.pictures[2].format, PictureFormat::Dib);
    const auto &runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[1].pictureIndex, 0);
    EXPECT_EQ(runs[2].text, u"b");
}

// Floating pictures as word processors write them: the shape's own picture ("pib") is read once,
// at the anchor, and its result copy is passed over; a shape without one keeps its result.
TEST(RtfReader, ShapePicturesAreReadOnceAtTheirAnchor) {
    const std::string word =
        "{\\rtf1 a{\\shp{\\*\\shpinst\\shpleft0\\shpright1440{\\sp{\\sn fillBlip}{\\sv "
        "{\\pict\\pngblip 0102}}}{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\picwgoal1440"
        "\\pichgoal720 89504e47}}}{\\shptxt boxed}}{\\shprslt{\\*\\do\\dobxcolumn}"
        "{\\pict\\wmetafile8 0001}}}b\\par c}";
    Result<ReadOutcome> r = readRtf(bytesOf(word));
    ASSERT_TRUE(r);
    const RichDocument &doc = r->document;
    ASSERT_EQ(doc.pictures.size(), 1u);
    EXPECT_EQ(doc.pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(doc.pictures[0].bytes, (Bytes{0x89, 0x50, 0x4e, 0x47}));
    EXPECT_EQ(doc.pictures[0].widthTwips, 1440);
    EXPECT_EQ(doc.pictures[0].heightTwips, 720);
    EXPECT_EQ(utf16ToUtf8(doc.plainText(u"|", u"/", false)), "a\uFFFCb|c");
    ASSERT_FALSE(r->warnings.empty());
    EXPECT_NE(r->warnings[0].message.find("anchor"), std::string::npos);

    // A shape whose picture this reader cannot keep shows its result copy instead; a shape
    // without a picture is only its result.
    EXPECT_EQ(text("{\\rtf1 {\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\macpict 01}}}}"
                   "{\\shprslt{\\pict\\pngblip 01}}}}"),
              "\uFFFC");
    EXPECT_EQ(text("{\\rtf1 x{\\shp{\\*\\shpinst{\\sp{\\sn fillColor}{\\sv 255}}}"
                   "{\\shprslt y}}z}"),
              "xyz");
    // Two shapes give two pictures; the second shape starts afresh.
    const RichDocument two =
        read("{\\rtf1 {\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip 01}}}}"
             "{\\shprslt{\\pict\\pngblip 01}}}{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv "
             "{\\pict\\jpegblip 02}}}}{\\shprslt{\\pict\\jpegblip 02}}}}");
    ASSERT_EQ(two.pictures.size(), 2u);
    EXPECT_EQ(two.pictures[1].format, PictureFormat::Jpeg);
}

// An object embedded from a file keeps its class and data byte for byte with the picture that
// shows it, whichever order its parts come in; data with no picture of it is told, not kept.
TEST(RtfReader, EmbeddedObjectsKeepTheirDataWithTheirPicture) {
    RichDocument doc;
    Picture icon;
    icon.format = PictureFormat::Png;
    icon.bytes = {0x89, 0x50, 0x4e, 0x47};
    icon.widthTwips = 1800;
    icon.heightTwips = 900;
    icon.objectClass = "Package";
    for (int i = 0; i < 300; ++i)
        icon.objectData.push_back(static_cast<std::uint8_t>(i * 7));
    doc.pictures.push_back(icon);
    doc.paragraphs[0].runs.push_back(tarvellite::Run{CharFormat{}, u"a", -1});
    doc.paragraphs[0].runs.push_back(tarvellite::Run{CharFormat{}, u"\uFFFC", 0});
    Result<ReadOutcome> back = readRtf(writeRtf(doc));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->document.pictures.size(), 1u);
    EXPECT_EQ(back->document.pictures[0], icon);
    EXPECT_EQ(utf16ToUtf8(back->document.plainText()), "a\uFFFC");

    // Data after the result, and a class with a space around it.
    const RichDocument late = read("{\\rtf1 {\\object\\objemb{\\result {\\pict\\pngblip 01}}"
                                   "{\\*\\objclass Package}{\\*\\objdata 0a0B\r\n0c}}z}");
    ASSERT_EQ(late.pictures.size(), 1u);
    EXPECT_EQ(late.pictures[0].objectClass, "Package");
    EXPECT_EQ(late.pictures[0].objectData, (Bytes{0x0a, 0x0b, 0x0c}));
    // A result of text only: the text stays, the data goes with a warning.
    Result<ReadOutcome> textOnly =
        readRtf(bytesOf("{\\rtf1 {\\object{\\*\\objdata 0102}{\\result shown}}}"));
    ASSERT_TRUE(textOnly);
    EXPECT_TRUE(textOnly->document.pictures.empty());
    EXPECT_EQ(utf16ToUtf8(textOnly->document.plainText()), "shown");
    ASSERT_EQ(textOnly->warnings.size(), 1u);
    EXPECT_NE(textOnly->warnings[0].message.find("object"), std::string::npos);
    // Cut off inside the data: what was read is kept as text, nothing more.
    EXPECT_EQ(text("{\\rtf1 x{\\object{\\*\\objdata 01020"), "x");
    // A second object starts afresh; a picture outside any object has no data.
    const RichDocument two =
        read("{\\rtf1 {\\object{\\*\\objdata 01}{\\result{\\pict\\pngblip 01}}}"
             "{\\pict\\pngblip 02}{\\object{\\*\\objdata 03}{\\result{\\pict"
             "\\pngblip 04}}}}");
    ASSERT_EQ(two.pictures.size(), 3u);
    EXPECT_EQ(two.pictures[0].objectData, Bytes{0x01});
    EXPECT_FALSE(two.pictures[1].isObject());
    EXPECT_EQ(two.pictures[2].objectData, Bytes{0x03});
}

struct BadCase {
    const char *name;
    std::string input;
    const char *messagePart;
};

TEST(RtfReader, RejectsWhatIsNotRtf) {
    const BadCase cases[] = {
        {"empty", "", "empty"},
        {"plain text", "Hello", "not RTF"},
        {"ZIP", std::string("PK\3\4rest", 8), "ZIP"},
        {"OLE Word file", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", "binary Word"},
        {"UTF-16 with BOM", std::string("\xFF\xFE{\0\\\0r\0", 8), "UTF-16"},
        {"UTF-16 without BOM", std::string("{\0\\\0r\0t\0f\0", 10), "UTF-16"},
        {"binary", std::string("\x01\x02\x03\x04", 4), "not RTF"},
    };
    for (const BadCase &c : cases) {
        SCOPED_TRACE(c.name);
        Result<ReadOutcome> r = readRtf(bytesOf(c.input));
        ASSERT_FALSE(r);
        EXPECT_NE(r.error().message.find(c.messagePart), std::string::npos) << r.error().message;
        EXPECT_EQ(r.error().byteOffset, 0u);
    }
}

TEST(RtfReader, HostileInputsStayBounded) {
    // Nesting deeper than the limit is skipped, with a warning; the text after it is read.
    std::string deep =
        "{\\rtf1 a" + std::string(100000, '{') + "x" + std::string(100000, '}') + "b}";
    Result<ReadOutcome> r = readRtf(bytesOf(deep));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->document.plainText(), u"ab");
    EXPECT_FALSE(r->warnings.empty());

    // Unclosed deep nesting: the text so far.
    r = readRtf(bytesOf("{\\rtf1 a" + std::string(50000, '{')));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->document.plainText(), u"a");

    // \bin and \uc counts larger than what remains.
    for (const char *s : {"{\\rtf1 a\\bin999999999999 xy", "{\\rtf1 a\\bin-5 b}",
                          "{\\rtf1\\uc2147483647 \\u65 abc}", "{\\rtf1 \\u99999999999999999 x}",
                          "{\\rtf1{\\pict\\pngblip\\bin99999999 ab", "{\\rtf1\\'", "{\\rtf1\\'4"}) {
        SCOPED_TRACE(s);
        EXPECT_TRUE(readRtf(bytesOf(s)));
    }

    // Too many paragraphs fails with the offset; a failed read returns no document.
    RtfReadLimits limits;
    limits.maxParagraphs = 100;
    std::string many = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i)
        many += "p\\par ";
    r = readRtf(bytesOf(many), limits);
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().byteOffset, Error::noOffset);
    EXPECT_GT(r.error().byteOffset, 100u);

    limits = RtfReadLimits{};
    limits.maxPictures = 2;
    r = readRtf(bytesOf("{\\rtf1{\\pict\\pngblip 00}{\\pict\\pngblip 01}{\\pict\\pngblip 02}}"),
                limits);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->document.pictures.size(), 2u);
    EXPECT_FALSE(r->warnings.empty());
}

// What the reader leaves out or changes is said in a warning the program can show.
TEST(RtfReader, WarnsOfWhatItDroppedOrClamped) {
    struct Case {
        const char *name;
        std::string rtf;
        const char *text;
        const char *warningPart;
    };
    const Case cases[] = {
        {"nesting too deep",
         "{\\rtf1 a" + std::string(30000, '{') + "x" + std::string(30000, '}') + "b}", "ab",
         "nested deeper"},
        {"absurd font size", "{\\rtf1\\fs2000000000 big}", "big", "font size"},
        {"font size of zero", "{\\rtf1\\fs0 small}", "small", "font size"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Result<ReadOutcome> r = readRtf(bytesOf(c.rtf));
        ASSERT_TRUE(r);
        EXPECT_EQ(utf16ToUtf8(r->document.plainText()), c.text);
        ASSERT_EQ(r->warnings.size(), 1u);
        EXPECT_NE(r->warnings[0].message.find(c.warningPart), std::string::npos)
            << r->warnings[0].message;
    }
    // An ordinary size says nothing.
    Result<ReadOutcome> r = readRtf(bytesOf("{\\rtf1\\fs24 a\\fs3276 b}"));
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->warnings.empty());
}

// A face name is cut to 256 units; what is left must not end in a space that a second read
// would trim.
TEST(RtfReader, LongFontNamesReadBackTheSame) {
    for (std::size_t spaceAt : {254u, 255u, 256u}) {
        SCOPED_TRACE(spaceAt);
        std::string name(300, 'N');
        name[spaceAt] = ' ';
        const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + name + ";}}\\f0 x}";
        Result<ReadOutcome> first = readRtf(bytesOf(rtf));
        ASSERT_TRUE(first);
        const std::u16string &face = first->document.paragraphs[0].runs[0].format.faceName;
        EXPECT_LE(face.size(), 256u);
        EXPECT_NE(face.back(), u' ');
        Result<ReadOutcome> second = readRtf(writeRtf(first->document));
        ASSERT_TRUE(second);
        EXPECT_EQ(second->document, first->document);
    }
}

// A document that uses every property of the model.
RichDocument everyProperty() {
    RichDocument doc;
    doc.paragraphs.clear();
    CharFormat tamil;
    tamil.faceName = u"Latha";
    tamil.sizeTwips = 280;
    tamil.bold = true;
    tamil.textColor = Rgb{200, 10, 20};
    CharFormat hindi;
    hindi.faceName = u"Mangal";
    hindi.italic = true;
    hindi.underline = true;
    hindi.backColor = Rgb{255, 255, 0};
    CharFormat sinhala;
    sinhala.faceName = u"Iskoola Pota";
    sinhala.strikeOut = true;
    sinhala.charset = 1;
    CharFormat legacy;
    legacy.faceName = u"TAB-Anna";
    legacy.charset = 2;
    CharFormat cyrillic;
    cyrillic.faceName = u"Arial \u041A"; // a face name outside ASCII
    cyrillic.charset = 204;

    Paragraph p1;
    p1.format.alignment = Alignment::Center;
    p1.format.startIndentTwips = 720;
    p1.format.rightIndentTwips = 144;
    p1.format.firstLineIndentTwips = -360;
    p1.format.tabStops = {{1440, TabAlignment::Left},
                          {2880, TabAlignment::Center},
                          {4320, TabAlignment::Right},
                          {5000, TabAlignment::Decimal}};
    p1.runs = {{tamil, u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD {x} \\ \t", -1},
               {hindi, u"\u0939\u093F\u0928\u094D\u0926\u0940\u2028caf\u00E9 \u20AC", -1},
               {sinhala, u"\u0DC3\u0DD2\u0D82\u0DC4\u0DBD", -1}};
    doc.paragraphs.push_back(p1);

    Paragraph legacyPara;
    legacyPara.runs = {{legacy, u"\u00aa\u00e8\u0081\u20ac", -1}, {cyrillic, u"\u0416", -1}};
    doc.paragraphs.push_back(legacyPara);

    const ListStyle styles[] = {ListStyle::Bullet,      ListStyle::Arabic,
                                ListStyle::LowerLetter, ListStyle::UpperLetter,
                                ListStyle::LowerRoman,  ListStyle::UpperRoman};
    const NumberSuffix suffixes[] = {NumberSuffix::Period, NumberSuffix::Parenthesis,
                                     NumberSuffix::Parentheses, NumberSuffix::Plain};
    int n = 0;
    for (ListStyle s : styles) {
        for (int level = 0; level < 2; ++level) {
            Paragraph item;
            item.format.listStyle = s;
            item.format.numberSuffix =
                s == ListStyle::Bullet ? NumberSuffix::Period : suffixes[n % 4];
            item.format.numberingStart = 1 + n % 3;
            item.format.listLevel = level;
            item.format.numberingTabTwips = 360 * level;
            item.format.startIndentTwips = 720 * (level + 1);
            item.format.firstLineIndentTwips = -360;
            item.runs = {{CharFormat{}, u"item " + std::u16string(1, u'A' + n), -1}};
            doc.paragraphs.push_back(item);
            ++n;
        }
    }
    Paragraph pictures;
    pictures.format.alignment = Alignment::Right;
    doc.pictures = {{PictureFormat::Png, {0x89, 'P', 'N', 'G', 0, 1, 2}, 16, 8, 240, 120, {}, {}},
                    {PictureFormat::Jpeg, {0xff, 0xd8, 0xff, 0xe0}, 0, 0, 0, 0, {}, {}},
                    {PictureFormat::Dib, {40, 0, 0, 0}, 1, 1, 15, 15, {}, {}},
                    {PictureFormat::Emf, {1, 0, 0, 0}, 100, 100, 1000, 1000, {}, {}},
                    {PictureFormat::Wmf, {1, 0, 9, 0}, 50, 50, 500, 500, {}, {}}};
    pictures.runs = {{tamil, u"\uFFFC", 0},        {CharFormat{}, u"between", -1},
                     {CharFormat{}, u"\uFFFC", 1}, {hindi, u"\uFFFC", 2},
                     {hindi, u"\uFFFC", 3},        {hindi, u"\uFFFC", 4}};
    doc.paragraphs.push_back(pictures);
    doc.paragraphs.push_back(Paragraph{}); // an empty paragraph at the end
    return doc;
}

TEST(RtfWriter, EveryPropertyRoundTrips) {
    const RichDocument original = everyProperty();
    const Bytes rtf = writeRtf(original);
    Result<ReadOutcome> back = readRtf(rtf);
    ASSERT_TRUE(back) << back.error().describe();
    EXPECT_TRUE(back->warnings.empty());
    const RichDocument &doc = back->document;
    ASSERT_EQ(doc.paragraphs.size(), original.paragraphs.size());
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        SCOPED_TRACE("paragraph " + std::to_string(i));
        EXPECT_EQ(doc.paragraphs[i].format, original.paragraphs[i].format);
        ASSERT_EQ(doc.paragraphs[i].runs.size(), original.paragraphs[i].runs.size());
        for (std::size_t k = 0; k < doc.paragraphs[i].runs.size(); ++k) {
            SCOPED_TRACE("run " + std::to_string(k));
            EXPECT_EQ(doc.paragraphs[i].runs[k].format, original.paragraphs[i].runs[k].format);
            EXPECT_EQ(hexUnits(doc.paragraphs[i].runs[k].text),
                      hexUnits(original.paragraphs[i].runs[k].text));
            EXPECT_EQ(doc.paragraphs[i].runs[k].pictureIndex,
                      original.paragraphs[i].runs[k].pictureIndex);
        }
    }
    EXPECT_EQ(doc.pictures, original.pictures);
    EXPECT_EQ(doc, original);
    // And writing again gives the same bytes.
    EXPECT_EQ(writeRtf(doc), rtf);
}

TEST(RtfWriter, SmallDocumentsRoundTrip) {
    std::vector<RichDocument> docs(4);
    docs[1] = RichDocument::fromPlainText(u"a\n\nb");
    docs[2] = RichDocument::fromPlainText(u"\n");
    docs[3] = RichDocument::fromPlainText(u"only\n");
    for (const RichDocument &d : docs) {
        SCOPED_TRACE(utf16ToUtf8(d.plainText(u"|")));
        Result<ReadOutcome> back = readRtf(writeRtf(d));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->document, d);
    }
}

TEST(RtfWriter, NonAsciiTextHasAnAnsiFallback) {
    RichDocument doc = RichDocument::fromPlainText(u"caf\u00E9 \u0B95");
    const Bytes rtf = writeRtf(doc);
    const std::string s(rtf.begin(), rtf.end());
    EXPECT_NE(s.find("caf\\u233\\'e9 \\u2965?"), std::string::npos) << s;
}

TEST(DocumentFiles, RtfThroughTvlGivesTheSameText) {
    const RichDocument doc = everyProperty();
    Bytes rtf = writeRtf(doc);
    const auto store = [](std::string_view name, const RichDocument &d) {
        Bytes out;
        BytesSink sink(out);
        EXPECT_TRUE(StoreDocumentBody(name, d, PageLayout{}, sink));
        return out;
    };
    Result<LoadedDocument> fromRtf = LoadDocumentBody("a.rtf", rtf);
    ASSERT_TRUE(fromRtf);
    const Bytes direct = store("a.txt", fromRtf->document);
    const Bytes tvl = store("a.tvl", fromRtf->document);
    Result<LoadedDocument> fromTvl = LoadDocumentBody("a.tvl", tvl);
    ASSERT_TRUE(fromTvl);
    EXPECT_EQ(fromTvl->document, fromRtf->document);
    EXPECT_EQ(store("a.txt", fromTvl->document), direct);
}

} // namespace
} // namespace tarvellite

namespace tarvellite {
namespace {

// RTF written once by LibreOffice from libreoffice-indic.fodt: Tamil, Hindi and Sinhala text,
// a bulleted list, a two-level numbered list, a table and a PNG picture (red.png).
TEST(RtfReader, LibreOfficeFixture) {
    const std::string dir = TARVELLITE_SOURCE_DIR "/tests/data/document/";
    Result<Bytes> bytes = readWholeFile(dir + "libreoffice-indic.rtf", 1u << 20);
    ASSERT_TRUE(bytes);
    Result<ReadOutcome> r = readRtf(*bytes);
    ASSERT_TRUE(r) << r.error().describe();
    const RichDocument &doc = r->document;
    EXPECT_EQ(utf16ToUtf8(doc.plainText(u"|", u"/", true)),
              "தமிழ் கடிதம் எழுதுங்கள்|हिन्दी में लिखें|සිංහල භාෂාව|முதல்|இரண்டாம்|one|sub|two|"
              "அ\tआ|ඇ\tend|picture:  done");
    ASSERT_EQ(doc.paragraphs.size(), 11u);
    EXPECT_EQ(doc.paragraphs[0].format.alignment, Alignment::Center);
    bool boldWord = false;
    for (const tarvellite::Run &run : doc.paragraphs[0].runs)
        boldWord |= run.format.bold && run.text == u"கடிதம்";
    EXPECT_TRUE(boldWord);
    const std::vector<std::u16string> labels = doc.listLabels();
    EXPECT_EQ(labels[3], u"\u2022");
    EXPECT_EQ(labels[4], u"\u2022");
    EXPECT_EQ(labels[5], u"1.");
    EXPECT_EQ(labels[6], u"a)");
    EXPECT_EQ(labels[7], u"2.");
    ASSERT_EQ(doc.pictures.size(), 1u);
    Result<Bytes> png = readWholeFile(dir + "red.png", 1u << 20);
    ASSERT_TRUE(png);
    EXPECT_EQ(doc.pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(doc.pictures[0].bytes, *png);
    EXPECT_GT(doc.pictures[0].widthTwips, 0);
}

} // namespace
} // namespace tarvellite

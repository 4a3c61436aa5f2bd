// RTF reading and writing, and plain-text loading, on generated multi-megabyte documents with
// mixed formatting, lists, tables, pictures and Tamil, Hindi and Latin text.

#include "core/document/document_io.h"
#include "core/document/plain_text.h"
#include "core/document/rtf_reader.h"
#include "core/document/rtf_writer.h"

#include <benchmark/benchmark.h>
#include <string>

namespace tarvellite {
namespace {

// A document of about `paragraphs` paragraphs: formatted runs of Tamil, Hindi and Latin text,
// every tenth paragraph a bulleted or numbered item, every twentieth a table row, and a small
// picture every two hundred paragraphs.
RichDocument generate(int paragraphs) {
    RichDocument doc;
    doc.paragraphs.clear();
    const std::u16string tamil = u"தமிழ் மொழியில் எழுதப்பட்ட ஒரு நீண்ட வாக்கியம் இது. ";
    const std::u16string hindi = u"यह हिन्दी में लिखा गया एक वाक्य है। ";
    const std::u16string latin = u"The quick brown fox jumps over the lazy dog, again. ";
    CharFormat plain, bold, colored, indic;
    plain.faceName = u"Times New Roman";
    bold = plain;
    bold.bold = true;
    colored = plain;
    colored.textColor = Rgb{200, 0, 0};
    colored.italic = true;
    indic.faceName = u"Latha";
    indic.sizeTwips = 280;
    for (int i = 0; i < paragraphs; ++i) {
        Paragraph p;
        if (i % 10 == 5) {
            p.format.listStyle = i % 20 == 5 ? ListStyle::Bullet : ListStyle::Arabic;
            p.format.startIndentTwips = 720;
            p.format.firstLineIndentTwips = -360;
        }
        if (i % 20 == 7) {
            p.runs = {{plain, u"cell one\tcell two\t", -1}, {indic, tamil, -1}};
        } else {
            p.runs = {{indic, tamil, -1},
                      {plain, latin, -1},
                      {bold, u"bold words ", -1},
                      {indic, hindi, -1},
                      {colored, latin, -1}};
        }
        if (i % 200 == 0) {
            doc.pictures.push_back(
                Picture{PictureFormat::Png, Bytes(2000, 0x5A), 32, 32, 480, 480, {}, {}});
            p.runs.push_back({plain, u"\uFFFC", static_cast<int>(doc.pictures.size() - 1)});
        }
        doc.paragraphs.push_back(std::move(p));
    }
    return doc;
}

// The same document as Word would write it: tables as \trowd rows with \cell, Tamil as \uN
// with a fallback, formatting switched with control words rather than groups.
std::string wordStyleRtf(int paragraphs) {
    std::string s = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New "
                    "Roman;}{\\f1\\fnil\\fcharset0 Latha;}}{\\colortbl;\\red200\\green0\\blue0;}"
                    "{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
                    "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\n";
    const std::string tamil = "\\u2980\\'3f\\u2990\\'3f\\u3007\\'3f\\u2996\\'3f\\u3021\\'3f ";
    for (int i = 0; i < paragraphs; ++i) {
        if (i % 20 == 7) {
            s += "\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\f0 cell one\\cell cell "
                 "two\\cell\\row\n";
            continue;
        }
        s += "\\pard\\plain\\ql";
        if (i % 10 == 5)
            s += "\\ls1\\fi-360\\li720{\\listtext 1.\\tab}";
        s += "\\f1\\fs28 " + tamil + tamil +
             "\\f0\\fs24 The quick brown fox jumps over the lazy "
             "dog, again. \\b bold words\\b0  \\cf1\\i italic and red\\i0\\cf0  "
             "r\\'e9sum\\'e9 na\\'efve \\ldblquote quoted\\rdblquote\\par\n";
    }
    s += "}";
    return s;
}

void readBytes(benchmark::State &state, const Bytes &rtf) {
    for (auto _ : state) {
        Result<ReadOutcome> r = readRtf(rtf);
        if (!r)
            state.SkipWithError(r.error().describe().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rtf.size()));
    state.counters["MB"] = static_cast<double>(rtf.size()) / 1e6;
}

void BM_ReadOwnRtf(benchmark::State &state) {
    static const Bytes rtf = writeRtf(generate(static_cast<int>(state.range(0))));
    readBytes(state, rtf);
}
BENCHMARK(BM_ReadOwnRtf)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ReadWordStyleRtf(benchmark::State &state) {
    static const std::string s = wordStyleRtf(static_cast<int>(state.range(0)));
    static const Bytes rtf(s.begin(), s.end());
    readBytes(state, rtf);
}
BENCHMARK(BM_ReadWordStyleRtf)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State &state) {
    static const RichDocument doc = generate(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        Bytes out = writeRtf(doc);
        bytes = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteRtf)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_LoadPlainText(benchmark::State &state) {
    static const Bytes text =
        encodePlainText(generate(static_cast<int>(state.range(0))).plainText(u"\r\n"));
    for (auto _ : state) {
        Result<LoadedDocument> r = LoadDocumentBody("a.txt", text);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LoadPlainText)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tarvellite

BENCHMARK_MAIN();

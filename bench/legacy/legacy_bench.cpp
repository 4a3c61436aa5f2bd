// Speed of the legacy Tamil converter: one call per word as the program makes them, and whole
// texts through the word walker. Throughput is in bytes of legacy text.

#include "core/document/document_io.h"
#include "core/legacy/legacy_converter.h"
#include "core/legacy/legacy_runs.h"
#include "core/legacy/legacy_words.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

using namespace tarvellite;

namespace {

// Legacy words of Tamil prose: letters, vowel signs before and after them, conjunct bytes.
const std::vector<std::string> sampleWords = {
    "\xAA\xE8\xA3\x87\xEC\xA3\x86\xEC\x8B", // கொண்டாட்டம்
    "\xEE\x49\x9B",                         // தமிழ்
    "\xEF\xA3\xB4",                         // நாடு
    "\xF5\xED\x82\xE8\x8B,",                // வணக்கம்,
    "\xAA\xE8\xF7\xF3\xF5\x8B",             // கௌரவம்
    "\xAB\xEE\x98",                         // தேர்
    "\xF1\xAC\xF4",                         // மலை
    "\xAA\xF0\x87\xE8\x9C",                 // பெண்கள்
    "\xFF",                                 // ஸ்ரீ
};

// About `size` bytes of words separated by spaces and line ends.
std::string legacyText(std::size_t size) {
    std::mt19937 random(2813);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += sampleWords[random() % sampleWords.size()];
        text += random() % 12 == 0 ? "\r\n" : " ";
    }
    return text;
}

void BM_ConvertLegacyTextPerWord(benchmark::State &state) {
    const std::string text = legacyText(1 << 20);
    std::vector<std::u16string> words;
    std::size_t bytes = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || static_cast<unsigned char>(text[i]) <= 0x20) {
            if (i > start) {
                std::u16string word;
                for (std::size_t k = start; k < i; ++k)
                    word.push_back(static_cast<unsigned char>(text[k]));
                words.push_back(std::move(word));
                bytes += i - start;
            }
            start = i + 1;
        }
    }
    std::u16string out;
    for (auto _ : state) {
        for (const std::u16string &w : words)
            benchmark::DoNotOptimize(ConvertLegacyText(w, false, out));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_ConvertLegacyTextPerWord)->Unit(benchmark::kMillisecond);

void BM_ConvertLegacyText254(benchmark::State &state) {
    std::string text = legacyText(254 * 4096);
    std::u16string out;
    for (auto _ : state) {
        for (std::size_t at = 0; at + 254 <= text.size(); at += 254)
            benchmark::DoNotOptimize(
                appendLegacyBytes(std::string_view(text).substr(at, 254), false, out));
        out.clear();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * (text.size() / 254) * 254));
}
BENCHMARK(BM_ConvertLegacyText254)->Unit(benchmark::kMillisecond);

void BM_WalkLegacyBytes(benchmark::State &state) {
    const std::string text = legacyText(static_cast<std::size_t>(state.range(0)));
    const bool isTab = state.range(1) != 0;
    for (auto _ : state) {
        std::u16string out;
        benchmark::DoNotOptimize(appendLegacyWords(text, isTab, out));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_WalkLegacyBytes)
    ->Args({1 << 20, 0})
    ->Args({1 << 20, 1})
    ->Unit(benchmark::kMillisecond);

void BM_WalkLegacyDocumentText(benchmark::State &state) {
    const std::string bytes = legacyText(1 << 20);
    std::u16string text;
    for (char c : bytes)
        text.push_back(static_cast<unsigned char>(c));
    for (auto _ : state) {
        std::u16string out;
        benchmark::DoNotOptimize(appendLegacyWords(text, false, out));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_WalkLegacyDocumentText)->Unit(benchmark::kMillisecond);

// A document of `words` legacy words: paragraphs of about 60 words, each paragraph a few runs of
// TAM text (a bold word now and then) between runs of English.
RichDocument legacyDocument(std::size_t words) {
    std::mt19937 random(1000);
    RichDocument doc;
    doc.paragraphs.clear();
    CharFormat tam;
    tam.faceName = u"TAMLatha";
    CharFormat tamBold = tam;
    tamBold.bold = true;
    CharFormat english;
    english.faceName = u"Arial";
    std::size_t made = 0;
    while (made < words) {
        Paragraph p;
        p.runs.push_back(Run{english, u"Chapter ", -1});
        std::u16string text;
        for (int k = 0; k < 60 && made < words; ++k, ++made) {
            const std::string &w = sampleWords[random() % sampleWords.size()];
            if (random() % 20 == 0) {
                p.runs.push_back(Run{tam, text, -1});
                std::u16string bold;
                for (char c : w)
                    bold.push_back(static_cast<unsigned char>(c));
                p.runs.push_back(Run{tamBold, bold, -1});
                text = u" ";
                continue;
            }
            for (char c : w)
                text.push_back(static_cast<unsigned char>(c));
            text.push_back(u' ');
        }
        p.runs.push_back(Run{tam, text, -1});
        doc.paragraphs.push_back(std::move(p));
    }
    doc.normalize();
    return doc;
}

void BM_ConvertLegacyRuns(benchmark::State &state) {
    const RichDocument original = legacyDocument(static_cast<std::size_t>(state.range(0)));
    LegacyConversionOptions options;
    options.defaultUnicodeFont = u"Vijaya";
    options.isFontInstalled = [](std::u16string_view f) { return f == u"Latha"; };
    std::size_t progressCalls = 0;
    options.progress = [&](std::size_t, std::size_t) { ++progressCalls; };
    for (auto _ : state) {
        state.PauseTiming();
        RichDocument doc = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(ConvertLegacyRuns(doc, options));
    }
    state.counters["words"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ConvertLegacyRuns)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Opening a legacy RTF file as the program does: read it, find the legacy fonts, convert.
void BM_OpenLegacyRtf(benchmark::State &state) {
    const RichDocument original = legacyDocument(static_cast<std::size_t>(state.range(0)));
    Bytes rtf;
    BytesSink sink(rtf);
    if (!StoreDocumentBody("legacy.rtf", original, PageLayout{}, sink)) {
        state.SkipWithError("cannot write the RTF");
        return;
    }
    LegacyConversionOptions options;
    options.defaultUnicodeFont = u"Vijaya";
    options.isFontInstalled = [](std::u16string_view f) { return f == u"Latha"; };
    for (auto _ : state) {
        Result<LoadedDocument> loaded = LoadDocumentBody("legacy.rtf", rtf);
        if (!loaded || !loaded->hasLegacyFonts) {
            state.SkipWithError("the RTF does not read back with its legacy fonts");
            return;
        }
        benchmark::DoNotOptimize(ConvertLegacyRuns(loaded->document, options));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
    state.counters["words"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenLegacyRtf)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

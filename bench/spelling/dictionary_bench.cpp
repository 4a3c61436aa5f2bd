// Load time, checking throughput, suggestion and prefix lookup latency on the shipped
// dictionaries (build/bin/DictionaryFiles).

#include "bench_words.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <map>
#include <memory>

namespace tarvellite::bench {
namespace {

const char *const locales[] = {"en-US", "hi-IN", "kn-IN", "ta-IN", "te-IN", "ml-IN", "si-LK"};

CDictionary &loaded(const std::string &locale) {
    static std::map<std::string, std::unique_ptr<CDictionary>> cache;
    auto &d = cache[locale];
    if (!d) {
        d = std::make_unique<CDictionary>();
        d->Load(dictionaryPath(locale), "", false);
        d->waitForLookupTables();
    }
    return *d;
}

void Load(benchmark::State &state, std::string locale) {
    for (auto _ : state) {
        CDictionary d;
        if (!d.Load(dictionaryPath(locale), "", false))
            state.SkipWithError("dictionary not built");
        benchmark::DoNotOptimize(d.wordCount());
    }
}

// Load and the first check, which builds the lookup table that the check needs.
void LoadThenCheck(benchmark::State &state, std::string locale) {
    const std::u16string probe(loaded(locale).word(loaded(locale).wordCount() / 2));
    for (auto _ : state) {
        CDictionary d;
        if (!d.Load(dictionaryPath(locale), "", false))
            state.SkipWithError("dictionary not built");
        benchmark::DoNotOptimize(d.CheckWord(probe));
    }
}

// Checks the words in turn, one per iteration.
void checkEach(benchmark::State &state, const CDictionary &d,
               const std::vector<std::u16string> &words) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.CheckWord(words[i]));
        if (++i == words.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void CheckCorrect(benchmark::State &state, std::string locale) {
    const CDictionary &d = loaded(locale);
    const auto words = sampleWords(d, 10000, 2, 1);
    if (words.empty())
        return state.SkipWithError("dictionary not built");
    checkEach(state, d, words);
}

// The words of the list the dictionary was made from, as that list spells them (joiners, old
// chillus), in its order.
std::vector<std::u16string> sourceList(const std::string &locale) {
    std::ifstream in(std::string(TARVELLITE_WORDLIST_DIR) + "/" + locale + ".txt",
                     std::ios::binary);
    std::vector<std::u16string> words;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.size() >= 2)
            words.push_back(utf8ToUtf16(line));
    }
    return words;
}

void CheckSourceList(benchmark::State &state, std::string locale) {
    const CDictionary &d = loaded(locale);
    const std::vector<std::u16string> words = sourceList(locale);
    if (words.empty() || d.wordCount() == 0)
        return state.SkipWithError("word list or dictionary not built");
    checkEach(state, d, words);
}

// One-edit misspellings of words of that list as it spells them, which is how they come in
// text: joiners and old chillus stay.
void CheckSourceMisspelt(benchmark::State &state, std::string locale) {
    const CDictionary &d = loaded(locale);
    const std::u16string alphabet = alphabetOf(d);
    const std::vector<std::u16string> list = sourceList(locale);
    std::mt19937 rng(7);
    std::vector<std::u16string> words;
    for (std::size_t i = 0; i < list.size() && words.size() < 10000; i += 1 + list.size() / 20000) {
        std::u16string w = list[i];
        if (corrupt(d, alphabet, w, static_cast<Corruption>(words.size() % 3), rng))
            words.push_back(std::move(w));
    }
    if (words.empty())
        return state.SkipWithError("word list or dictionary not built");
    checkEach(state, d, words);
}

void CheckCorrupted(benchmark::State &state, std::string locale) {
    const CDictionary &d = loaded(locale);
    const std::u16string alphabet = alphabetOf(d);
    std::mt19937 rng(2);
    std::vector<std::u16string> words;
    for (std::u16string w : sampleWords(d, 10000, 4, 3))
        if (corrupt(d, alphabet, w, static_cast<Corruption>(words.size() % 3), rng))
            words.push_back(w);
    if (words.empty())
        return state.SkipWithError("dictionary not built");
    checkEach(state, d, words);
}

void Suggest(benchmark::State &state, std::string locale) {
    CDictionary &d = loaded(locale);
    const std::u16string alphabet = alphabetOf(d);
    std::mt19937 rng(4);
    std::vector<std::u16string> words;
    for (std::u16string w : sampleWords(d, 300, 4, 5))
        if (corrupt(d, alphabet, w, static_cast<Corruption>(words.size() % 3), rng))
            words.push_back(w);
    if (words.empty())
        return state.SkipWithError("dictionary not built");
    std::vector<std::u16string> out;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.GetSuggestions(out, words[i]));
        if (++i == words.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void LookupPrefix(benchmark::State &state, std::string locale) {
    const CDictionary &d = loaded(locale);
    std::vector<std::u16string> prefixes;
    for (const auto &w : sampleWords(d, 1000, 4, 6))
        prefixes.push_back(w.substr(0, 2 + prefixes.size() % 3));
    if (prefixes.empty())
        return state.SkipWithError("dictionary not built");
    std::vector<std::u16string> out;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.LookupPrefix(prefixes[i], defaultLookupCount, out));
        if (++i == prefixes.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

const int registered = [] {
    setMessageEcho(false);
    for (const char *l : locales) {
        benchmark::RegisterBenchmark((std::string("Load/") + l).c_str(), Load, l)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("LoadThenCheck/") + l).c_str(), LoadThenCheck, l)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("CheckCorrect/") + l).c_str(), CheckCorrect, l);
        benchmark::RegisterBenchmark((std::string("CheckSourceList/") + l).c_str(), CheckSourceList,
                                     l);
        benchmark::RegisterBenchmark((std::string("CheckCorrupted/") + l).c_str(), CheckCorrupted,
                                     l);
        benchmark::RegisterBenchmark((std::string("CheckSourceMisspelt/") + l).c_str(),
                                     CheckSourceMisspelt, l);
        benchmark::RegisterBenchmark((std::string("Suggest/") + l).c_str(), Suggest, l)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("LookupPrefix/") + l).c_str(), LookupPrefix, l)
            ->Unit(benchmark::kMicrosecond);
    }
    return 0;
}();

} // namespace
} // namespace tarvellite::bench

BENCHMARK_MAIN();

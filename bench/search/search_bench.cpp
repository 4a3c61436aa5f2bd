// Change All over a 10 MB text: finding every whole-word occurrence of a common word and
// building the changed text.

#include "core/search/text_search.h"

#include <benchmark/benchmark.h>

using namespace tarvellite::search;

namespace {

/// About `bytes` of UTF-16 text: Tamil and Latin words in lines, with the common words
/// "தமிழ்" and "tamil" among them.
std::u16string sampleText(std::size_t bytes) {
    static const std::u16string words[] = {u"தமிழ்",   u"மொழி", u"கல்வி",     u"tamil", u"நாடு",
                                           u"tamils", u"உலகம்", u"தமிழ்நாடு", u"text",  u"கடை"};
    std::u16string text;
    text.reserve(bytes / 2 + 64);
    std::size_t n = 0;
    while (text.size() * 2 < bytes) {
        text += words[(n * 7 + n / 3) % 10];
        text += ++n % 12 == 0 ? u'\n' : u' ';
    }
    return text;
}

void changeAll(benchmark::State &state, std::u16string needle, std::u16string replacement) {
    const std::u16string text = sampleText(10u << 20);
    std::size_t count = 0;
    for (auto _ : state) {
        const auto found = findAll(text, needle, true);
        std::u16string changed = replaceAt(text, found, needle.size(), replacement);
        benchmark::DoNotOptimize(changed.data());
        count = found.size();
    }
    state.counters["replaced"] = double(count);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size() * 2));
}

void ChangeAllTamil10MB(benchmark::State &state) {
    changeAll(state, u"தமிழ்", u"தமிழ");
}
void ChangeAllLatin10MB(benchmark::State &state) {
    changeAll(state, u"tamil", u"Tamil");
}

BENCHMARK(ChangeAllTamil10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangeAllLatin10MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

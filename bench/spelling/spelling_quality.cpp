// Suggestion quality and latency on words with one unit deleted, transposed or substituted:
// how often the intended word is among the suggestions and how often it is first, with the
// median and 95th percentile CPU time of one GetSuggestions call, and checking throughput. With
// --hunspell BASE (BASE.dic/BASE.aff) the same words go to hunspell for comparison.
//
// usage: spelling_quality LOCALE [--count N] [--hunspell BASE]

#include "bench_words.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#ifdef TARVELLITE_WITH_HUNSPELL
#include <hunspell/hunspell.hxx>
#endif

namespace {

using namespace tarvellite;
using namespace tarvellite::bench;
// CPU time of this thread: the machine is shared, so wall time says little.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<Clock>;
    static constexpr bool is_steady = true;
    static time_point now() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return time_point(duration(std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec));
    }
};

struct Tally {
    std::size_t words = 0, found = 0, first = 0;
    std::vector<double> micros;
    void print(const char *who) {
        std::sort(micros.begin(), micros.end());
        const double median = micros.empty() ? 0 : micros[micros.size() / 2];
        const double p95 = micros.empty() ? 0 : micros[micros.size() * 95 / 100];
        std::printf("  %-10s found %5.1f%%  first %5.1f%%  median %8.3f ms  p95 %8.3f ms\n", who,
                    100.0 * found / std::max<std::size_t>(words, 1),
                    100.0 * first / std::max<std::size_t>(words, 1), median / 1000, p95 / 1000);
    }
};

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: spelling_quality LOCALE [--count N] [--hunspell BASE]\n");
        return 2;
    }
    setMessageEcho(false);
    const std::string locale = argv[1];
    std::size_t count = 600;
    std::string hunspellBase;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--count"))
            count = static_cast<std::size_t>(std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--hunspell"))
            hunspellBase = argv[i + 1];
    }
    CDictionary d;
    if (!d.Load(dictionaryPath(locale), "", false)) {
        std::fprintf(stderr, "cannot load %s\n", dictionaryPath(locale).c_str());
        return 1;
    }
    const std::u16string alphabet = alphabetOf(d);
    std::mt19937 rng(7);
    struct Pair {
        std::u16string intended, typed;
    };
    std::vector<Pair> pairs;
    for (const std::u16string &w : sampleWords(d, count * 2, 4, 8)) {
        std::u16string typed = w;
        if (corrupt(d, alphabet, typed, static_cast<Corruption>(pairs.size() % 3), rng))
            pairs.push_back({w, typed});
        if (pairs.size() == count)
            break;
    }
    const auto correct = sampleWords(d, 20000, 2, 9);
    std::printf("%s: %zu corrupted words (delete, transpose, substitute in turn)\n", locale.c_str(),
                pairs.size());

    Tally ours;
    std::vector<std::u16string> out;
    for (const Pair &p : pairs) {
        const auto t0 = Clock::now();
        d.GetSuggestions(out, p.typed);
        ours.micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        ++ours.words;
        const auto at = std::find(out.begin(), out.end(), p.intended);
        ours.found += at != out.end();
        ours.first += at == out.begin() && at != out.end();
    }
    ours.print("TarvelLite");
    // Checking throughput on the dictionary's own words and on the corrupted ones, each list
    // checked `rounds` times; the best round counts (the machine may be shared).
    std::vector<std::u16string> typed;
    for (const Pair &p : pairs)
        typed.push_back(p.typed);
    const auto throughput = [](const auto &words, int rounds, auto &&check, std::size_t &accepted) {
        double best = 1e300;
        for (int round = 0; round < rounds; ++round) {
            accepted = 0;
            const auto t0 = Clock::now();
            for (const auto &w : words)
                accepted += check(w);
            best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
        }
        return words.size() / best / 1e6;
    };
    std::size_t accepted = 0, acceptedTyped = 0;
    const auto ourCheck = [&](const std::u16string &w) { return d.CheckWord(w); };
    const double ourCorrect = throughput(correct, 10, ourCheck, accepted);
    const double ourTyped = throughput(typed, 10, ourCheck, acceptedTyped);
    std::printf("  %-10s checks %.2f M words/s correct (%zu of %zu accepted), %.2f M/s corrupted\n",
                "TarvelLite", ourCorrect, accepted, correct.size(), ourTyped);

#ifdef TARVELLITE_WITH_HUNSPELL
    if (!hunspellBase.empty()) {
        Hunspell h((hunspellBase + ".aff").c_str(), (hunspellBase + ".dic").c_str());
        Tally theirs;
        for (const Pair &p : pairs) {
            const std::string typed = utf16ToUtf8(p.typed);
            const std::string intended = utf16ToUtf8(p.intended);
            const auto s0 = Clock::now();
            const std::vector<std::string> list = h.suggest(typed);
            theirs.micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - s0).count());
            ++theirs.words;
            const auto at = std::find(list.begin(), list.end(), intended);
            theirs.found += at != list.end();
            theirs.first += at == list.begin() && at != list.end();
        }
        theirs.print("hunspell");
        std::vector<std::string> utf8, typed8;
        for (const auto &w : correct)
            utf8.push_back(utf16ToUtf8(w));
        for (const auto &w : typed)
            typed8.push_back(utf16ToUtf8(w));
        const auto theirCheck = [&](const std::string &w) { return h.spell(w); };
        const double theirCorrect = throughput(utf8, 3, theirCheck, accepted);
        const double theirTyped = throughput(typed8, 3, theirCheck, acceptedTyped);
        std::printf(
            "  %-10s checks %.2f M words/s correct (%zu of %zu accepted), %.2f M/s corrupted\n",
            "hunspell", theirCorrect, accepted, utf8.size(), theirTyped);
        std::printf("  ratio      %.1fx correct, %.1fx corrupted\n", ourCorrect / theirCorrect,
                    ourTyped / theirTyped);
    }
#else
    if (!hunspellBase.empty())
        std::printf("  (built without hunspell: install libhunspell-dev and reconfigure)\n");
#endif
    return 0;
}

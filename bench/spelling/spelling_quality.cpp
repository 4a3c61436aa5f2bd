// Spelling quality on the dictionary's source list as it comes (joiners and old chillus
// included): words with one code point deleted, swapped with its neighbour or replaced by
// another letter of the list, kept only when the result is no word of the list. Reports how
// many of these misspellings are accepted, how often the intended word is among the
// suggestions and how often it is first, the median and 95th percentile CPU time of one
// suggestion call, how many words of the list are rejected, and checking throughput. With
// --hunspell BASE (BASE.dic/BASE.aff) the same words go to hunspell in the same run.
//
// usage: spelling_quality LOCALE [--count N] [--list FILE] [--hunspell BASE] [--show 1]
// (--show 1 lists the misspellings that were accepted)

#include "bench_words.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/normalize.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unordered_set>

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
    std::size_t words = 0, found = 0, first = 0, accepted = 0;
    std::vector<double> micros;
    void print(const char *who) {
        std::sort(micros.begin(), micros.end());
        const double median = micros.empty() ? 0 : micros[micros.size() / 2];
        const double p95 = micros.empty() ? 0 : micros[micros.size() * 95 / 100];
        std::printf("  %-10s accepted %5.2f%%  found %5.1f%%  first %5.1f%%  median %8.3f ms  p95 "
                    "%8.3f ms\n",
                    who, 100.0 * accepted / std::max<std::size_t>(words, 1),
                    100.0 * found / std::max<std::size_t>(words, 1),
                    100.0 * first / std::max<std::size_t>(words, 1), median / 1000, p95 / 1000);
    }
};

std::vector<std::u16string> readList(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::u16string> out;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty())
            out.push_back(utf8ToUtf16(line));
    }
    return out;
}

// The form words are compared in: the stored form, Latin in lower case.
std::u16string comparable(std::u16string_view w) {
    std::u16string s = normalizedWord(w);
    for (char16_t &c : s)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return s;
}

bool isJoiner(char16_t c) {
    return c == 0x200C || c == 0x200D;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: spelling_quality LOCALE [--count N] [--list FILE] [--hunspell "
                             "BASE] [--show 1]\n");
        return 2;
    }
    setMessageEcho(false);
    const std::string locale = argv[1];
    std::size_t count = 600;
    std::string hunspellBase;
    bool show = false;
    std::string listPath = std::string(TARVELLITE_WORDLIST_DIR) + "/" + locale + ".txt";
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--count"))
            count = static_cast<std::size_t>(std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--hunspell"))
            hunspellBase = argv[i + 1];
        else if (!std::strcmp(argv[i], "--list"))
            listPath = argv[i + 1];
        else if (!std::strcmp(argv[i], "--show"))
            show = std::atoi(argv[i + 1]) != 0;
    }
    CDictionary d;
    if (!d.Load(dictionaryPath(locale), "", false)) {
        std::fprintf(stderr, "cannot load %s\n", dictionaryPath(locale).c_str());
        return 1;
    }
    const std::vector<std::u16string> list = readList(listPath);
    if (list.empty()) {
        std::fprintf(stderr, "cannot read the word list %s\n", listPath.c_str());
        return 1;
    }
    std::unordered_set<std::u16string> known;
    std::vector<bool> seen(0x10000);
    for (const std::u16string &w : list) {
        known.insert(comparable(w));
        for (char16_t c : w)
            seen[c] = true;
    }
    // Replacement letters: the list's own letters of the dictionary's script (Latin: a to z).
    std::u16string alphabet;
    for (std::size_t c = 0; c < seen.size(); ++c) {
        const bool letter =
            d.latin() ? (c >= u'a' && c <= u'z')
                      : (static_cast<std::int32_t>(c) >= d.minChar() &&
                         static_cast<std::int32_t>(c) <= d.maxChar() && c >= 0x0900 && c <= 0x0DFF);
        if (seen[c] && letter)
            alphabet.push_back(static_cast<char16_t>(c));
    }
    std::mt19937 rng(7);
    struct Pair {
        std::u16string intended, typed;
    };
    std::vector<Pair> pairs;
    std::uniform_int_distribution<std::size_t> pickWord(0, list.size() - 1);
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    for (std::size_t tries = 0; pairs.size() < count && tries < count * 50; ++tries) {
        const std::u16string &w = list[pickWord(rng)];
        if (w.size() < 4 || w.size() > 32)
            continue;
        std::u16string typed = w;
        std::uniform_int_distribution<std::size_t> at(1, w.size() - 1);
        const std::size_t i = at(rng);
        switch (pairs.size() % 3) {
        case 0: typed.erase(i, 1); break;
        case 1:
            if (i + 1 >= typed.size())
                continue;
            std::swap(typed[i], typed[i + 1]);
            break;
        default: typed[i] = alphabet[letter(rng)]; break;
        }
        if (known.count(comparable(typed)))
            continue; // still a word (or the same word) of the list
        pairs.push_back({w, typed});
    }
    std::vector<std::u16string> correct;
    for (const std::u16string &w : list)
        if (w.size() >= 2)
            correct.push_back(w);
    std::printf("%s: %zu misspellings of %zu list words (delete, swap, replace in turn)\n",
                locale.c_str(), pairs.size(), list.size());

    Tally ours;
    std::vector<std::u16string> out;
    for (const Pair &p : pairs) {
        const bool accepted = d.CheckWord(p.typed);
        ours.accepted += accepted;
        if (show && accepted)
            std::printf("    accepted %s (meant %s)\n", utf16ToUtf8(p.typed).c_str(),
                        utf16ToUtf8(p.intended).c_str());
        const auto t0 = Clock::now();
        d.GetSuggestions(out, p.typed);
        ours.micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        ++ours.words;
        const std::u16string intended = comparable(p.intended);
        const auto at = std::find_if(out.begin(), out.end(), [&](const std::u16string &s) {
            return comparable(s) == intended;
        });
        ours.found += at != out.end();
        ours.first += at == out.begin() && at != out.end();
    }
    ours.print("TarvelLite");
    // Checking throughput on the list's words and on the misspellings, each list checked
    // `rounds` times; the best round counts (the machine may be shared).
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
    const double ourCorrect = throughput(correct, 3, ourCheck, accepted);
    const double ourTyped = throughput(typed, 10, ourCheck, acceptedTyped);
    std::printf("  %-10s checks %.2f M words/s on the list (%zu of %zu rejected), %.2f M/s "
                "misspelt\n",
                "TarvelLite", ourCorrect, correct.size() - accepted, correct.size(), ourTyped);

#ifdef TARVELLITE_WITH_HUNSPELL
    if (!hunspellBase.empty()) {
        Hunspell h((hunspellBase + ".aff").c_str(), (hunspellBase + ".dic").c_str());
        Tally theirs;
        for (const Pair &p : pairs) {
            const std::string typed8 = utf16ToUtf8(p.typed);
            theirs.accepted += h.spell(typed8);
            const auto s0 = Clock::now();
            const std::vector<std::string> suggested = h.suggest(typed8);
            theirs.micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - s0).count());
            ++theirs.words;
            const std::u16string intended = comparable(p.intended);
            const auto at =
                std::find_if(suggested.begin(), suggested.end(), [&](const std::string &s) {
                    return comparable(utf8ToUtf16(s)) == intended;
                });
            theirs.found += at != suggested.end();
            theirs.first += at == suggested.begin() && at != suggested.end();
        }
        theirs.print("hunspell");
        std::vector<std::string> utf8, typed8;
        for (const auto &w : correct)
            utf8.push_back(utf16ToUtf8(w));
        for (const auto &w : typed)
            typed8.push_back(utf16ToUtf8(w));
        const auto theirCheck = [&](const std::string &w) { return h.spell(w); };
        const double theirCorrect = throughput(utf8, 1, theirCheck, accepted);
        const double theirTyped = throughput(typed8, 3, theirCheck, acceptedTyped);
        std::printf("  %-10s checks %.2f M words/s on the list (%zu of %zu rejected), %.2f M/s "
                    "misspelt\n",
                    "hunspell", theirCorrect, utf8.size() - accepted, utf8.size(), theirTyped);
        std::printf("  ratio      %.1fx list words, %.1fx misspelt\n", ourCorrect / theirCorrect,
                    ourTyped / theirTyped);
    }
#else
    if (!hunspellBase.empty())
        std::printf("  (built without hunspell: install libhunspell-dev and reconfigure)\n");
#endif
    return 0;
}

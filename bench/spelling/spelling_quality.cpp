// Spelling quality on the dictionary's source list as it comes (joiners and old chillus
// included), on two sets of misspellings, each kept only when it is no word of the list nor of
// any --known list:
//  - one edit: one code point deleted, swapped with its neighbour or replaced by another
//    letter of the script, in turn;
//  - typical confusions of Indic typing: a vowel sign or vowel written as its short or long
//    partner, a consonant as its confusable partner (na/nna/nnna, la/lla/llla, ra/rra,
//    sa/sha/ssa), or a virama or nukta dropped.
// Reports for each set how many misspellings are accepted, how often the intended word is
// among the suggestions and how often it is first, and the median and 95th percentile CPU time
// of one suggestion call; then how many words of the list are rejected (telling apart those no
// script could spell, which the dictionary leaves out on purpose) and checking throughput.
// With --hunspell BASE (BASE.dic/BASE.aff) and --aspell LANG the same words go to those
// checkers in the same run.
//
// usage: spelling_quality LOCALE [--count N] [--list FILE] [--known FILE]... [--hunspell BASE]
//                        [--aspell LANG] [--show 1|2] [--rules 1|2] [--checks-only 1]
// (--show 1 lists the misspellings that were accepted, 2 also those whose intended word was
// not first, with our first suggestion; --rules 1 tells what each suffix rule pays, 2 also by
// the last unit of its stems; --checks-only 1 leaves out the suggestions and the rules, which
// with hunspell take minutes, and times the checks alone)

#include "bench_words.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/normalize.h"
#include "core/spelling/syllables.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <unordered_set>

#ifdef TARVELLITE_WITH_HUNSPELL
#include <hunspell/hunspell.hxx>
#endif
#ifdef TARVELLITE_WITH_ASPELL
#include <aspell.h>
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

struct Pair {
    std::u16string intended, typed;
};

// Groups of letters typed one for another, and signs dropped, for the script whose block
// starts at `base`. The Brahmi-derived scripts but Sinhala share one layout of their blocks.
struct Confusions {
    std::vector<std::u16string> groups;
    std::u16string dropped;
};

Confusions confusionsFor(char16_t base) {
    Confusions c;
    const auto at = [base](std::initializer_list<int> offsets) {
        std::u16string g;
        for (int o : offsets)
            g.push_back(static_cast<char16_t>(base + o));
        return g;
    };
    if (base == 0x0D80) { // Sinhala
        c.groups = {at({0x52, 0x53}),      at({0x54, 0x56}), at({0x59, 0x5A}), at({0x5C, 0x5D}),
                    at({0x50, 0x51}),      at({0x09, 0x0A}), at({0x0B, 0x0C}), at({0x11, 0x12}),
                    at({0x14, 0x15}),      at({0x07, 0x08}), at({0x3D, 0x45}), at({0x31, 0x2B}),
                    at({0x43, 0x41, 0x42})};
        c.dropped = at({0x4A, 0x4F});
        return c;
    }
    // Vowel signs i/ii, u/uu, e/ee/ai, o/oo/au; vowels a/aa, i/ii, u/uu, e/ee/ai, o/oo/au;
    // na/nna/nnna, la/lla/llla, ra/rra, sa/sha/ssa.
    c.groups = {at({0x3F, 0x40}),       at({0x41, 0x42}),       at({0x46, 0x47, 0x48}),
                at({0x4A, 0x4B, 0x4C}), at({0x05, 0x06}),       at({0x07, 0x08}),
                at({0x09, 0x0A}),       at({0x0E, 0x0F, 0x10}), at({0x12, 0x13, 0x14}),
                at({0x28, 0x23, 0x29}), at({0x32, 0x33, 0x34}), at({0x30, 0x31}),
                at({0x38, 0x36, 0x37})};
    // The long a sign (against the inherent short a), the virama and the nukta.
    c.dropped = at({0x3E, 0x4D, 0x3C});
    return c;
}

// One typical confusion of `w`, chosen by `rng` among those that its letters allow; empty when
// none applies. Only letters in `seen` are put in.
std::u16string confuse(const std::u16string &w, const Confusions &c, const std::vector<bool> &seen,
                       std::mt19937 &rng) {
    std::vector<std::u16string> options;
    for (std::size_t i = 1; i < w.size(); ++i) {
        if (c.dropped.find(w[i]) != std::u16string::npos) {
            std::u16string t = w;
            t.erase(i, 1);
            options.push_back(std::move(t));
        }
        for (const std::u16string &g : c.groups) {
            if (g.find(w[i]) == std::u16string::npos)
                continue;
            for (char16_t other : g)
                if (other != w[i] && seen[other]) {
                    std::u16string t = w;
                    t[i] = other;
                    options.push_back(std::move(t));
                }
        }
    }
    if (options.empty())
        return {};
    return options[std::uniform_int_distribution<std::size_t>(0, options.size() - 1)(rng)];
}

// A spell checker under test: whether it accepts a word, and its suggestions.
struct Checker {
    std::string name;
    std::function<bool(const std::u16string &)> check;
    std::function<void(const std::u16string &, std::vector<std::u16string> &)> suggest;
};

Tally measure(const Checker &c, const std::vector<Pair> &pairs, int show) {
    Tally t;
    std::vector<std::u16string> out;
    for (const Pair &p : pairs) {
        const bool accepted = c.check(p.typed);
        t.accepted += accepted;
        if (show >= 1 && accepted)
            std::printf("    %s accepted %s (meant %s)\n", c.name.c_str(),
                        utf16ToUtf8(p.typed).c_str(), utf16ToUtf8(p.intended).c_str());
        const auto t0 = Clock::now();
        c.suggest(p.typed, out);
        t.micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        ++t.words;
        const std::u16string intended = comparable(p.intended);
        const auto at = std::find_if(out.begin(), out.end(), [&](const std::u16string &s) {
            return comparable(s) == intended;
        });
        t.found += at != out.end();
        t.first += at == out.begin() && at != out.end();
        if (show >= 2 && at != out.begin())
            std::printf("    %s %s: meant %s, first %s (%s)\n", c.name.c_str(),
                        utf16ToUtf8(p.typed).c_str(), utf16ToUtf8(p.intended).c_str(),
                        out.empty() ? "-" : utf16ToUtf8(out[0]).c_str(),
                        at == out.end() ? "not listed" : "listed later");
    }
    return t;
}

// Checking throughput: the best of several rounds over a list of words. A round goes through
// a short list several times: reading this clock is a system call, which costs microseconds
// and leaves the caches and the branch predictor the worse for it, and should not count
// against a thousand checks of a few dozen nanoseconds each.
struct Rate {
    static constexpr std::size_t minChecks = 20000;
    double best = 1e300;
    std::size_t words = 0, accepted = 0;
    void round(const auto &list, auto &&check) {
        const std::size_t passes =
            std::max<std::size_t>(1, minChecks / std::max<std::size_t>(list.size(), 1));
        const auto t0 = Clock::now();
        for (std::size_t pass = 0; pass < passes; ++pass)
            for (const auto &w : list)
                accepted += check(w);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
        words = list.size() * passes;
    }
    double perSecond() const { return static_cast<double>(words) / best / 1e6; }
};

void benchmarkSink(std::size_t value) {
    static volatile std::size_t sink;
    sink = value;
}

} // namespace

// What each suffix rule pays: the list words it derives from another word of the list (the
// forms it would find in text the list lacks), against the misspellings of both sets that it
// lets through. A rule applies as the checker applies it; its stem must be a word of the list.
void reportRules(const CDictionary &d, const std::vector<std::u16string> &list,
                 const std::vector<Pair> &edits, const std::vector<Pair> &confusions, bool byEnd) {
    std::unordered_set<std::u16string> words;
    for (std::size_t i = 0; i < d.wordCount(); ++i)
        words.emplace(d.word(i));
    struct Rule {
        std::u16string text, suffix, replacement;
        bool dropTwo = false;
        std::size_t derived = 0, accepted = 0;
        // The same by the last unit of the stem.
        std::map<char16_t, std::pair<std::size_t, std::size_t>> byEnd;
    };
    std::vector<Rule> table;
    const RuleSection &post = d.rules(PostAdditions);
    for (const std::u16string &e : post.simpleEntries)
        table.push_back({e, e, {}});
    for (const std::u16string &e : post.complexEntries) {
        const std::size_t colon = e.find(u':');
        if (colon != std::u16string::npos)
            table.push_back(
                {e, e.substr(colon + 1), e.substr(0, colon), !e.empty() && e[0] == u'0'});
    }
    // The stem's last unit when the rule derives `w` from a word of the list, else 0.
    const auto derives = [&](const Rule &r, const std::u16string &w) -> char16_t {
        const std::size_t b = r.suffix.size();
        if (b >= w.size() || w.compare(w.size() - b, b, r.suffix) != 0)
            return 0;
        const bool deadStart = b >= 2 && !isVirama(r.suffix[0]) && isVirama(r.suffix[1]);
        if (deadStart && isVirama(w[w.size() - b - 1]))
            return 0;
        const std::u16string stem =
            r.dropTwo ? w.substr(0, w.size() - 2) : w.substr(0, w.size() - b) + r.replacement;
        return words.count(stem) && !stem.empty() ? stem.back() : 0;
    };
    for (const std::u16string &raw : list) {
        const std::u16string w = comparable(raw);
        for (Rule &r : table)
            if (const char16_t end = derives(r, w)) {
                ++r.derived;
                ++r.byEnd[end].first;
            }
    }
    for (const auto *set : {&edits, &confusions})
        for (const Pair &p : *set) {
            const std::u16string w = comparable(p.typed);
            if (words.count(w) || !d.CheckWord(p.typed))
                continue;
            for (Rule &r : table)
                if (const char16_t end = derives(r, w)) {
                    ++r.accepted;
                    ++r.byEnd[end].second;
                }
        }
    std::printf(
        " suffix rules (list words derived from a list word / misspellings let through):\n");
    for (const Rule &r : table) {
        std::printf("  %-24s %7zu %4zu\n", utf16ToUtf8(r.text).c_str(), r.derived, r.accepted);
        if (byEnd && r.accepted)
            for (const auto &[end, counts] : r.byEnd)
                std::printf("      stem ending in %s: %zu %zu\n",
                            utf16ToUtf8(std::u16string(1, end)).c_str(), counts.first,
                            counts.second);
    }
}

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: spelling_quality LOCALE [--count N] [--list FILE] [--known "
                             "FILE]... [--hunspell BASE] [--aspell LANG] [--show 1|2]\n");
        return 2;
    }
    setMessageEcho(false);
    const std::string locale = argv[1];
    std::size_t count = 600;
    std::string hunspellBase, aspellLang;
    std::vector<std::string> knownLists;
    int show = 0;
    int rules = 0;
    bool checksOnly = false;
    std::string listPath = std::string(TARVELLITE_WORDLIST_DIR) + "/" + locale + ".txt";
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--count"))
            count = static_cast<std::size_t>(std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--hunspell"))
            hunspellBase = argv[i + 1];
        else if (!std::strcmp(argv[i], "--aspell"))
            aspellLang = argv[i + 1];
        else if (!std::strcmp(argv[i], "--list"))
            listPath = argv[i + 1];
        else if (!std::strcmp(argv[i], "--known"))
            knownLists.push_back(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--show"))
            show = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--rules"))
            rules = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--checks-only"))
            checksOnly = std::atoi(argv[i + 1]) != 0;
    }
    CDictionary d;
    if (!d.Load(dictionaryPath(locale), "", false)) {
        std::fprintf(stderr, "cannot load %s\n", dictionaryPath(locale).c_str());
        return 1;
    }
    d.waitForLookupTables();
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
    std::size_t knownExtra = 0;
    for (const std::string &path : knownLists)
        for (const std::u16string &w : readList(path))
            knownExtra += known.insert(comparable(w)).second;
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
    std::vector<Pair> edits, confusions;
    std::uniform_int_distribution<std::size_t> pickWord(0, list.size() - 1);
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    for (std::size_t tries = 0; edits.size() < count && tries < count * 50; ++tries) {
        const std::u16string &w = list[pickWord(rng)];
        if (w.size() < 4 || w.size() > 32)
            continue;
        std::u16string typed = w;
        std::uniform_int_distribution<std::size_t> at(1, w.size() - 1);
        const std::size_t i = at(rng);
        switch (edits.size() % 3) {
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
        edits.push_back({w, typed});
    }
    if (!d.latin() && !alphabet.empty()) {
        const Confusions table = confusionsFor(static_cast<char16_t>(alphabet[0] & ~0x7F));
        std::mt19937 rng2(11);
        for (std::size_t tries = 0; confusions.size() < count && tries < count * 50; ++tries) {
            const std::u16string &w = list[pickWord(rng2)];
            if (w.size() < 4 || w.size() > 32)
                continue;
            std::u16string typed = confuse(w, table, seen, rng2);
            if (typed.empty() || known.count(comparable(typed)))
                continue;
            confusions.push_back({w, std::move(typed)});
        }
    }
    std::vector<std::u16string> correct;
    for (const std::u16string &w : list)
        if (w.size() >= 2)
            correct.push_back(w);
    std::printf("%s: %zu one-edit misspellings and %zu typical confusions of %zu list words "
                "(%zu more known words)\n",
                locale.c_str(), edits.size(), confusions.size(), list.size(), knownExtra);

    std::vector<Checker> checkers;
    checkers.push_back({"TarvelLite", [&](const std::u16string &w) { return d.CheckWord(w); },
                        [&](const std::u16string &w, std::vector<std::u16string> &out) {
                            d.GetSuggestions(out, w);
                        }});
#ifdef TARVELLITE_WITH_HUNSPELL
    std::unique_ptr<Hunspell> hun;
    if (!hunspellBase.empty()) {
        hun = std::make_unique<Hunspell>((hunspellBase + ".aff").c_str(),
                                         (hunspellBase + ".dic").c_str());
        checkers.push_back({"hunspell",
                            [&](const std::u16string &w) { return hun->spell(utf16ToUtf8(w)); },
                            [&](const std::u16string &w, std::vector<std::u16string> &out) {
                                out.clear();
                                for (const std::string &s : hun->suggest(utf16ToUtf8(w)))
                                    out.push_back(utf8ToUtf16(s));
                            }});
    }
#else
    if (!hunspellBase.empty())
        std::printf("  (built without hunspell: install libhunspell-dev and reconfigure)\n");
#endif
#ifdef TARVELLITE_WITH_ASPELL
    AspellSpeller *asp = nullptr;
    if (!aspellLang.empty()) {
        AspellConfig *config = new_aspell_config();
        aspell_config_replace(config, "lang", aspellLang.c_str());
        aspell_config_replace(config, "encoding", "utf-8");
        AspellCanHaveError *made = new_aspell_speller(config);
        delete_aspell_config(config);
        if (aspell_error_number(made) != 0) {
            std::printf("  (aspell %s: %s)\n", aspellLang.c_str(), aspell_error_message(made));
            delete_aspell_can_have_error(made);
        } else {
            asp = to_aspell_speller(made);
            checkers.push_back(
                {"aspell",
                 [&](const std::u16string &w) {
                     const std::string s = utf16ToUtf8(w);
                     return aspell_speller_check(asp, s.data(), static_cast<int>(s.size())) == 1;
                 },
                 [&](const std::u16string &w, std::vector<std::u16string> &out) {
                     out.clear();
                     const std::string s = utf16ToUtf8(w);
                     const AspellWordList *found =
                         aspell_speller_suggest(asp, s.data(), static_cast<int>(s.size()));
                     AspellStringEnumeration *e = aspell_word_list_elements(found);
                     while (const char *x = aspell_string_enumeration_next(e))
                         out.push_back(utf8ToUtf16(x));
                     delete_aspell_string_enumeration(e);
                 }});
        }
    }
#else
    if (!aspellLang.empty())
        std::printf("  (built without aspell: install libaspell-dev and reconfigure)\n");
#endif

    if (!checksOnly) {
        std::printf(" one edit:\n");
        for (const Checker &c : checkers)
            measure(c, edits, show).print(c.name.c_str());
    }
    if (!confusions.empty() && !checksOnly) {
        std::printf(" typical confusions:\n");
        for (const Checker &c : checkers)
            measure(c, confusions, show).print(c.name.c_str());
    }

    if (rules && !checksOnly)
        reportRules(d, list, edits, confusions, rules >= 2);

    // Words of the list that we reject: those no script could spell are left out of the
    // dictionary on purpose.
    std::size_t rejected = 0, illFormed = 0;
    for (const std::u16string &w : correct)
        if (!d.CheckWord(w)) {
            ++rejected;
            const bool ill = !isWellFormedWord(comparable(w));
            illFormed += ill;
            if (show >= 1 && !ill)
                std::printf("    rejected list word %s\n", utf16ToUtf8(w).c_str());
        }
    std::printf(" list words rejected: %zu of %zu (%zu of them ill-formed, left out on purpose)\n",
                rejected, correct.size(), illFormed);

    // Checking throughput on the list's words and on the one-edit misspellings, each list
    // checked several times; the best round counts (the machine may be shared). With hunspell
    // the two take turns, so that the ratio holds when the machine's speed drifts.
    std::vector<std::u16string> typed;
    for (const Pair &p : edits)
        typed.push_back(p.typed);
    const auto ourCheck = [&](const std::u16string &w) { return d.CheckWord(w); };
    Rate ourCorrect, ourTyped;
#ifdef TARVELLITE_WITH_HUNSPELL
    // hunspell takes UTF-8: the words are converted beforehand, outside the timing.
    std::vector<std::string> utf8, typed8;
    if (hun) {
        for (const auto &w : correct)
            utf8.push_back(utf16ToUtf8(w));
        for (const auto &w : typed)
            typed8.push_back(utf16ToUtf8(w));
    }
    const auto theirCheck = [&](const std::string &w) { return hun->spell(w); };
    Rate theirCorrect, theirTyped;
#endif
    // Three blocks; in each, three rounds of one checker and then three of the other, so that
    // each best round is one after the checker's own warm-up.
    for (int block = 0; block < 3; ++block) {
        for (int round = 0; round < 3; ++round) {
            ourCorrect.round(correct, ourCheck);
            for (int again = 0; again < 4; ++again)
                ourTyped.round(typed, ourCheck);
        }
#ifdef TARVELLITE_WITH_HUNSPELL
        for (int round = 0; hun && round < 3; ++round) {
            theirCorrect.round(utf8, theirCheck);
            for (int again = 0; again < 4; ++again)
                theirTyped.round(typed8, theirCheck);
        }
#endif
    }
    benchmarkSink(ourCorrect.accepted + ourTyped.accepted);
    std::printf(" checks:\n  %-10s %6.2f M words/s on the list, %6.2f M/s misspelt\n", "TarvelLite",
                ourCorrect.perSecond(), ourTyped.perSecond());
#ifdef TARVELLITE_WITH_HUNSPELL
    if (hun) {
        benchmarkSink(theirCorrect.accepted + theirTyped.accepted);
        std::printf("  %-10s %6.2f M words/s on the list, %6.2f M/s misspelt\n", "hunspell",
                    theirCorrect.perSecond(), theirTyped.perSecond());
        std::printf("  ratio      %.1fx list words, %.1fx misspelt\n",
                    ourCorrect.perSecond() / theirCorrect.perSecond(),
                    ourTyped.perSecond() / theirTyped.perSecond());
    }
#endif
#ifdef TARVELLITE_WITH_ASPELL
    if (asp)
        delete_aspell_speller(asp);
#endif
    return 0;
}

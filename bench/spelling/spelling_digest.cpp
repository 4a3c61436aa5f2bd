// Prints everything the dictionary answers for a fixed set of queries: CheckWord with its
// position, GetSuggestions and LookupPrefix, on the shipped dictionaries and on damaged copies
// of them (words out of order, indexes that disagree with the list). Two builds that print the
// same text answer the same, which is how changes to the lookup structures are checked.
//
// usage: spelling_digest [LOCALE...] > digest.txt

#include "bench_words.h"
#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/dictionary_file.h"
#include "core/spelling/normalize.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

using namespace tarvellite;
using namespace tarvellite::bench;

std::string show(std::u16string_view w) {
    return utf16ToUtf8(w);
}

void digest(CDictionary &d, const std::string &label, std::size_t count, std::uint32_t seed) {
    std::printf("== %s: %zu words\n", label.c_str(), d.wordCount());
    const std::u16string alphabet = alphabetOf(d);
    std::mt19937 rng(seed);
    std::vector<std::u16string> queries;
    for (const std::u16string &w : sampleWords(d, count, 1, seed)) {
        queries.push_back(w);
        for (int kind = 0; kind < 3; ++kind) {
            std::u16string c = w;
            if (corrupt(d, alphabet, c, static_cast<Corruption>(kind), rng))
                queries.push_back(c);
        }
        queries.push_back(w.substr(0, 1 + w.size() / 2));
        std::u16string upper = w;
        for (char16_t &c : upper)
            if (c >= u'a' && c <= u'z')
                c -= 32;
        if (upper != w)
            queries.push_back(upper);
        if (w.size() > 2)
            queries.push_back(w.substr(2));
        if (!alphabet.empty())
            queries.push_back(std::u16string(2, alphabet[rng() % alphabet.size()]) + w);
        // Joiners, which choose a rendering and leave the spelling alone.
        std::u16string joined = w;
        joined.insert(rng() % (w.size() + 1), 1, rng() % 2 ? u'\u200D' : u'\u200C');
        queries.push_back(joined);
        // Forms the suffix rules make of the word, and a slip in one.
        const RuleSection &post = d.rules(PostAdditions);
        std::vector<std::u16string> forms;
        for (const std::u16string &suffix : post.simpleEntries)
            forms.push_back(w + suffix);
        for (const std::u16string &entry : post.complexEntries) {
            const std::size_t colon = entry.find(u':');
            const std::u16string_view replaced = std::u16string_view(entry).substr(0, colon);
            if (colon != std::u16string::npos && w.size() > replaced.size() &&
                std::u16string_view(w).ends_with(replaced))
                forms.push_back(w.substr(0, w.size() - replaced.size()) + entry.substr(colon + 1));
        }
        for (std::size_t i = 0; i < 2 && !forms.empty(); ++i) {
            std::u16string form = forms[rng() % forms.size()];
            queries.push_back(form);
            if (corrupt(d, alphabet, form, static_cast<Corruption>(rng() % 3), rng))
                queries.push_back(form);
        }
        // Chillus spelled the old way, whole and with a slip.
        std::u16string old = w;
        toOldChillus(old);
        if (old != w) {
            queries.push_back(old);
            std::u16string slip = old;
            if (corrupt(d, alphabet, slip, static_cast<Corruption>(rng() % 3), rng))
                queries.push_back(slip);
        }
    }
    std::vector<std::u16string> out;
    for (const std::u16string &q : queries) {
        std::int32_t position = 0;
        const bool ok = d.CheckWord(q, position);
        std::printf("C %s %d %d %d\n", show(q).c_str(), ok ? 1 : 0, position,
                    d.CheckWord(q) ? 1 : 0);
        if (!ok) {
            const int n = d.GetSuggestions(out, q, 4);
            std::printf("S %s %d:", show(q).c_str(), n);
            for (const auto &s : out)
                std::printf(" %s", show(s).c_str());
            std::printf("\n");
        }
        for (std::size_t len = 2; len <= 4 && len <= q.size(); ++len) {
            const int n = d.LookupPrefix(q.substr(0, len), 28, out);
            std::printf("P %s %d:", show(q.substr(0, len)).c_str(), n);
            for (const auto &s : out)
                std::printf(" %s", show(s).c_str());
            std::printf("\n");
        }
    }
}

// A copy of a shipped word file with its list or its indexes damaged.
std::string damagedCopy(const std::string &path, const std::string &folder, int how,
                        std::uint32_t seed) {
    Result<Bytes> bytes = readWholeFile(path, 64u << 20);
    DictionaryFileData data;
    DictionaryReadError error;
    if (!bytes || !readDictionaryFile(*bytes, data, error))
        return {};
    std::mt19937 rng(seed);
    // Keep it small enough that the old scans finish quickly.
    std::vector<std::u16string> words;
    for (std::size_t i = 0; i < data.words.size(); i += 7)
        words.push_back(data.words[i]);
    data.words = words;
    buildDictionaryIndexes(data);
    switch (how) {
    case 0: // a few neighbours swapped, duplicates added
        for (int i = 0; i < 200 && data.words.size() > 2; ++i) {
            const std::size_t at = rng() % (data.words.size() - 1);
            std::swap(data.words[at], data.words[at + 1]);
            data.words.insert(data.words.begin() +
                                  static_cast<std::ptrdiff_t>(rng() % data.words.size()),
                              data.words[rng() % data.words.size()]);
        }
        break;
    case 1: // index positions moved
        for (auto &[c, e] : data.initialIndex)
            if (rng() % 3 == 0)
                e.firstWord += static_cast<std::int32_t>(rng() % 50) - 25;
        for (SECONDDICTINDEX &s : data.secondIndex)
            if (rng() % 4 == 0)
                s.firstWord += static_cast<std::int32_t>(rng() % 40) - 20;
        break;
    case 2: // second index out of order, odd words
        for (int i = 0; i < 50 && data.secondIndex.size() > 2; ++i)
            std::swap(data.secondIndex[rng() % data.secondIndex.size()],
                      data.secondIndex[rng() % data.secondIndex.size()]);
        data.words.push_back(u"");
        data.words.push_back(u"A");
        data.words.push_back(std::u16string(70, u'q'));
        data.words.push_back(std::u16string(40, data.words[0].empty() ? u'x' : data.words[0][0]));
        break;
    default: break;
    }
    const std::string out = folder + "/damaged" + std::to_string(how) + ".dic";
    if (!writeFileAtomically(out, writeDictionaryFile(data)))
        return {};
    std::filesystem::path rules = path;
    rules.replace_extension(".tdh");
    std::filesystem::copy_file(rules, folder + "/damaged" + std::to_string(how) + ".tdh",
                               std::filesystem::copy_options::overwrite_existing);
    return out;
}

} // namespace

int main(int argc, char **argv) {
    setMessageEcho(false);
    std::vector<std::string> locales;
    for (int i = 1; i < argc; ++i)
        locales.push_back(argv[i]);
    if (locales.empty())
        locales = {"en-US", "hi-IN", "kn-IN", "ta-IN", "te-IN", "ml-IN", "si-LK"};
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("spelling-digest-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(folder);
    for (const std::string &locale : locales) {
        CDictionary d;
        if (!d.Load(dictionaryPath(locale), "", false)) {
            std::fprintf(stderr, "cannot load %s\n", locale.c_str());
            return 1;
        }
        // With every lookup table in place: the answers of the shorter ways are printed.
        d.waitForLookupTables();
        digest(d, locale, 400, 11);
        for (int how = 0; how < 3; ++how) {
            const std::string path = damagedCopy(dictionaryPath(locale), folder, how, 12 + how);
            CDictionary damaged;
            if (path.empty() || !damaged.Load(path, "", false)) {
                std::printf("== %s damaged %d: not loaded\n", locale.c_str(), how);
                continue;
            }
            damaged.AddUserWord(u"zzuser");
            digest(damaged, locale + " damaged " + std::to_string(how), 150, 20 + how);
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}

// Loads arbitrary bytes as a word file, with a fixed rule file beside it, and runs every query
// on whatever loaded: nothing may read outside the tables, however the indexes disagree.

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/spelling/dictionary.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tarvellite;
    static const std::string folder = [] {
        setMessageEcho(false);
        const auto dir = std::filesystem::temp_directory_path() /
                         ("tarvellite-fuzz-dict-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string rules = "[Pre Substitutions]\nComplex=*:~ $ab:$cd\n"
                                  "[Pre Additions]\nComplex=q:xyz\n"
                                  "[Post Additions]\nSimple=s ing\nComplex=0:xyz e:ed\n"
                                  "[Vocal Characters]\nSimple=aeiou sz\n";
        writeFileAtomically(
            (dir / "f.tdh").string(),
            std::span(reinterpret_cast<const std::uint8_t *>(rules.data()), rules.size()));
        return dir.string();
    }();
    const std::string path = folder + "/f.dic";
    if (!writeFileAtomically(path, std::span(data, size)))
        return 0;
    CDictionary d;
    if (!d.Load(path, folder, false))
        return 0;
    std::vector<std::u16string> out;
    const std::u16string probes[] = {
        u"a",     u"ab",   u"ba",         u"abc",          u"xabc",
        u"hello", u"helo", u"abcdefghij", u"\u0B95\u0BCD", u"zzzzzzzzzzzzzzzzzz"};
    for (const std::u16string &w : probes) {
        d.CheckWord(w);
        d.GetSuggestions(out, w, 6);
        d.LookupPrefix(w, 28, out);
    }
    // Words of the file itself, and one edit of each.
    for (std::size_t i = 0; i < d.wordCount() && i < 8; ++i) {
        std::u16string w(d.word(i));
        d.CheckWord(w);
        d.LookupPrefix(w, 5, out);
        if (!w.empty())
            w.back() ^= 1;
        d.GetSuggestions(out, w, 4);
    }
    return 0;
}

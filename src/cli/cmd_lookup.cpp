// tarvellite-cli lookup: lists the dictionary words that begin with a prefix, as the look-ahead
// offers them while typing.

#include "cli/command.h"
#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "core/spelling/dictionary.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tarvellite::cli {

namespace {

constexpr const char *lookupUsage =
    "usage: tarvellite-cli lookup -d DICT.dic [--user-folder DIR] [--max N] [--] PREFIX\n"
    "\n"
    "Prints the words of the dictionary that begin with PREFIX and are longer than it, then\n"
    "the matching words of the user dictionary, at most N in all (default 28), one per line.\n";

int usageError(const std::string &why) {
    return cli::usageError("lookup", why, lookupUsage);
}

int runLookup(const std::vector<std::string> &args) {
    std::string dictionaryPath, userFolder;
    std::optional<std::string> prefix;
    int maxCount = defaultLookupCount;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            std::fputs(lookupUsage, stdout);
            return exitOk;
        } else if (a == "--") {
            if (i + 2 != args.size() || prefix)
                return usageError("give one PREFIX after --");
            prefix = args[i + 1];
            break;
        } else if (a == "-d" && hasValue) {
            dictionaryPath = args[++i];
        } else if (a == "--user-folder" && hasValue) {
            userFolder = args[++i];
        } else if (a == "--max" && hasValue) {
            const auto n = parseCount(args[++i]);
            if (!n)
                return usageError("--max needs a number");
            maxCount = *n;
        } else if (!a.empty() && a[0] == '-') {
            return usageError(hasValue ? "unexpected option " + a : a + " needs a value");
        } else if (!prefix) {
            prefix = a;
        } else {
            return usageError("give one PREFIX");
        }
    }
    if (dictionaryPath.empty())
        return usageError("no dictionary given (-d DICT.dic)");
    if (!prefix)
        return usageError("no PREFIX given");
    if (!fileExists(dictionaryPath)) {
        std::fprintf(stderr, "tarvellite-cli lookup: no dictionary file at %s\n",
                     dictionaryPath.c_str());
        return exitFailed;
    }
    CDictionary dictionary;
    if (!dictionary.Load(dictionaryPath, userFolder, !userFolder.empty())) {
        std::fprintf(stderr, "tarvellite-cli lookup: cannot load the dictionary %s\n",
                     dictionaryPath.c_str());
        return exitFailed;
    }
    std::vector<std::u16string> words;
    dictionary.LookupPrefix(utf8ToUtf16(*prefix), maxCount, words);
    for (const std::u16string &w : words)
        std::printf("%s\n", utf16ToUtf8(w).c_str());
    return exitOk;
}

const Registration registration{
    {"lookup", "list the dictionary words that begin with a prefix", runLookup}};

} // namespace

} // namespace tarvellite::cli

// tarvellite-cli mkdict: builds a dictionary word file and its rule file from a readable source
// and UTF-8 word lists.

#include "cli/command.h"
#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "core/spelling/dictionary_builder.h"
#include "core/spelling/rule_file.h"

#include <cstdio>

namespace tarvellite::cli {

namespace {

constexpr const char *mkdictUsage =
    "usage: tarvellite-cli mkdict --source SOURCE [--words LIST]... [--quiet] -o OUT.dic\n"
    "\n"
    "Builds the word file OUT.dic and the rule file beside it (OUT.tdh). SOURCE names the\n"
    "script, the character classes C1-C4 and the rules (see docs/formats/dictionary-source.md).\n"
    "Each LIST is UTF-8 text with one word per line. Words are brought to NFC, Latin letters to\n"
    "lower case; words outside the script or outside 2-64 UTF-16 units are left out and counted.\n";

// Word lists and sources larger than this are refused.
constexpr std::size_t maxInputBytes = 256u << 20;

int usageError(const std::string &why) {
    return cli::usageError("mkdict", why, mkdictUsage);
}

int failure(const std::string &why) {
    std::fprintf(stderr, "tarvellite-cli mkdict: %s\n", why.c_str());
    return exitFailed;
}

int runMkdict(const std::vector<std::string> &args) {
    std::string sourcePath, outPath;
    std::vector<std::string> lists;
    bool quiet = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            std::fputs(mkdictUsage, stdout);
            return exitOk;
        } else if (a == "--source" && hasValue) {
            sourcePath = args[++i];
        } else if (a == "--words" && hasValue) {
            lists.push_back(args[++i]);
        } else if ((a == "-o" || a == "--output") && hasValue) {
            outPath = args[++i];
        } else if (a == "--quiet") {
            quiet = true;
        } else {
            return usageError(hasValue || a[0] != '-' ? "unexpected argument " + a
                                                      : a + " needs a value");
        }
    }
    if (sourcePath.empty())
        return usageError("no --source given");
    if (outPath.empty())
        return usageError("no -o OUT.dic given");
    const std::size_t dot = outPath.rfind('.');
    const std::size_t slash = outPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return usageError("the output needs an extension (OUT.dic)");

    Result<Bytes> sourceBytes = readWholeFile(sourcePath, maxInputBytes);
    if (!sourceBytes)
        return failure("cannot read " + sourcePath + ": " + sourceBytes.error().describe());
    Result<DictionarySource> source = parseDictionarySource(decodeTextFile(*sourceBytes));
    if (!source)
        return failure(sourcePath + ": " + source.error().describe());

    DictionaryBuilder builder(*source);
    for (const std::string &list : lists) {
        Result<Bytes> bytes = readWholeFile(list, maxInputBytes);
        if (!bytes)
            return failure("cannot read " + list + ": " + bytes.error().describe());
        const std::string_view text(reinterpret_cast<const char *>(bytes->data()), bytes->size());
        if (!isValidUtf8(text))
            return failure(list + " is not UTF-8 text");
        builder.addWordList(text);
    }
    const DictionaryFileData data = builder.build();
    const std::string rulePath = outPath.substr(0, dot) + ".tdh";
    if (Status s = writeFileAtomically(outPath, writeDictionaryFile(data)); !s)
        return failure("cannot write " + outPath + ": " + s.error().describe());
    if (Status s = writeFileAtomically(rulePath, ruleFileBytes(*source)); !s)
        return failure("cannot write " + rulePath + ": " + s.error().describe());
    if (!quiet) {
        const BuildCounts &c = builder.counts();
        std::printf("%s: %zu words kept of %zu read; left out: %zu outside the script, %zu "
                    "starting with a mark or joiner, %zu outside 2-64 units, %zu ill-formed, "
                    "%zu duplicates; %zu forms generated\n",
                    outPath.c_str(), c.kept, c.read, c.outsideScript, c.badStart, c.wrongLength,
                    c.illFormed, c.duplicates, c.generated);
    }
    return exitOk;
}

const Registration registration{
    {"mkdict", "build a dictionary word file and rule file from word lists", runMkdict}};

} // namespace

} // namespace tarvellite::cli

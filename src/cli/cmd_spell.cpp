// tarvellite-cli spell -a: checks text against a dictionary, speaking the ispell pipe protocol.

#include "cli/command.h"
#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/dictionary.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace tarvellite::cli {

namespace {

constexpr const char *spellUsage =
    "usage: tarvellite-cli spell -d DICT.dic [--user-folder DIR] [--accuracy N] -a\n"
    "\n"
    "Reads UTF-8 text from standard input and answers as ispell's pipe mode does: a banner,\n"
    "then for each input line one line per word (\"*\" correct, \"& WORD COUNT OFFSET: S1, S2\"\n"
    "with suggestions, \"# WORD OFFSET\" without) and an empty line. A line starting with ^ is\n"
    "checked without it. OFFSET counts characters from the start of the line. --user-folder\n"
    "names the folder of the user dictionary (default: none is read); --accuracy bounds the\n"
    "vowel variants (default 4).\n";

int usageError(const std::string &why) {
    return cli::usageError("spell", why, spellUsage);
}

bool isAsciiPunctuation(char16_t c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x00A0;
}

// Characters (code points) in `units[0, end)`.
std::size_t codePoints(std::u16string_view units, std::size_t end) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < end; ++i)
        if (!(units[i] >= 0xDC00 && units[i] <= 0xDFFF && i > 0 && units[i - 1] >= 0xD800 &&
              units[i - 1] <= 0xDBFF))
            ++n;
    return n;
}

void checkLine(CDictionary &dictionary, std::u16string_view line, std::size_t start, int accuracy,
               std::string &out) {
    std::vector<std::u16string> suggestions;
    std::size_t i = start;
    while (i < line.size()) {
        while (i < line.size() && isSpace(line[i]))
            ++i;
        std::size_t end = i;
        while (end < line.size() && !isSpace(line[end]))
            ++end;
        std::size_t b = i, e = end;
        while (b < e && isAsciiPunctuation(line[b]))
            ++b;
        while (e > b && isAsciiPunctuation(line[e - 1]))
            --e;
        i = end;
        if (b == e)
            continue;
        const std::u16string_view word = line.substr(b, e - b);
        const std::string offset = std::to_string(codePoints(line, b));
        if (dictionary.CheckWord(word)) {
            out += "*\n";
            continue;
        }
        const int count = dictionary.GetSuggestions(suggestions, word, accuracy);
        if (count == 0) {
            out += "# " + utf16ToUtf8(word) + " " + offset + "\n";
            continue;
        }
        out += "& " + utf16ToUtf8(word) + " " + std::to_string(count) + " " + offset + ":";
        for (int k = 0; k < count; ++k)
            out += (k ? ", " : " ") + utf16ToUtf8(suggestions[static_cast<std::size_t>(k)]);
        out += "\n";
    }
}

int runSpell(const std::vector<std::string> &args) {
    std::string dictionaryPath, userFolder;
    bool pipeMode = false;
    int accuracy = defaultDictionaryAccuracy;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            std::fputs(spellUsage, stdout);
            return exitOk;
        } else if (a == "-a") {
            pipeMode = true;
        } else if (a == "-d" && hasValue) {
            dictionaryPath = args[++i];
        } else if (a == "--user-folder" && hasValue) {
            userFolder = args[++i];
        } else if (a == "--accuracy" && hasValue) {
            const auto n = parseCount(args[++i]);
            if (!n)
                return usageError("--accuracy needs a number");
            accuracy = *n;
        } else {
            return usageError(hasValue || a.empty() || a[0] != '-' ? "unexpected argument " + a
                                                                   : a + " needs a value");
        }
    }
    if (dictionaryPath.empty())
        return usageError("no dictionary given (-d DICT.dic)");
    if (!pipeMode)
        return usageError("only the pipe mode (-a) is offered");
    if (!fileExists(dictionaryPath)) {
        std::fprintf(stderr, "tarvellite-cli spell: no dictionary file at %s\n",
                     dictionaryPath.c_str());
        return exitFailed;
    }
    CDictionary dictionary;
    if (!dictionary.Load(dictionaryPath, userFolder, !userFolder.empty())) {
        std::fprintf(stderr, "tarvellite-cli spell: cannot load the dictionary %s\n",
                     dictionaryPath.c_str());
        return exitFailed;
    }
    std::fputs("@(#) International Ispell Version 3.2.06 (but really TarvelLite)\n", stdout);
    std::fflush(stdout);
    std::string line, out;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::u16string text = utf8ToUtf16(line);
        out.clear();
        checkLine(dictionary, text, !text.empty() && text[0] == u'^' ? 1 : 0, accuracy, out);
        out += "\n";
        std::fputs(out.c_str(), stdout);
        std::fflush(stdout);
    }
    return exitOk;
}

const Registration registration{
    {"spell", "check text against a dictionary (ispell pipe mode, -a)", runSpell}};

} // namespace

} // namespace tarvellite::cli

// tarvellite-cli legacy: converts TAM or TAB text on standard input to Unicode Tamil (UTF-8).

#include "cli/command.h"
#include "core/app/unicode.h"
#include "core/legacy/legacy_words.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace tarvellite::cli {

namespace {

constexpr const char *legacyUsage =
    "usage: tarvellite-cli legacy --tam|--tab < LEGACY > UTF8\n"
    "\n"
    "Reads text in a legacy Tamil font encoding (TAM or TAB bytes) on standard input and\n"
    "writes it as Unicode Tamil in UTF-8 on standard output. Every run of bytes above 0x20\n"
    "is one word and is converted on its own; bytes at or below 0x20 pass through. Runs\n"
    "longer than 254 bytes are converted in pieces (see docs/formats/tam-tab.md).\n";

int usageError(const std::string &why) {
    return cli::usageError("legacy", why, legacyUsage);
}

bool writeUtf8(const std::u16string &text) {
    const std::string utf8 = utf16ToUtf8(text);
    return std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size();
}

int runLegacy(const std::vector<std::string> &args) {
    std::optional<bool> isTab;
    for (const std::string &a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(legacyUsage, stdout);
            return exitOk;
        }
        if (a != "--tam" && a != "--tab")
            return usageError("unknown argument " + a);
        if (isTab && *isTab != (a == "--tab"))
            return usageError("give either --tam or --tab, not both");
        isTab = a == "--tab";
    }
    if (!isTab)
        return usageError("give the encoding: --tam or --tab");

    LegacyWordStream stream(*isTab);
    std::u16string out;
    static char buffer[1 << 16];
    bool written = true;
    std::size_t n = sizeof buffer;
    while (written && n == sizeof buffer) {
        n = std::fread(buffer, 1, sizeof buffer, stdin);
        out.clear();
        stream.feed(std::string_view(buffer, n), out);
        written = writeUtf8(out);
    }
    if (std::ferror(stdin)) {
        std::fprintf(stderr, "tarvellite-cli legacy: cannot read standard input: %s\n",
                     std::strerror(errno));
        return exitFailed;
    }
    out.clear();
    stream.finish(out);
    if (!written || !writeUtf8(out) || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tarvellite-cli legacy: cannot write standard output: %s\n",
                     std::strerror(errno));
        return exitFailed;
    }
    return exitOk;
}

const Registration registration{
    {"legacy", "convert TAM/TAB legacy Tamil on standard input to Unicode (UTF-8)", runLegacy}};

} // namespace

} // namespace tarvellite::cli

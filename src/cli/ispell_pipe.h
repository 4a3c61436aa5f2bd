#pragma once

// The ispell pipe protocol over our dictionaries, shared by `tarvellite-cli spell` and by
// `tarvellite-ispell`, the command editors name as their ispell program.

#include <string>
#include <string_view>
#include <vector>

namespace tarvellite::cli {

/// Runs the pipe with ispell's command-line flags; `programName` prefixes error messages.
/// Reads standard input to its end and returns the exit status.
int runIspell(const std::vector<std::string> &args, const char *programName);

/// One word of a text line: where it starts and how long it is (UTF-16 units).
struct WordSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

/// The words of `line` from `start` on as the pipe checks them: runs of letters, digits,
/// marks and joiners, with an apostrophe inside a word kept; hyphens, spaces and punctuation
/// separate words. In TeX mode control sequences (\emph) and inline math ($x$) are skipped.
std::vector<WordSpan> pipeWords(std::u16string_view line, std::size_t start, bool tex);

} // namespace tarvellite::cli

// Every typing example of the README is typed with tarvellite-cli and must give the text the
// README states: the rows of the layouts table and the command examples below it.

#include "core/app/file_io.h"
#include "run_program.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tarvellite {
namespace {

using testing::runProgram;

const std::string cli = TARVELLITE_PROGRAM_DIR "/tarvellite-cli";

std::vector<std::string> readmeLines() {
    Result<Bytes> bytes = readWholeFile(TARVELLITE_SOURCE_DIR "/README.md", 1 << 20);
    EXPECT_TRUE(bytes.ok());
    std::vector<std::string> lines;
    if (!bytes)
        return lines;
    std::string line;
    for (std::uint8_t b : *bytes) {
        if (b == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(static_cast<char>(b));
        }
    }
    lines.push_back(line);
    return lines;
}

// The code spans of a line of Markdown, as a reader sees them: a run of n backticks opens a span
// that the next run of exactly n backticks closes; one space is stripped from each end of a span
// that has one on both.
std::vector<std::string> codeSpans(const std::string &text) {
    std::vector<std::string> spans;
    std::size_t i = 0;
    auto runAt = [&](std::size_t p) {
        std::size_t n = 0;
        while (p + n < text.size() && text[p + n] == '`')
            ++n;
        return n;
    };
    while (i < text.size()) {
        if (text[i] != '`') {
            ++i;
            continue;
        }
        const std::size_t open = runAt(i);
        std::size_t j = i + open;
        std::optional<std::size_t> close;
        while (j < text.size()) {
            const std::size_t n = runAt(j);
            if (n == 0) {
                ++j;
            } else if (n == open) {
                close = j;
                break;
            } else {
                j += n;
            }
        }
        if (!close) {
            i += open;
            continue;
        }
        std::string span = text.substr(i + open, *close - i - open);
        if (span.size() >= 2 && span.front() == ' ' && span.back() == ' ' &&
            span.find_first_not_of(' ') != std::string::npos)
            span = span.substr(1, span.size() - 2);
        spans.push_back(span);
        i = *close + open;
    }
    return spans;
}

std::vector<std::string> split(const std::string &text, const std::string &separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(
            text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + separator.size();
    }
}

std::string trim(const std::string &s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The words of a shell command line with plain words and single or double quotes.
std::vector<std::string> shellWords(const std::string &line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\'' || c == '"') {
            const std::size_t end = line.find(c, i + 1);
            word += line.substr(i + 1, end - i - 1);
            i = end == std::string::npos ? line.size() : end;
            inWord = true;
        } else if (c == ' ') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::string typed(const std::vector<std::string> &args) {
    const testing::ProgramRun run = runProgram(args);
    EXPECT_EQ(run.status, 0) << run.err;
    std::string out = run.out;
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

TEST(Readme, LayoutsTableTypesTheStatedText) {
    const std::vector<std::string> lines = readmeLines();
    std::string language;
    int rows = 0, examples = 0;
    bool inTable = false;
    for (const std::string &line : lines) {
        if (line.rfind("| Language |", 0) == 0) {
            inTable = true;
            continue;
        }
        if (!inTable)
            continue;
        if (line.rfind("|", 0) != 0)
            break;
        if (line.rfind("|---", 0) == 0)
            continue;
        const std::vector<std::string> cells = split(line, "|");
        ASSERT_GE(cells.size(), 6u) << line;
        const std::string name = trim(cells[1]);
        if (!name.empty()) {
            const std::size_t open = name.find('(');
            ASSERT_NE(open, std::string::npos) << line;
            language = name.substr(open + 1, 2);
        }
        const std::string keyboard = trim(cells[2]).substr(0, trim(cells[2]).find(' '));
        const std::vector<std::string> keys = codeSpans(cells[3]);
        const std::vector<std::string> texts = split(trim(cells[4]), " · ");
        ++rows;
        ASSERT_EQ(keys.size(), texts.size()) << "keys and texts differ in number: " << line;
        ASSERT_EQ(split(cells[3], " · ").size(), keys.size())
            << "every example's keys are one code span: " << line;
        for (std::size_t i = 0; i < keys.size(); ++i, ++examples) {
            EXPECT_EQ(
                typed({cli, "type", "--language", language, "--keyboard", keyboard, "--", keys[i]}),
                texts[i])
                << language << " keyboard " << keyboard << " keys \"" << keys[i] << "\"";
        }
    }
    EXPECT_EQ(rows, 14) << "two keyboards or more for each of the six Indian languages";
    EXPECT_GE(examples, 30);
}

TEST(Readme, CommandExamplesPrintTheStatedText) {
    const std::vector<std::string> lines = readmeLines();
    const std::string prompt = "    $ build/bin/tarvellite-cli type ";
    int examples = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind(prompt, 0) != 0)
            continue;
        std::vector<std::string> args = shellWords(lines[i].substr(6));
        args[0] = cli;
        ASSERT_EQ(lines[i + 1].rfind("    ", 0), 0u) << "no output line after " << lines[i];
        EXPECT_EQ(typed(args), lines[i + 1].substr(4)) << lines[i];
        ++examples;
    }
    EXPECT_GE(examples, 5);
}

TEST(Readme, CodeSpansAreReadAsMarkdownReadsThem) {
    EXPECT_EQ(codeSpans("`a` · ``b`c`` · `` `d` ``"),
              (std::vector<std::string>{"a", "b`c", "`d`"}));
    EXPECT_EQ(codeSpans("``unclosed `x`"), (std::vector<std::string>{"x"}));
}

} // namespace
} // namespace tarvellite

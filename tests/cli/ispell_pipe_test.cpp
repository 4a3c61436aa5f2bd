// The ispell pipe as editors use it: tarvellite-ispell (and tarvellite-cli spell) run as
// processes over the shipped dictionaries, the protocol's commands and flags, the words of a
// line, and Emacs's flyspell marking the misspelled words of a text.

#include "cli/ispell_pipe.h"
#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "run_program.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvellite {
namespace {

using testing::ProgramRun;
using testing::runProgram;

const std::string ispell = TARVELLITE_PROGRAM_DIR "/tarvellite-ispell";
const std::string cli = TARVELLITE_PROGRAM_DIR "/tarvellite-cli";
const std::string banner = "@(#) International Ispell Version 3.2.06 (but really TarvelLite)";

std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        out.push_back(text.substr(start, nl == std::string::npos ? nl : nl - start));
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return out;
}

// The answer lines with what depends on the dictionary's suggestions taken out: a misspelled
// word, with or without suggestions, is "? WORD OFFSET".
std::vector<std::string> answers(const std::string &output) {
    std::vector<std::string> out;
    for (std::string line : lines(output)) {
        if (line.rfind("& ", 0) == 0) {
            // "& WORD COUNT OFFSET: ..." -> "? WORD OFFSET"
            const std::size_t word = line.find(' ', 2);
            const std::size_t count = line.find(' ', word + 1);
            line = "? " + line.substr(2, word - 2) + " " +
                   line.substr(count + 1, line.find(':') - count - 1);
        } else if (line.rfind("# ", 0) == 0) {
            line = "? " + line.substr(2);
        }
        out.push_back(line);
    }
    return out;
}

ProgramRun pipe(const std::vector<std::string> &flags, const std::string &input) {
    std::vector<std::string> argv = {ispell};
    argv.insert(argv.end(), flags.begin(), flags.end());
    return runProgram(argv, input);
}

struct ProtocolCase {
    const char *what;
    const char *input;
    std::vector<std::string> expected; // after the banner
};

// The lines written for each command, as hunspell -a writes them for the same input (the
// suggestions aside). "&", "~" and "$$" are commands as ispell has them.
TEST(IspellPipe, AnswersEveryCommandOfTheProtocol) {
    const std::vector<ProtocolCase> cases = {
        {"text",
         "This is teh test of speling\n",
         {"*", "*", "? teh 8", "*", "*", "? speling 20", ""}},
        {"^ checks the rest, offsets count it", "^teh\n", {"? teh 1", ""}},
        {"an empty line gets its empty line", "\n\nthe\n", {"", "", "*", ""}},
        {"terse mode", "!\nteh good\nthe\n%\nthe\n", {"? teh 0", "", "", "*", ""}},
        {"* adds a word", "zzyqx\n*zzyqx\nzzyqx\nZzyqx\n", {"? zzyqx 0", "", "*", "", "*", ""}},
        {"& adds it in lower case", "&Qwzxv\nqwzxv\n", {"*", ""}},
        {"@ accepts for the session", "@Zqxwv\nzqxwv Zqxwv\n", {"*", "*", ""}},
        {"parameters and # write nothing", "~nroff\n#\n~tex\nteh\n", {"? teh 0", ""}},
        {"TeX mode skips commands and math",
         "+\n\\section{Intro} teh \\emph{wrod} $x$\n-\n\\section{Intro}\n",
         {"*", "? teh 16", "? wrod 26", "", "*", "*", ""}},
        {"CR LF line ends", "teh\r\nthe\r\n", {"? teh 0", "", "*", ""}},
        {"words are split at punctuation and hyphens, apostrophes stay",
         "teh,test x-ray don't (speling) 1234\n",
         {"? teh 0", "*", "*", "*", "*", "? speling 22", "*", ""}},
        {"offsets count characters", "𝐀 தமிழ் teh\n", {"*", "*", "? teh 8", ""}},
        {"a last line without its line end", "teh", {"? teh 0", ""}},
    };
    for (const ProtocolCase &c : cases) {
        const ProgramRun run = pipe({"-a", "-d", "en-US"}, c.input);
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        std::vector<std::string> expected = {banner};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(answers(run.out), expected) << c.what << "\n" << run.out;
    }
}

TEST(IspellPipe, UserDictionaryIsSavedWhereMinusPSays) {
    const std::string folder = ::testing::TempDir() + "ispell_user_dictionary/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ProgramRun run = pipe({"-a", "-d", "ta-IN", "-p", folder + "ta-IN.usr"}, "*தமிழ்ழ\n#\nதமிழ்ழ\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(answers(run.out), (std::vector<std::string>{banner, "*", ""}));
    EXPECT_TRUE(std::filesystem::exists(folder + "ta-IN.usr"));
    // A new session reads it; without -p nothing is read or written.
    run = pipe({"-a", "-d", "ta-IN", "-p", folder}, "தமிழ்ழ\n");
    EXPECT_EQ(answers(run.out), (std::vector<std::string>{banner, "*", ""}));
    run = pipe({"-a", "-d", "ta-IN"}, "தமிழ்ழ\n*தமிழ்ழ\n#\n");
    EXPECT_EQ(answers(run.out), (std::vector<std::string>{banner, "? தமிழ்ழ 0", ""}));
    // A folder that is not there is reported when the dictionary is saved.
    run = pipe({"-a", "-d", "ta-IN", "-p", folder + "missing/"}, "*தமிழ்ழ\n#\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("cannot save the user dictionary"), std::string::npos) << run.err;
}

// The flags editors pass to their ispell program.
TEST(IspellPipe, TakesTheFlagsEditorsPass) {
    struct FlagCase {
        std::vector<std::string> flags;
        int status;
        const char *firstLine; // of standard output
    };
    const std::string shipped = TARVELLITE_PROGRAM_DIR "/DictionaryFiles/en-US";
    const std::vector<FlagCase> cases = {
        {{"-v"}, 0, banner.c_str()},
        {{"-vv"}, 0, banner.c_str()},
        {{"-a", "-d", "en_US"}, 0, banner.c_str()},
        {{"-a", "-den-US"}, 0, banner.c_str()},
        {{"-a", "-d", shipped}, 0, banner.c_str()},
        {{"-a", "-d", shipped + ".dic"}, 0, banner.c_str()},
        {{"-a", "-m", "-B", "-C", "-S", "-i", "utf-8", "-T", "latin1", "-d", "en-US"},
         0,
         banner.c_str()},
        {{"-a", "-d", "xx-YY"}, 1, ""},
        {{"-a", "-d", "/no/such/file.dic"}, 1, ""},
        {{"-l", "-d", "en-US"}, 2, ""},
        {{"-d", "en-US"}, 2, ""},
        {{"-a", "-d", "en-US", "file.txt"}, 2, ""},
    };
    for (const FlagCase &c : cases) {
        std::string shown;
        for (const std::string &f : c.flags)
            shown += f + " ";
        const ProgramRun run = pipe(c.flags, "the\n");
        EXPECT_EQ(run.status, c.status) << shown << run.err;
        EXPECT_EQ(lines(run.out).empty() ? "" : lines(run.out)[0], c.firstLine) << shown;
        if (c.status != 0) {
            EXPECT_FALSE(run.err.empty()) << shown << "fails with a reason";
        }
    }
    // The reason for an unknown dictionary lists the shipped ones.
    const ProgramRun unknown = pipe({"-a", "-d", "xx-YY"}, "");
    EXPECT_NE(unknown.err.find("ta-IN"), std::string::npos) << unknown.err;
    // Without -d the locale chooses, and English when we ship nothing for it.
    const ProgramRun tamil = runProgram({ispell, "-a"}, "தமிழ\n", {"LC_ALL=ta_IN.UTF-8"});
    EXPECT_EQ(answers(tamil.out), (std::vector<std::string>{banner, "? தமிழ 0", ""}));
    const ProgramRun english = runProgram({ispell, "-a"}, "teh\n", {"LC_ALL=C", "LANG=fr_FR"});
    EXPECT_EQ(answers(english.out), (std::vector<std::string>{banner, "? teh 0", ""}));
    // tarvellite-cli spell is the same pipe.
    const ProgramRun spell = runProgram({cli, "spell", "-d", shipped + ".dic", "-a"}, "!\nteh\n");
    EXPECT_EQ(answers(spell.out), (std::vector<std::string>{banner, "? teh 0", ""}));
}

// An editor writes a line and waits for its answer with the pipe still open.
TEST(IspellPipe, AnswersEachLineWhileTheInputStaysOpen) {
    int in[2], out[2];
    ASSERT_EQ(::pipe(in), 0);
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[1]);
        ::close(out[0]);
        ::execl(ispell.c_str(), ispell.c_str(), "-a", "-d", "en-US", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    std::string received;
    // Reads until `text` has arrived; gives up after a minute, which only a pipe that holds
    // its answer back until the input ends would take.
    auto waitFor = [&](const std::string &text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (received.find(text) == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd fd{out[0], POLLIN, 0};
            if (::poll(&fd, 1, 1000) <= 0)
                continue;
            char buf[4096];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0)
                break;
            received.append(buf, static_cast<std::size_t>(n));
        }
        return received.find(text) != std::string::npos;
    };
    EXPECT_TRUE(waitFor(banner + "\n"));
    ASSERT_EQ(::write(in[1], "!\n^teh\n", 7), 7);
    EXPECT_TRUE(waitFor("& teh")) << received;
    ASSERT_EQ(::write(in[1], "^speling\n", 9), 9);
    EXPECT_TRUE(waitFor("& speling")) << received;
    ::close(in[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(IspellPipe, WordsOfALine) {
    struct WordsCase {
        const char16_t *line;
        bool tex;
        std::vector<std::u16string> words;
    };
    const std::vector<WordsCase> cases = {
        {u"don't x-ray 'quoted' a.b", false, {u"don't", u"x", u"ray", u"quoted", u"a", u"b"}},
        {u"தமிழ்: நன்றி! क्‍ष",
         false,
         {u"தமிழ்", u"நன்றி", u"क्‍ष"}},
        {u"ஒரு। இரண்டு॥ «three» “four” —five",
         false,
         {u"ஒரு", u"இரண்டு", u"three", u"four", u"five"}},
        {u"\\emph{word} $x + y$ \\\\ end", true, {u"word", u"end"}},
        {u"\\emph{word} $x$", false, {u"emph", u"word", u"x"}},
        {u"a'", false, {u"a"}},
    };
    for (const WordsCase &c : cases) {
        std::vector<std::u16string> got;
        const std::u16string_view line = c.line;
        for (const cli::WordSpan &w : cli::pipeWords(line, 0, c.tex))
            got.emplace_back(line.substr(w.start, w.length));
        EXPECT_EQ(got, c.words) << utf16ToUtf8(line);
    }
}

// Emacs's flyspell, a real client of the pipe, marks exactly the misspelled words.
TEST(IspellPipe, EmacsFlyspellMarksTheMisspelledWords) {
    const ProgramRun version = runProgram({"/usr/bin/emacs", "--version"});
    ASSERT_EQ(version.status, 0)
        << "this test needs Emacs (Debian package emacs-nox, installed by scripts/deps.sh)";
    struct FlyspellCase {
        const char *dictionary;
        const char *text;
        std::vector<std::string> marked;
    };
    const std::vector<FlyspellCase> cases = {
        {"en-US",
         "This is teh test of speling.\nThe quick brown fox jumps over the lazy dog.\n",
         {"teh", "speling"}},
        {"ta-IN",
         "அவன் பள்ளிக்கு சென்றான்\nதமிழ மொழி அழகானது, மரம் பெரியது\nஅம்மா வநதாள்\n",
         {"தமிழ", "வநதாள்"}},
    };
    const std::string folder = ::testing::TempDir() + "flyspell/";
    std::filesystem::create_directories(folder);
    for (const FlyspellCase &c : cases) {
        const std::string file = folder + c.dictionary + ".txt";
        const std::string text = c.text;
        ASSERT_TRUE(writeFileAtomically(file, Bytes(text.begin(), text.end())).ok());
        const ProgramRun run = runProgram({"/usr/bin/emacs", "--batch", "-Q", "-l",
                                           TARVELLITE_SOURCE_DIR "/tests/cli/flyspell_marks.el",
                                           ispell, c.dictionary, file},
                                          {}, {"HOME=" + folder});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(lines(run.out), c.marked) << c.dictionary << "\n" << run.err;
    }
}

} // namespace
} // namespace tarvellite

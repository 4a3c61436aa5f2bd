// The ispell pipe protocol ("-a") over our dictionaries: a banner line, then per input line
// either a command (no answer) or one answer per word followed by an empty line.

#include "cli/ispell_pipe.h"

#include "cli/command.h"
#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "core/spelling/ascii_case.h"
#include "core/spelling/dictionary.h"
#include "core/spelling/ignore_list.h"
#include "core/spelling/normalize.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <optional>
#include <poll.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvellite::cli {

namespace {

constexpr const char *versionLine =
    "@(#) International Ispell Version 3.2.06 (but really TarvelLite)\n";

constexpr const char *ispellUsage =
    "usage: tarvellite-ispell -a [-d NAME|PATH] [-p FOLDER|FILE] [-t|-n] [--accuracy N]\n"
    "       tarvellite-ispell -v|-vv\n"
    "\n"
    "Checks UTF-8 text from standard input as ispell's pipe mode (-a) does, for editors that\n"
    "run an ispell program. It writes a banner, then for each line of text one line per word\n"
    "(\"*\" correct, \"& WORD COUNT OFFSET: S1, S2\" with suggestions, \"# WORD OFFSET\"\n"
    "without; OFFSET counts characters from the start of the line) and an empty line.\n"
    "Lines starting with these characters are commands and get no answer:\n"
    "  ^TEXT  check TEXT (for text that starts with a command character)\n"
    "  !      terse mode: nothing is written for correct words     %  leave terse mode\n"
    "  *WORD  add WORD to the user dictionary    &WORD  add it in lower case\n"
    "  @WORD  accept WORD until the end of the session\n"
    "  #      save the user dictionary           ~...  parameters (ignored)\n"
    "  +      TeX mode: \\commands and $math$ are skipped       -  leave TeX mode\n"
    "\n"
    "-d names a shipped dictionary (en-US, hi-IN, kn-IN, ta-IN, te-IN, ml-IN, si-LK; en_US\n"
    "works too) or a word file (PATH.dic); the default follows LANG, else en-US. -p names the\n"
    "folder of the user dictionary (or a file in it); without it, words added are kept for\n"
    "the session only. -t and -n start in TeX or plain mode. -v and -vv print the version.\n"
    "Other ispell and hunspell flags (-B, -C, -m, -i ENCODING, ...) are accepted and ignored.\n";

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Letters, digits, the marks and joiners of the Indic scripts; not spaces, punctuation or
// symbols of Latin-1 and the general punctuation block, nor the dandas.
bool isWordUnit(char16_t c) {
    if (c < 0x80)
        return isAsciiLetter(c) || isAsciiDigit(c);
    if (c >= 0xA0 && c <= 0xBF)
        return c == 0xAA || c == 0xB5 || c == 0xBA;
    if (c == 0xD7 || c == 0xF7)
        return false;
    if (c >= 0x2000 && c <= 0x206F)
        return c == 0x200C || c == 0x200D;
    if (c >= 0x2E00 && c <= 0x2E7F)
        return false;
    return c != 0x0964 && c != 0x0965 && c != 0x0DF4 && c != 0x3000 && c != 0xFEFF;
}

bool fileExistsAt(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExistsAt(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool endsWith(const std::string &s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string shippedFolder() {
    return programFolder() + "DictionaryFiles/";
}

// The names of the shipped dictionaries, for messages.
std::string shippedNames() {
    std::set<std::string> names;
    if (DIR *dir = ::opendir(shippedFolder().c_str())) {
        while (const dirent *e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (endsWith(name, ".dic"))
                names.insert(name.substr(0, name.size() - 4));
        }
        ::closedir(dir);
    }
    std::string list;
    for (const std::string &n : names)
        list += (list.empty() ? "" : ", ") + n;
    return list.empty() ? "none" : list;
}

// The word file for -d: a path (with or without ".dic"), or the name of a shipped dictionary
// ("ta-IN", or "ta_IN" as hunspell spells it).
std::optional<std::string> resolveDictionary(const std::string &name) {
    if (name.find('/') != std::string::npos || endsWith(name, ".dic")) {
        if (fileExistsAt(name))
            return name;
        if (!endsWith(name, ".dic") && fileExistsAt(name + ".dic"))
            return name + ".dic";
        return std::nullopt;
    }
    std::string dashed = name;
    for (char &c : dashed)
        if (c == '_')
            c = '-';
    for (const std::string &candidate : {name, dashed}) {
        const std::string path = shippedFolder() + candidate + ".dic";
        if (!candidate.empty() && fileExistsAt(path))
            return path;
    }
    return std::nullopt;
}

// Without -d: the dictionary of the locale's language and country when we ship one.
std::string defaultDictionaryName() {
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(variable);
        if (!value || !*value)
            continue;
        const std::string locale = std::string(value).substr(0, 5);
        if (locale.size() == 5 && locale[2] == '_' && resolveDictionary(locale))
            return locale;
        break;
    }
    return "en-US";
}

// A word as the checker compares it: A to Z folded, in its normal form.
std::u16string comparedForm(std::u16string_view word) {
    std::u16string w = normalizedWord(word);
    for (char16_t &c : w)
        c = lowerAscii(c);
    return w;
}

// The first word of a command's argument.
std::u16string commandWord(std::string_view rest) {
    std::size_t b = 0;
    while (b < rest.size() && (rest[b] == ' ' || rest[b] == '\t'))
        ++b;
    std::size_t e = b;
    while (e < rest.size() && rest[e] != ' ' && rest[e] != '\t')
        ++e;
    return utf8ToUtf16(rest.substr(b, e - b));
}

class IspellPipe {
  public:
    IspellPipe(const char *programName, CDictionary &dictionary, int accuracy, bool tex,
               bool canSave)
        : programName_(programName), dictionary_(dictionary), accuracy_(accuracy), tex_(tex),
          canSave_(canSave) {}

    /// Reads standard input to its end, answering as it goes. False when the output failed.
    bool run();

  private:
    void line(std::string_view text);
    void checkText(std::u16string_view text, std::size_t start);
    bool flush();
    static bool inputWaiting();

    const char *programName_;
    CDictionary &dictionary_;
    int accuracy_;
    bool tex_;
    bool canSave_;
    bool terse_ = false;
    bool outputFailed_ = false;
    std::string out_;
    std::vector<std::u16string> suggestions_;
};

// Longest line taken whole; a longer one is checked in pieces of this size.
constexpr std::size_t maxLineBytes = std::size_t{1} << 20;
// Output kept before it is written even while more input waits.
constexpr std::size_t outputChunk = std::size_t{1} << 16;

bool IspellPipe::run() {
    out_ = versionLine;
    if (!flush())
        return false;
    std::string in;
    std::size_t pos = 0;
    char buffer[1 << 16];
    while (true) {
        std::size_t nl;
        while ((nl = in.find('\n', pos)) != std::string::npos) {
            line(std::string_view(in).substr(pos, nl - pos));
            pos = nl + 1;
            if (out_.size() >= outputChunk && !flush())
                return false;
        }
        in.erase(0, pos);
        pos = 0;
        if (in.size() >= maxLineBytes) {
            // Cut before a UTF-8 continuation byte, so that no character is split.
            std::size_t cut = maxLineBytes;
            while (cut > 0 && (static_cast<unsigned char>(in[cut]) & 0xC0) == 0x80)
                --cut;
            line(std::string_view(in).substr(0, cut));
            in.erase(0, cut);
            continue;
        }
        // Answer at once when the writer waits for the answer (an editor sends a line and
        // reads its answer); while more input is already there, keep collecting.
        if (!out_.empty() && !inputWaiting() && !flush())
            return false;
        const ssize_t n = ::read(0, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        in.append(buffer, static_cast<std::size_t>(n));
    }
    if (!in.empty())
        line(in);
    return flush();
}

bool IspellPipe::inputWaiting() {
    pollfd fd{0, POLLIN, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
}

bool IspellPipe::flush() {
    std::size_t done = 0;
    while (done < out_.size()) {
        const ssize_t n = ::write(1, out_.data() + done, out_.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            outputFailed_ = true;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    out_.clear();
    return true;
}

void IspellPipe::line(std::string_view text) {
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    const char command = text.empty() ? '\0' : text[0];
    const std::string_view rest = text.empty() ? text : text.substr(1);
    switch (command) {
    case '!': terse_ = true; return;
    case '%': terse_ = false; return;
    case '+': tex_ = true; return;
    case '-': tex_ = false; return;
    case '~': return;
    case '#':
        if (canSave_ && !dictionary_.SaveUserDictionary())
            std::fprintf(stderr, "%s: cannot save the user dictionary %s\n", programName_,
                         dictionary_.userDictPath().c_str());
        return;
    case '*':
    case '&':
    case '@': {
        // The checker compares Latin words without regard to the case of A to Z, so "*" and
        // "&" add the same word.
        const std::u16string word = commandWord(rest);
        if (word.empty())
            return;
        if (command == '@')
            addIgnoredWord(comparedForm(word));
        else
            dictionary_.AddUserWord(comparedForm(word));
        return;
    }
    case '^': checkText(utf8ToUtf16(text), 1); break;
    default: checkText(utf8ToUtf16(text), 0); break;
    }
    out_ += '\n';
}

void IspellPipe::checkText(std::u16string_view text, std::size_t start) {
    std::size_t countedUnits = 0, countedCharacters = 0;
    // Characters (code points) before unit `end`, counted on from the last call.
    auto charactersBefore = [&](std::size_t end) {
        for (; countedUnits < end; ++countedUnits)
            if (!(text[countedUnits] >= 0xDC00 && text[countedUnits] <= 0xDFFF &&
                  countedUnits > 0 && text[countedUnits - 1] >= 0xD800 &&
                  text[countedUnits - 1] <= 0xDBFF))
                ++countedCharacters;
        return countedCharacters;
    };
    for (const WordSpan &span : pipeWords(text, start, tex_)) {
        const std::u16string_view word = text.substr(span.start, span.length);
        bool digits = true;
        for (char16_t c : word)
            digits = digits && isAsciiDigit(c);
        if (digits || dictionary_.CheckWord(word)) {
            if (!terse_)
                out_ += "*\n";
            continue;
        }
        const std::string offset = std::to_string(charactersBefore(span.start));
        const std::string utf8 = utf16ToUtf8(word);
        const int count = dictionary_.GetSuggestions(suggestions_, word, accuracy_);
        if (count <= 0) {
            out_ += "# " + utf8 + " " + offset + "\n";
            continue;
        }
        out_ += "& " + utf8 + " " + std::to_string(count) + " " + offset + ":";
        for (int k = 0; k < count && static_cast<std::size_t>(k) < suggestions_.size(); ++k)
            out_ += (k ? ", " : " ") + utf16ToUtf8(suggestions_[static_cast<std::size_t>(k)]);
        out_ += "\n";
    }
}

int usageError(const char *programName, const std::string &why) {
    std::fprintf(stderr, "%s: %s\n%s", programName, why.c_str(), ispellUsage);
    return exitUsage;
}

} // namespace

std::vector<WordSpan> pipeWords(std::u16string_view line, std::size_t start, bool tex) {
    std::vector<WordSpan> words;
    const std::size_t n = line.size();
    std::size_t i = start;
    bool math = false;
    while (i < n) {
        const char16_t c = line[i];
        if (tex) {
            if (math || c == u'$') {
                if (c == u'$')
                    math = !math;
                ++i;
                continue;
            }
            if (c == u'\\') {
                ++i;
                if (i < n && isAsciiLetter(line[i])) {
                    while (i < n && isAsciiLetter(line[i]))
                        ++i;
                } else if (i < n) {
                    ++i;
                }
                continue;
            }
        }
        if (!isWordUnit(c)) {
            ++i;
            continue;
        }
        const std::size_t b = i;
        while (i < n &&
               (isWordUnit(line[i]) || (line[i] == u'\'' && i + 1 < n && isWordUnit(line[i + 1]))))
            ++i;
        words.push_back({b, i - b});
    }
    return words;
}

int runIspell(const std::vector<std::string> &args, const char *programName) {
    std::string dictionaryName, personal;
    bool pipeMode = false, tex = false;
    int version = 0;
    int accuracy = defaultDictionaryAccuracy;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        // Flags that take a value, given separately or attached (-dta-IN).
        auto value = [&](const char *flag, std::string &into) {
            const std::string f = flag;
            if (a == f && hasValue) {
                into = args[++i];
                return true;
            }
            if (a.size() > f.size() && a.compare(0, f.size(), f) == 0) {
                into = a.substr(f.size());
                return true;
            }
            return false;
        };
        std::string ignored;
        if (a == "--help" || a == "-h") {
            std::fputs(ispellUsage, stdout);
            return exitOk;
        } else if (a == "-a") {
            pipeMode = true;
        } else if (a == "-v") {
            version = 1;
        } else if (a == "-vv") {
            version = 2;
        } else if (a == "-t") {
            tex = true;
        } else if (a == "-n") {
            tex = false;
        } else if (a == "-l") {
            return usageError(programName, "only the pipe mode (-a) is offered");
        } else if (a == "--accuracy") {
            const auto n = hasValue ? parseCount(args[++i]) : std::nullopt;
            if (!n)
                return usageError(programName, "--accuracy needs a number");
            accuracy = *n;
        } else if (a == "--user-folder" && hasValue) {
            personal = args[++i];
        } else if (value("-d", dictionaryName) || value("-p", personal) || value("-i", ignored) ||
                   value("-T", ignored) || value("-w", ignored) || value("-W", ignored) ||
                   value("-L", ignored)) {
        } else if (a.empty() || a[0] != '-') {
            return usageError(programName, "unexpected argument " + a);
        }
        // Any other flag of ispell or hunspell (-B, -C, -m, -S, -P, -x, --encoding=...) does
        // not change what the pipe answers.
    }
    if (version != 0) {
        std::fputs(versionLine, stdout);
        return exitOk;
    }
    if (!pipeMode)
        return usageError(programName, "only the pipe mode (-a) is offered");
    if (dictionaryName.empty())
        dictionaryName = defaultDictionaryName();
    const std::optional<std::string> path = resolveDictionary(dictionaryName);
    if (!path) {
        std::fprintf(stderr, "%s: no dictionary %s (shipped: %s)\n", programName,
                     dictionaryName.c_str(), shippedNames().c_str());
        return exitFailed;
    }
    // -p may name the user dictionary's folder or a file in it; the file itself is always the
    // dictionary's own (ta-IN.usr).
    std::string userFolder = personal;
    if (!userFolder.empty() && !folderExistsAt(userFolder) && userFolder.back() != '/') {
        const std::size_t slash = userFolder.rfind('/');
        userFolder = slash == std::string::npos ? "./" : userFolder.substr(0, slash + 1);
    }
    CDictionary dictionary;
    if (!dictionary.Load(*path, userFolder, !userFolder.empty())) {
        std::fprintf(stderr, "%s: cannot load the dictionary %s\n", programName, path->c_str());
        return exitFailed;
    }
    IspellPipe pipe(programName, dictionary, accuracy, tex, !userFolder.empty());
    return pipe.run() ? exitOk : exitFailed;
}

} // namespace tarvellite::cli

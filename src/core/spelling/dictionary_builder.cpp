#include "core/spelling/dictionary_builder.h"

#include "core/app/unicode.h"
#include "core/spelling/ascii_case.h"
#include "core/spelling/normalize.h"
#include "core/spelling/rule_file.h"
#include "core/spelling/syllables.h"

#include <algorithm>
#include <charconv>
#include <unicode/uchar.h>
#include <unordered_set>

namespace tarvellite {

namespace {

std::u16string_view trim(std::u16string_view s) {
    const auto white = [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xFEFF;
    };
    while (!s.empty() && white(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && white(s.back()))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool unescape(std::u16string_view in, std::u16string &out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != u'\\') {
            out.push_back(in[i]);
            continue;
        }
        if (i + 1 < in.size() && in[i + 1] == u'\\') {
            out.push_back(u'\\');
            ++i;
            continue;
        }
        if (i + 5 < in.size() + 0 && in[i + 1] == u'u') {
            int v = 0;
            for (std::size_t k = 2; k < 6; ++k) {
                const int d = hexDigit(in[i + k]);
                if (d < 0)
                    return false;
                v = v * 16 + d;
            }
            out.push_back(static_cast<char16_t>(v));
            i += 5;
            continue;
        }
        return false;
    }
    return true;
}

bool parseNumber(std::u16string_view s, std::int32_t &out) {
    const std::string a = utf16ToUtf8(s);
    int base = 10;
    std::string_view digits = a;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), out, base);
    return r.ec == std::errc() && r.ptr == digits.data() + digits.size() && out >= 0 &&
           out <= 0xFFFF;
}

bool isMarkOrJoiner(char16_t c) {
    if (c == 0x200C || c == 0x200D)
        return true;
    const auto type = u_charType(c);
    return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK ||
           type == U_ENCLOSING_MARK;
}

} // namespace

const std::vector<ScriptRange> &knownScripts() {
    static const std::vector<ScriptRange> scripts = {
        {u"latin", 0x0027, 0x007A},   {u"devanagari", 0x0900, 0x097F},
        {u"kannada", 0x0C80, 0x0CFF}, {u"tamil", 0x0B80, 0x0BFF},
        {u"telugu", 0x0C00, 0x0C7F},  {u"malayalam", 0x0D00, 0x0D7F},
        {u"sinhala", 0x0D80, 0x200D},
    };
    return scripts;
}

Result<DictionarySource> parseDictionarySource(std::u16string_view text) {
    DictionarySource source;
    std::u16string section;
    bool haveRange = false, haveMin = false, haveMax = false;
    int lineNumber = 0;
    const auto fail = [&](std::string why) {
        return Error{std::move(why), Error::noOffset, lineNumber};
    };
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find(u'\n');
        std::u16string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::u16string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[') {
            if (line.back() != u']')
                return fail("a section line must end with ]");
            section = std::u16string(trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t eq = line.find(u'=');
        if (eq == std::u16string_view::npos)
            return fail("expected Key=Value");
        const std::u16string_view key = trim(line.substr(0, eq));
        std::u16string value;
        if (!unescape(trim(line.substr(eq + 1)), value))
            return fail("bad escape (use \\uXXXX or \\\\)");
        if (equalIgnoringCase(section, u"Dictionary")) {
            if (equalIgnoringCase(key, u"Script")) {
                const auto &scripts = knownScripts();
                const auto it = std::find_if(scripts.begin(), scripts.end(), [&](const auto &s) {
                    return equalIgnoringCase(s.name, value);
                });
                if (it == scripts.end())
                    return fail("unknown script \"" + utf16ToUtf8(value) + "\"");
                source.minChar = it->minChar;
                source.maxChar = it->maxChar;
                haveRange = true;
            } else if (equalIgnoringCase(key, u"MinChar")) {
                if (!parseNumber(value, source.minChar))
                    return fail("MinChar must be a number from 0 to 0xFFFF");
                haveMin = true;
            } else if (equalIgnoringCase(key, u"MaxChar")) {
                if (!parseNumber(value, source.maxChar))
                    return fail("MaxChar must be a number from 0 to 0xFFFF");
                haveMax = true;
            } else if (key.size() == 2 && (key[0] == u'C' || key[0] == u'c') && key[1] >= u'1' &&
                       key[1] <= u'4') {
                source.classes[static_cast<std::size_t>(key[1] - u'1')] = value;
            } else if (equalIgnoringCase(key, u"StripJoiners")) {
                source.stripJoiners = equalIgnoringCase(value, u"yes");
            } else {
                return fail("unknown key \"" + utf16ToUtf8(key) + "\" in [Dictionary]");
            }
            continue;
        }
        if (equalIgnoringCase(section, u"Generated Forms")) {
            std::vector<std::u16string> *entries = nullptr;
            if (equalIgnoringCase(key, u"Complex")) {
                entries = &source.generatedForms.emplace_back().forms;
            } else if (equalIgnoringCase(key, u"Evidence")) {
                if (source.generatedForms.empty())
                    return fail("Evidence comes after the Complex line it belongs to");
                entries = &source.generatedForms.back().evidence;
            } else {
                return fail("a key of [Generated Forms] is Complex or Evidence");
            }
            entries->clear();
            for (std::u16string &e : parseRuleEntries(value)) {
                if (e.find(u':') == std::u16string::npos)
                    return fail("a generated form is written replacement:suffix");
                entries->push_back(std::move(e));
            }
            continue;
        }
        const auto sectionAt =
            std::find_if(std::begin(ruleSectionNames), std::end(ruleSectionNames),
                         [&](std::u16string_view n) { return equalIgnoringCase(n, section); });
        if (sectionAt == std::end(ruleSectionNames))
            return fail("unknown section \"" + utf16ToUtf8(section) + "\"");
        const auto s = static_cast<std::size_t>(sectionAt - std::begin(ruleSectionNames));
        std::size_t k;
        if (equalIgnoringCase(key, u"Simple"))
            k = 0;
        else if (equalIgnoringCase(key, u"Complex"))
            k = 1;
        else
            return fail("a rule key is Simple or Complex");
        if (value.size() > ProfileText::maxValueUnits)
            return fail("the value has " + std::to_string(value.size()) +
                        " units; the rule file reader keeps only 1023");
        source.rules[s][k] = value;
    }
    if (!haveRange && !(haveMin && haveMax)) {
        lineNumber = 0;
        return fail("[Dictionary] needs Script, or MinChar and MaxChar");
    }
    if (source.minChar > source.maxChar) {
        lineNumber = 0;
        return fail("MinChar is above MaxChar");
    }
    return source;
}

DictionaryBuilder::DictionaryBuilder(const DictionarySource &source) : source_(source) {}

void DictionaryBuilder::addWordList(std::string_view utf8) {
    const bool latin = source_.maxChar < 128;
    if (utf8.size() >= 3 && utf8.substr(0, 3) == "\xEF\xBB\xBF")
        utf8.remove_prefix(3);
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        ++counts_.read;
        std::u16string w = utf8ToUtf16(line);
        if (latin)
            for (char16_t &c : w)
                c = lowerAscii(c);
        normalizeWord(w);
        if (source_.stripJoiners)
            std::erase_if(w, [](char16_t c) { return c == 0x200C || c == 0x200D; });
        if (std::any_of(w.begin(), w.end(), [&](char16_t c) {
                return c < source_.minChar || c > source_.maxChar || c == u' ';
            })) {
            ++counts_.outsideScript;
            continue;
        }
        if (!w.empty() && isMarkOrJoiner(w[0])) {
            ++counts_.badStart;
            continue;
        }
        if (w.size() < minWordUnits || w.size() > maxStoredWordUnits) {
            ++counts_.wrongLength;
            continue;
        }
        if (!isWellFormedWord(w)) {
            ++counts_.illFormed;
            continue;
        }
        words_.push_back(std::move(w));
    }
}

namespace {

// The word made from `word` by the replacement:suffix `entry`, or empty when `word` does not
// end in the replacement.
std::u16string formOf(const std::u16string &word, std::u16string_view entry) {
    const std::size_t colon = entry.find(u':');
    const std::u16string_view replacement = entry.substr(0, colon);
    const std::u16string_view suffix = entry.substr(colon + 1);
    if (word.size() <= replacement.size() ||
        std::u16string_view(word).substr(word.size() - replacement.size()) != replacement)
        return {};
    return word.substr(0, word.size() - replacement.size()) + std::u16string(suffix);
}

} // namespace

void DictionaryBuilder::generateForms() {
    if (source_.generatedForms.empty())
        return;
    const std::unordered_set<std::u16string> listed(words_.begin(), words_.end());
    std::vector<std::u16string> added;
    for (const DictionarySource::FormGroup &group : source_.generatedForms)
        for (const std::u16string &word : listed) {
            const bool attested = std::any_of(group.evidence.begin(), group.evidence.end(),
                                              [&](const std::u16string &e) {
                                                  const std::u16string form = formOf(word, e);
                                                  return !form.empty() && listed.count(form);
                                              });
            if (!attested)
                continue;
            for (const std::u16string &e : group.forms) {
                std::u16string form = formOf(word, e);
                if (form.size() < minWordUnits || form.size() > maxStoredWordUnits ||
                    listed.count(form) || !isWellFormedWord(form))
                    continue;
                added.push_back(std::move(form));
            }
        }
    std::sort(added.begin(), added.end());
    added.erase(std::unique(added.begin(), added.end()), added.end());
    counts_.generated = added.size();
    words_.insert(words_.end(), added.begin(), added.end());
}

DictionaryFileData DictionaryBuilder::build() {
    std::sort(words_.begin(), words_.end());
    const std::size_t before = words_.size();
    words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
    counts_.duplicates = before - words_.size();
    generateForms();
    std::sort(words_.begin(), words_.end());
    counts_.kept = words_.size();
    DictionaryFileData data;
    data.minChar = source_.minChar;
    data.maxChar = source_.maxChar;
    data.classes = source_.classes;
    data.words = words_;
    buildDictionaryIndexes(data);
    return data;
}

Bytes ruleFileBytes(const DictionarySource &source) {
    std::u16string text = u"\uFEFF";
    static constexpr std::u16string_view keys[2] = {u"Simple", u"Complex"};
    for (std::size_t s = 0; s < 6; ++s) {
        text += u"[";
        text += ruleSectionNames[s];
        text += u"]\r\n";
        for (std::size_t k = 0; k < 2; ++k) {
            text += keys[k];
            text += u"=";
            text += source.rules[s][k];
            text += u"\r\n";
        }
        text += u"\r\n";
    }
    ByteWriter w;
    for (char16_t c : text)
        w.u16(c);
    return w.take();
}

} // namespace tarvellite

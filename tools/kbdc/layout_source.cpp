// Compiler of the readable layout sources under data/keyboards into the keyboard data file.
// The format is described in docs/formats/layout-source.md.

#include "layout_source.h"

#include "core/app/file_io.h"
#include "core/app/unicode.h"

#include <charconv>
#include <map>
#include <optional>

namespace tarvellite {

namespace {

struct Cell {
    std::u16string units;
    int counted = 0;
};

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        std::size_t j = i;
        if (line[i] == '"') {
            j = line.find('"', i + 1);
            if (j == std::string_view::npos)
                j = line.size();
            else
                ++j;
        } else {
            while (j < line.size() && line[j] != ' ' && line[j] != '\t')
                ++j;
        }
        words.push_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

std::optional<char16_t> parseHexUnit(std::string_view hex) {
    unsigned v = 0;
    if (hex.size() != 4)
        return std::nullopt;
    auto [p, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), v, 16);
    if (ec != std::errc() || p != hex.data() + hex.size())
        return std::nullopt;
    return static_cast<char16_t>(v);
}

// A cell: "-" is empty; otherwise units with escapes \uXXXX, \- \| \\ \@ and "|" separating the
// delivered units from slots shown on the key only. `placeholder` allows "@" (rule results).
Result<Cell> parseCell(std::string_view word, bool allowSplit, bool allowPlaceholder) {
    Cell cell;
    if (word == "-")
        return cell;
    bool split = false;
    for (std::size_t i = 0; i < word.size();) {
        const char c = word[i];
        if (c == '|' && allowSplit) {
            if (split)
                return Error{"two | in one cell"};
            split = true;
            cell.counted = static_cast<int>(cell.units.size());
            ++i;
        } else if (c == '@' && allowPlaceholder) {
            cell.units.push_back(u'@');
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= word.size())
                return Error{"a cell ends with a backslash"};
            const char e = word[i + 1];
            if (e == 'u') {
                const auto unit = parseHexUnit(word.substr(i + 2, 4));
                if (!unit)
                    return Error{"\\u needs four hex digits"};
                cell.units.push_back(*unit);
                i += 6;
            } else if (e == '-' || e == '|' || e == '\\' || e == '@' || e == '"') {
                cell.units.push_back(static_cast<char16_t>(e));
                i += 2;
            } else {
                return Error{std::string("unknown escape \\") + e};
            }
        } else {
            // One UTF-8 character.
            std::size_t len = 1;
            const auto b = static_cast<unsigned char>(c);
            if (b >= 0xF0)
                len = 4;
            else if (b >= 0xE0)
                len = 3;
            else if (b >= 0xC0)
                len = 2;
            const std::u16string u = utf8ToUtf16(word.substr(i, len));
            if (u.find(u'\uFFFD') != std::u16string::npos)
                return Error{"malformed UTF-8"};
            cell.units += u;
            i += len;
        }
    }
    if (!split)
        cell.counted = static_cast<int>(cell.units.size());
    if (cell.units.size() > 4)
        return Error{"more than four units in a cell"};
    return cell;
}

Result<char16_t> parseUnit(std::string_view word) {
    if (word.size() == 6 && (word.substr(0, 2) == "U+" || word.substr(0, 2) == "u+")) {
        if (auto u = parseHexUnit(word.substr(2)))
            return *u;
        return Error{"bad code point " + std::string(word)};
    }
    Result<Cell> cell = parseCell(word, false, false);
    if (!cell)
        return cell.error();
    if (cell->units.size() != 1)
        return Error{"expected one character, got \"" + std::string(word) + "\""};
    return cell->units[0];
}

std::string unquote(std::string_view word) {
    if (word.size() >= 2 && word.front() == '"' && word.back() == '"')
        return std::string(word.substr(1, word.size() - 2));
    return std::string(word);
}

int sectionOf(std::string_view name) {
    if (name == "h")
        return PHONETICDATA::SectionH;
    if (name == "M")
        return PHONETICDATA::SectionM;
    if (name == "R")
        return PHONETICDATA::SectionR;
    if (name == "u")
        return PHONETICDATA::SectionU;
    return -1;
}

} // namespace

Result<LanguageSource> parseLayoutSource(std::string_view text, const std::string &fileName) {
    LanguageSource lang;
    std::array<int, 4> ruleCounts{};
    int selected = -1;
    std::vector<std::array<bool, keyPositionCount>> keySeen;
    bool sawLanguage = false;
    int lineNo = 0;

    auto fail = [&](const std::string &why) {
        return Error{fileName + ": " + why, Error::noOffset, lineNo};
    };

    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::vector<std::string_view> w = splitWords(line);
        if (w.empty() || w[0].starts_with("#"))
            continue;
        const std::string_view head = w[0];

        if (head == "language") {
            if (w.size() != 2)
                return fail("language \"Name\"");
            lang.details.name = utf8ToUtf16(unquote(w[1]));
            if (lang.details.name.size() > 15)
                return fail("a language name has at most 15 characters");
            sawLanguage = true;
        } else if (head == "code") {
            if (w.size() != 2 || w[1].size() != 2)
                return fail("code XX");
            lang.code = std::string(w[1]);
        } else if (head == "virama-mode") {
            if (w.size() != 2)
                return fail("virama-mode N");
            lang.details.viramaMode = std::atoi(std::string(w[1]).c_str());
        } else if (head == "virama") {
            if (w.size() != 2)
                return fail("virama C");
            Result<char16_t> u = parseUnit(w[1]);
            if (!u)
                return fail(u.error().message);
            lang.details.virama = *u;
        } else if (head == "consonants") {
            if (w.size() != 3)
                return fail("consonants FIRST LAST");
            Result<char16_t> a = parseUnit(w[1]), b = parseUnit(w[2]);
            if (!a || !b)
                return fail("consonants: bad character");
            lang.details.consonantFirst = *a;
            lang.details.consonantLast = *b;
        } else if (head == "vowels" || head == "signs") {
            std::u16string list;
            for (std::size_t i = 1; i < w.size(); ++i) {
                if (w[i] == "-" && head == "signs") {
                    list.push_back(emptySlot);
                    continue;
                }
                Result<char16_t> u = parseUnit(w[i]);
                if (!u)
                    return fail(u.error().message);
                list.push_back(*u);
            }
            if (list.size() > 19)
                return fail("at most 19 vowels");
            (head == "vowels" ? lang.details.vowels : lang.details.vowelSigns) = list;
        } else if (head == "keyboard") {
            if (w.size() < 3 || w.size() > 4 || (w[2] != "typewriter" && w[2] != "phonetic") ||
                (w.size() == 4 && w[3] != "selected"))
                return fail("keyboard \"Name\" typewriter|phonetic [selected]");
            KBDTYPE type;
            type.name = utf8ToUtf16(unquote(w[1]));
            if (type.name.size() > 15)
                return fail("a keyboard name has at most 15 characters");
            type.layoutKind = w[2] == "phonetic" ? phoneticLayoutKind : 1;
            if (type.isPhonetic()) {
                if (lang.hasPhonetic)
                    return fail("a language has at most one phonetic keyboard (the rules "
                                "belong to the language)");
                lang.hasPhonetic = true;
            }
            if (w.size() == 4) {
                if (selected >= 0)
                    return fail("two keyboards are marked selected");
                selected = static_cast<int>(lang.keyboards.size());
            }
            lang.keyboards.push_back(type);
            lang.keys.emplace_back();
            lang.keys.back().units.fill(emptySlot);
            for (int i = 0; i < 200; ++i)
                lang.keys.back().units[i] = 0;
            keySeen.emplace_back();
            keySeen.back().fill(false);
        } else if (head == "rule") {
            if (!lang.hasPhonetic || !lang.keyboards.back().isPhonetic())
                return fail("rules belong to a phonetic keyboard");
            if (w.size() != 6 || w[3] != "=>")
                return fail("rule h|M|R|u MATCH => RESULT ERASE");
            const int s = sectionOf(w[1]);
            if (s < 0)
                return fail("rule sections are h, M, R and u");
            Result<Cell> match = parseCell(w[2], false, false);
            Result<Cell> result = parseCell(w[4], false, true);
            if (!match || !result)
                return fail(!match ? match.error().message : result.error().message);
            if (match->units.empty() || match->units.size() > 2)
                return fail("a rule matches one or two characters");
            if (result->units.empty() || result->units.size() > 3)
                return fail("a rule gives one to three characters");
            if (ruleCounts[s] >= PHONETICDATA::ruleCounts[s])
                return fail("too many rules in section " + std::string(w[1]));
            PhoneticRule &rule = lang.phonetic.sections[s][ruleCounts[s]++];
            rule.earlier = match->units[0];
            rule.later = match->units.size() == 2 ? match->units[1] : 0;
            for (std::size_t i = 0; i < result->units.size(); ++i) {
                if (result->units[i] == u'@') {
                    if (i != 1 || result->units.size() != 3)
                        return fail("@ stands for the context only in the middle of three");
                    rule.out[i] = 0x0020;
                } else {
                    rule.out[i] = result->units[i];
                }
            }
            int erase = -1;
            auto [p, ec] = std::from_chars(w[5].data(), w[5].data() + w[5].size(), erase);
            if (ec != std::errc() || p != w[5].data() + w[5].size() || erase < 0 || erase > 2)
                return fail("the erase count is 0, 1 or 2");
            rule.eraseCount = erase;
        } else if (head == "delinker" || head == "pulli-pairs") {
            if (lang.keyboards.empty())
                return fail(std::string(head) + " belongs to a keyboard");
            KBDDATA &data = lang.keys.back();
            if (head == "delinker") {
                if (w.size() != 2)
                    return fail("delinker C");
                Result<char16_t> u = parseUnit(w[1]);
                if (!u)
                    return fail(u.error().message);
                data.units[KBDDATA::compositionIndex(0)] = *u;
                continue;
            }
            int next = 1;
            while (next < KBDDATA::compositionUnitCount && !data.compositionEmpty(next))
                next += 2;
            for (std::size_t i = 1; i < w.size(); ++i) {
                Result<Cell> pair = parseCell(w[i], false, false);
                if (!pair)
                    return fail(pair.error().message);
                if (pair->units.size() != 2)
                    return fail("a pulli pair is two consonants, as in நத");
                if (next + 1 >= KBDDATA::compositionUnitCount)
                    return fail("too many pulli pairs (at most " +
                                std::to_string((KBDDATA::compositionUnitCount - 1) / 2) + ")");
                data.units[KBDDATA::compositionIndex(next)] = pair->units[0];
                data.units[KBDDATA::compositionIndex(next + 1)] = pair->units[1];
                next += 2;
            }
        } else {
            // A key line: KEY NORMAL [SHIFT [CTRL [CTRL+SHIFT]]]
            if (lang.keyboards.empty())
                return fail("unknown directive \"" + std::string(head) + "\"");
            std::string_view keyName = head;
            if (keyName == "\\\\")
                keyName = "\\";
            const int k =
                keyName.size() == 1 ? charToKeyTable(static_cast<unsigned char>(keyName[0])) : -1;
            if (k < 0 || keyUnshiftedChar(k) != keyName[0])
                return fail("\"" + std::string(head) +
                            "\" is not a key (name keys by their "
                            "unshifted character)");
            if (keySeen.back()[k])
                return fail("key " + std::string(head) + " is given twice");
            keySeen.back()[k] = true;
            if (w.size() < 2 || w.size() > 5)
                return fail("a key line has one to four cells");
            KBDDATA &data = lang.keys.back();
            std::array<Cell, 4> cells{};
            for (std::size_t c = 1; c < w.size(); ++c) {
                Result<Cell> cell = parseCell(w[c], true, false);
                if (!cell)
                    return fail(cell.error().message);
                cells[c - 1] = *cell;
            }
            if (cells[LayerCtrlShift].counted != 0 &&
                cells[LayerCtrlShift].counted != cells[LayerCtrl].counted)
                return fail("Ctrl+Shift delivers as many units as Ctrl");
            for (int layer = 0; layer < layerCount; ++layer) {
                const Cell &cell = cells[layer];
                for (char16_t u : cell.units)
                    if (u == 0 || u == emptySlot)
                        return fail("U+0000 and U+FFFF are not characters of a key");
                const int count = layer == LayerCtrlShift ? cells[LayerCtrl].counted : cell.counted;
                data.units[KBDDATA::countIndex(layer, k)] = static_cast<std::uint16_t>(count);
                for (std::size_t p = 0; p < cell.units.size(); ++p)
                    data.units[KBDDATA::slotIndex(layer, static_cast<int>(p) + 1, k)] =
                        cell.units[p];
            }
        }
        if (pos > text.size())
            break;
    }
    if (!sawLanguage)
        return fail("no language line");
    if (lang.code.empty())
        return fail("no code line");
    lang.details.keyboardsInLanguage = static_cast<std::int32_t>(lang.keyboards.size());
    lang.details.selectedKeyboard = selected < 0 ? 0 : selected;
    if (!lang.details.vowels.empty() &&
        lang.details.vowelSigns.size() != lang.details.vowels.size())
        return fail("vowels and signs differ in number");
    return lang;
}

KeyboardTables assembleTables(const std::vector<LanguageSource> &languages) {
    KeyboardTables t;
    for (const LanguageSource &src : languages) {
        LANGDETAILS d = src.details;
        d.firstKeyboard = static_cast<std::int32_t>(t.keyboardTypeTable.size());
        d.phoneticIndex = src.hasPhonetic ? static_cast<std::int32_t>(t.phoneticTable.size()) : 0;
        if (src.hasPhonetic)
            t.phoneticTable.push_back(src.phonetic);
        t.keyboardTypeTable.insert(t.keyboardTypeTable.end(), src.keyboards.begin(),
                                   src.keyboards.end());
        t.keyboardDataTable.insert(t.keyboardDataTable.end(), src.keys.begin(), src.keys.end());
        t.languageTable.push_back(d);
    }
    if (!t.keyboardDataTable.empty())
        BuildKeyCaptions(t.baseCaptionTable, t.keyboardDataTable[0]);
    for (const char *code : languageCodeList)
        t.languageCodes.emplace_back(code);
    return t;
}

Result<KeyboardTables> compileLayouts(const std::string &manifestPath) {
    Result<Bytes> manifest = readWholeFile(manifestPath, 1 << 20);
    if (!manifest)
        return manifest.error();
    const std::string folder = [&] {
        const std::size_t slash = manifestPath.rfind('/');
        return slash == std::string::npos ? std::string() : manifestPath.substr(0, slash + 1);
    }();
    std::vector<LanguageSource> languages;
    const std::string list(manifest->begin(), manifest->end());
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t eol = list.find('\n', pos);
        if (eol == std::string::npos)
            eol = list.size();
        std::string name = list.substr(pos, eol - pos);
        pos = eol + 1;
        while (!name.empty() && (name.back() == '\r' || name.back() == ' '))
            name.pop_back();
        if (name.empty() || name[0] == '#')
            continue;
        Result<Bytes> source = readWholeFile(folder + name, 1 << 20);
        if (!source)
            return source.error();
        Result<LanguageSource> lang = parseLayoutSource(
            std::string_view(reinterpret_cast<const char *>(source->data()), source->size()), name);
        if (!lang)
            return lang.error();
        const std::size_t index = languages.size();
        if (index < languageCodeList.size() && lang->code != languageCodeList[index])
            return Error{name + ": language " + std::to_string(index) + " must have the code " +
                         languageCodeList[index] + ", not " + lang->code};
        languages.push_back(std::move(lang).value());
    }
    if (languages.empty())
        return Error{manifestPath + ": names no layout files"};
    return assembleTables(languages);
}

} // namespace tarvellite

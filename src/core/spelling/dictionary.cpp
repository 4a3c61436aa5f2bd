// The dictionary object: loading, word validation, suggestions and prefix lookup.
//
// The word file is read through dictionary_file.cpp, which checks every count and length before
// it allocates. Index positions taken from the file are clamped where they are used, so a file
// whose indexes disagree with its word list gives wrong answers at worst, never a bad access.

#include "core/spelling/dictionary.h"

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/ignore_list.h"
#include "core/spelling/normalize.h"
#include "core/spelling/rule_file.h"

#include <algorithm>
#include <filesystem>

namespace tarvellite {

namespace {

// Files larger than these are refused before they are read.
constexpr std::size_t maxWordFileBytes = 64u << 20;
constexpr std::size_t maxRuleFileBytes = 1u << 20;
constexpr std::size_t maxUserFileBytes = 16u << 20;
// More words than any language needs; bounds the memory a hostile count can claim.
constexpr std::size_t maxWords = 8u << 20;
// The vowel-variant generator gives up rather than form more variants than this.
constexpr std::size_t maxVowelVariants = 200000;

char16_t lowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
}
char16_t upperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}

void lowerAsciiInPlace(std::u16string &s) {
    for (char16_t &c : s)
        c = lowerAscii(c);
}

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

bool startsWithIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
    return s.size() >= prefix.size() && equalIgnoringCase(s.substr(0, prefix.size()), prefix);
}

bool endsWith(std::u16string_view s, std::u16string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::uint32_t hashUnits(std::u16string_view s) {
    std::uint32_t h = 2166136261u;
    for (char16_t c : s) {
        h ^= c;
        h *= 16777619u;
    }
    return h ^ (h >> 15);
}

// The word a lookup works on: A to Z folded to lower case when asked, then NFC.
std::u16string preparedWord(std::u16string_view word, bool lowerCase) {
    std::u16string w(word);
    if (lowerCase)
        lowerAsciiInPlace(w);
    normalizeWord(w);
    return w;
}

std::string lastPathComponent(const std::string &path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class PoolSink : public DictionaryWordSink {
  public:
    PoolSink(std::u16string &data, std::vector<std::uint32_t> &offsets, bool &tooMany)
        : data_(data), offsets_(offsets), tooMany_(tooMany) {}
    void reserve(std::size_t count) override {
        if (count > maxWords) {
            tooMany_ = true;
            count = 0;
        }
        offsets_.reserve(count + 1);
        data_.reserve(count * 10);
    }
    void add(std::u16string_view word) override {
        if (tooMany_)
            return;
        data_.append(word);
        offsets_.push_back(static_cast<std::uint32_t>(data_.size()));
    }

  private:
    std::u16string &data_;
    std::vector<std::uint32_t> &offsets_;
    bool &tooMany_;
};

} // namespace

CDictionary::CDictionary() {
    clear();
}
CDictionary::~CDictionary() = default;

void CDictionary::clear() {
    wordData_.clear();
    wordOffsets_.clear();
    hashSlots_.clear();
    userWords_.clear();
    userWordSet_.clear();
    initialEntries_.clear();
    initialSlot_.assign(0x10000, -1);
    secondIndex_.clear();
    minChar_ = maxChar_ = 0;
    for (auto &c : classes_)
        c.clear();
    for (auto &e : extras_)
        e.clear();
    for (auto &r : rules_)
        r = RuleSection{};
    loaded_ = 0;
    for (auto &l : byLength_)
        l = LengthList{};
    userDictPath_.clear();
    suggestions_.clear();
    vocalPositions_.clear();
    latin_ = false;
    alphabet_.clear();
}

std::string CDictionary::userDictionaryPathFor(const std::string &wordFilePath,
                                               const std::string &userFolder) {
    const std::string name = lastPathComponent(wordFilePath);
    // Five UTF-16 units of the name, not five bytes.
    const std::u16string name16 = utf8ToUtf16(name);
    return withTrailingSlash(userFolder) + utf16ToUtf8(name16.substr(0, 5)) + ".usr";
}

bool CDictionary::Load(const std::string &wordFilePath, const std::string &userFolder,
                       bool readUserWords) {
    clear();
    const std::size_t dot = wordFilePath.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string rulePath = wordFilePath.substr(0, dot) + ".tdh";
    if (!fileExists(wordFilePath))
        return false;
    const bool hasRules = fileExists(rulePath);

    Result<Bytes> bytes = readWholeFile(wordFilePath, maxWordFileBytes);
    if (!bytes) {
        showMessage("Unable to read Dictionary File", MessageIcon::Error);
        return false;
    }

    DictionaryFileData file;
    DictionaryReadError error;
    bool tooMany = false;
    wordOffsets_.push_back(0);
    PoolSink sink(wordData_, wordOffsets_, tooMany);
    if (!readDictionaryFile(*bytes, file, error, &sink) || tooMany) {
        if (!tooMany && error.kind == DictionaryReadFailure::BadHeader)
            showMessage("Unable to read Dictionary File or not the right Version",
                        MessageIcon::Error);
        else
            showMessage("Unable to read Dictionary File: " + wordFilePath + " is damaged (" +
                            (tooMany ? std::string("it lists more words than a dictionary may hold")
                                     : error.error.describe()) +
                            ")",
                        MessageIcon::Error);
        clear();
        return false;
    }
    minChar_ = file.minChar;
    maxChar_ = file.maxChar;
    classes_ = std::move(file.classes);
    extras_ = std::move(file.extras);
    for (const auto &[initial, entry] : file.initialIndex) {
        initialSlot_[initial] = static_cast<std::int32_t>(initialEntries_.size());
        initialEntries_.push_back(entry);
    }
    secondIndex_ = std::move(file.secondIndex);
    buildLookupTables();

    if (hasRules) {
        if (Result<Bytes> ruleBytes = readWholeFile(rulePath, maxRuleFileBytes)) {
            const ProfileText profile(*ruleBytes);
            for (std::size_t s = 0; s < rules_.size(); ++s) {
                RuleSection &r = rules_[s];
                r.simpleText = profile.value(ruleSectionNames[s], u"Simple");
                r.complexText = profile.value(ruleSectionNames[s], u"Complex");
                r.simpleEntries = parseRuleEntries(r.simpleText);
                r.complexEntries = parseRuleEntries(r.complexText);
            }
        }
    }

    userDictPath_ = userDictionaryPathFor(wordFilePath, userFolder);
    if (readUserWords && fileExists(userDictPath_))
        if (Result<Bytes> userBytes = readWholeFile(userDictPath_, maxUserFileBytes))
            if (auto words = readUserDictionaryFile(*userBytes))
                for (const std::u16string &w : *words)
                    AddUserWord(w);

    loaded_ = 1;
    latin_ = maxChar_ < 128;
    return true;
}

void CDictionary::buildLookupTables() {
    const std::size_t n = wordCount();
    std::size_t slots = 16;
    while (slots < 2 * n)
        slots <<= 1;
    hashSlots_.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t p = 0; p < n; ++p) {
        const std::u16string_view w = word(p);
        if (!w.empty()) {
            std::size_t s = hashUnits(w) & mask;
            while (hashSlots_[s] != 0 && word(hashSlots_[s] - 1) != w)
                s = (s + 1) & mask;
            // A later duplicate wins: "found at or after p" needs the last position.
            hashSlots_[s] = static_cast<std::uint32_t>(p + 1);
        }
        if (w.size() >= minWordUnits && w.size() <= maxWordUnits) {
            LengthList &list = byLength_[w.size() - minWordUnits];
            const auto at = static_cast<std::int32_t>(list.positions.size());
            list.positions.push_back(static_cast<std::uint32_t>(p));
            list.firstWithInitial.try_emplace(w[0], at);
        }
    }
    std::vector<bool> seen(0x10000, false);
    for (char16_t c : wordData_)
        seen[c] = true;
    for (std::size_t c = 0; c < seen.size(); ++c)
        if (seen[c])
            alphabet_.push_back(static_cast<char16_t>(c));
    // Where each initial's run ends in each list (the lists are in word-list order).
    for (LengthList &list : byLength_) {
        for (const auto &[initial, first] : list.firstWithInitial) {
            std::size_t end = static_cast<std::size_t>(first);
            while (end < list.positions.size() && word(list.positions[end])[0] == initial)
                ++end;
            list.endOfInitial[initial] = static_cast<std::int32_t>(end);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Lookups

const DICTINDEX *CDictionary::initialEntry(char16_t initial) const {
    const std::int32_t slot = initialSlot_[initial];
    return slot < 0 ? nullptr : &initialEntries_[static_cast<std::size_t>(slot)];
}

std::int32_t CDictionary::clampedFirstWord(const DICTINDEX &entry) const {
    return entry.firstWord >= 0 && static_cast<std::size_t>(entry.firstWord) < wordCount()
               ? entry.firstWord
               : 0;
}

bool CDictionary::inWordsFrom(std::u16string_view w, std::int32_t from) const {
    if (hashSlots_.empty())
        return false;
    const std::size_t mask = hashSlots_.size() - 1;
    std::size_t s = hashUnits(w) & mask;
    while (const std::uint32_t slot = hashSlots_[s]) {
        if (word(slot - 1) == w)
            return from < 0 || static_cast<std::int64_t>(slot - 1) >= from;
        s = (s + 1) & mask;
    }
    return false;
}

bool CDictionary::isUserWord(std::u16string_view w) const {
    return !userWordSet_.empty() && userWordSet_.count(std::u16string(w)) != 0;
}

std::span<const std::uint32_t> CDictionary::byLength(std::size_t length) const {
    if (length < minWordUnits || length > maxWordUnits)
        return {};
    return byLength_[length - minWordUnits].positions;
}

std::int32_t CDictionary::byLengthInitial(std::size_t length, char16_t initial) const {
    if (length < minWordUnits || length > maxWordUnits)
        return -1;
    const auto &map = byLength_[length - minWordUnits].firstWithInitial;
    const auto it = map.find(initial);
    return it == map.end() ? -1 : it->second;
}

std::span<const std::uint32_t> CDictionary::lengthBlock(std::size_t length,
                                                        char16_t initial) const {
    if (length < minWordUnits || length > maxWordUnits)
        return {};
    const LengthList &list = byLength_[length - minWordUnits];
    const auto first = list.firstWithInitial.find(initial);
    if (first == list.firstWithInitial.end())
        return {};
    const std::size_t end = static_cast<std::size_t>(list.endOfInitial.at(initial));
    return std::span<const std::uint32_t>(list.positions)
        .subspan(static_cast<std::size_t>(first->second),
                 end - static_cast<std::size_t>(first->second));
}

bool CDictionary::CheckWord(std::u16string_view input, std::int32_t &position) const {
    const std::u16string w = preparedWord(input, true);
    position = -1;
    for (char16_t c : w)
        if (c < minChar_ || c > maxChar_)
            return true;
    if (!ignoredWords().empty() && isIgnoredWord(w))
        return true;
    if (isUserWord(w))
        return true;
    if (w.size() <= 2)
        return checkShortWord(w);
    const DICTINDEX *entry = initialEntry(w[0]);
    if (!entry)
        return false;
    const auto second = static_cast<std::int64_t>(secondIndex_.size());
    const std::int64_t from = std::clamp<std::int64_t>(entry->secondFirst, 0, second);
    const std::int64_t to = std::clamp<std::int64_t>(entry->secondEnd, 0, second);
    const SECONDDICTINDEX *found = nullptr;
    for (std::int64_t i = from; i < to; ++i)
        if (secondIndex_[static_cast<std::size_t>(i)].secondChar >= w[1]) {
            found = &secondIndex_[static_cast<std::size_t>(i)];
            break;
        }
    if (!found)
        return false;
    position = found->firstWord;
    const bool valid =
        found->firstWord >= 0 && static_cast<std::size_t>(found->firstWord) < wordCount();
    if (inWordsFrom(w, valid ? found->firstWord : 0))
        return true;
    return checkSuffixRules(w, clampedFirstWord(*entry));
}

bool CDictionary::checkSuffixRules(std::u16string_view w, std::int32_t start) const {
    const auto known = [&](std::u16string_view stem) {
        return isUserWord(stem) || inWordsFrom(stem, start);
    };
    const RuleSection &post = rules_[PostAdditions];
    for (const std::u16string &e : post.simpleEntries)
        if (e.size() < w.size() && endsWith(w, e) && known(w.substr(0, w.size() - e.size())))
            return true;
    std::u16string stem;
    for (const std::u16string &entry : post.complexEntries) {
        const std::size_t colon = entry.find(u':');
        if (colon == std::u16string::npos)
            continue;
        const std::u16string_view a = std::u16string_view(entry).substr(0, colon);
        const std::u16string_view b = std::u16string_view(entry).substr(colon + 1);
        if (b.size() >= w.size() || !endsWith(w, b))
            continue;
        if (!a.empty() && a[0] == u'0') {
            stem.assign(w.substr(0, w.size() - 2));
        } else {
            stem.assign(w.substr(0, w.size() - b.size()));
            stem.append(a);
        }
        if (known(stem))
            return true;
    }
    return false;
}

bool CDictionary::checkShortWord(std::u16string_view input) const {
    if (input.empty())
        return false;
    if (input.size() == 1)
        return initialEntry(input[0]) != nullptr;
    std::u16string w(input);
    const DICTINDEX *entry = initialEntry(w[0]);
    if (!entry) {
        std::swap(w[0], w[1]);
        entry = initialEntry(w[0]);
        if (!entry)
            return false;
    }
    return inWordsFrom(w, clampedFirstWord(*entry));
}

// ---------------------------------------------------------------------------------------------
// User words

int CDictionary::AddUserWord(std::u16string_view input) {
    std::u16string w = normalizedWord(input);
    if (userWordSet_.insert(w).second)
        userWords_.push_back(std::move(w));
    return static_cast<int>(userWords_.size());
}

bool CDictionary::SaveUserDictionary() const {
    if (userDictPath_.empty())
        return false;
    return writeFileAtomically(userDictPath_, writeUserDictionaryFile(userWords_)).ok();
}

// ---------------------------------------------------------------------------------------------
// Suggestions

void CDictionary::addSuggestion(std::u16string_view w) {
    if (std::find(suggestions_.begin(), suggestions_.end(), w) == suggestions_.end())
        suggestions_.emplace_back(w);
}

void CDictionary::putFirst(std::u16string_view w) {
    const auto it = std::find(suggestions_.begin(), suggestions_.end(), w);
    if (it != suggestions_.end())
        suggestions_.erase(it);
    suggestions_.emplace(suggestions_.begin(), w);
}

bool CDictionary::classForm(std::u16string_view b, std::u16string_view a, std::u16string &word,
                            bool replaceFirst) const {
    if (a.empty() || b.empty() || a == b || word.empty())
        return false;
    constexpr std::u16string_view symbols = u"$*:@~%";
    const auto isPlaceholder = [&](std::u16string_view part) {
        return symbols.find(part[0]) != std::u16string_view::npos;
    };
    if (!isPlaceholder(a) && !isPlaceholder(b))
        return false;
    if (a[0] == u'$' && b[0] == u'$')
        return false;
    // The class string of a part, and whether the part counts as a class.
    const auto classOf = [&](std::u16string_view part, bool &isClass) -> std::u16string {
        if (part[0] == u'$') {
            isClass = true;
            std::u16string s(part);
            s[0] = u' ';
            return s;
        }
        int named = -1;
        switch (part[0]) {
        case u'*': named = 0; break;
        case u'@': named = 1; break;
        case u'~': named = 2; break;
        case u'%': named = 3; break;
        default: break;
        }
        if (named >= 0 && !classes_[static_cast<std::size_t>(named)].empty()) {
            isClass = true;
            return classes_[static_cast<std::size_t>(named)];
        }
        isClass = false;
        return std::u16string(part);
    };
    bool aIsClass = false, bIsClass = false;
    const std::u16string aClass = classOf(a, aIsClass);
    const std::u16string bClass = classOf(b, bIsClass);
    if (!bIsClass)
        return true;
    const std::size_t found = bClass.find(word[0]);
    const std::int64_t m = found == std::u16string::npos ? -1 : static_cast<std::int64_t>(found);
    char16_t r;
    if (aIsClass) {
        // A position past the end of the replacement's class has no counterpart: unchanged.
        if (m < 0 || static_cast<std::size_t>(m) >= aClass.size())
            return true;
        r = aClass[static_cast<std::size_t>(m)];
    } else {
        if (m <= 0)
            return true;
        r = aClass[0];
    }
    if (replaceFirst)
        word[0] = r;
    else
        word.insert(word.begin(), r);
    return true;
}

int CDictionary::firstCharacterRules(const std::vector<std::u16string> &entries,
                                     std::u16string &word, bool replaceFirst) const {
    if (word.empty())
        return -1;
    for (const std::u16string &entry : entries) {
        const std::size_t colon = entry.find(u':');
        if (entry.empty() || colon == std::u16string::npos)
            continue;
        const std::u16string_view a = std::u16string_view(entry).substr(0, colon);
        const std::u16string_view b = std::u16string_view(entry).substr(colon + 1);
        if (classForm(b, a, word, replaceFirst)) {
            const DICTINDEX *e = initialEntry(word[0]);
            return e ? e->firstWord : -1;
        }
        if (b.find(word[0]) != std::u16string_view::npos) {
            const DICTINDEX *e = a.empty() ? nullptr : initialEntry(a[0]);
            if (!e)
                return -1;
            word = std::u16string(a) + (replaceFirst ? word.substr(1) : word);
            return e->firstWord;
        }
    }
    return -1;
}

void CDictionary::shortWordGenerator(std::u16string w) {
    if (w.size() < 2)
        return;
    bool reversed = false;
    const DICTINDEX *entry = initialEntry(w[0]);
    if (!entry) {
        std::swap(w[0], w[1]);
        reversed = true;
        entry = initialEntry(w[0]);
        if (!entry)
            return;
    }
    if (inWordsFrom(w, clampedFirstWord(*entry)))
        return;
    if (latin_ && !reversed && classes_[3].find(w[1]) != std::u16string::npos) {
        const std::u16string swapped{w[1], w[0]};
        if (inWords(swapped))
            putFirst(swapped);
    }
    for (std::size_t length = 2; length <= 4; ++length)
        for (std::uint32_t p : lengthBlock(length, w[0])) {
            const std::u16string_view candidate = word(p);
            if (candidate[0] == w[0] && (length == 2 || candidate[1] == w[1]))
                addSuggestion(candidate);
        }
}

void CDictionary::dropFirstGenerator(std::u16string_view w) {
    if (!latin_ && classes_[3].find(w[1]) == std::u16string::npos)
        return;
    if (!initialEntry(w[0]))
        return;
    const std::u16string_view t = w.substr(1);
    if (!lengthBlock(t.size(), t[0]).empty() && inWords(t))
        putFirst(t);
}

void CDictionary::firstSyllableGenerators(std::u16string_view w) {
    const std::size_t n = w.size();
    // G2: another first syllable of the same length.
    if (n >= 5 && !latin_ && classes_[1].find(w[0]) == std::u16string::npos)
        for (char16_t c : classes_[0])
            for (std::uint32_t p : lengthBlock(n, c)) {
                const std::u16string_view candidate = word(p);
                if (equalIgnoringCase(candidate.substr(2), w.substr(2)))
                    addSuggestion(candidate);
            }
    // G3: a first syllable added in front.
    for (char16_t c : classes_[0])
        for (std::uint32_t p : lengthBlock(n + 2, c)) {
            const std::u16string_view candidate = word(p);
            if (equalIgnoringCase(candidate.substr(2), w))
                addSuggestion(candidate);
        }
}

void CDictionary::vowelVariantGenerator(std::u16string_view w, int accuracy) {
    vocalPositions_.clear();
    const std::u16string &text = rules_[VocalCharacters].simpleText;
    if (text.empty())
        return;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const std::size_t at = text.find(w[i]);
        if (at == std::u16string::npos)
            continue;
        const std::size_t before = at == 0 ? std::u16string::npos : text.rfind(u' ', at - 1);
        const std::size_t start = before == std::u16string::npos ? 0 : before + 1;
        const std::size_t end = text.find(u' ', at);
        vocalPositions_.push_back(
            {static_cast<std::int32_t>(i),
             text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start)});
        if (static_cast<int>(vocalPositions_.size()) > accuracy)
            return;
    }
    if (vocalPositions_.empty())
        return;
    std::size_t variants = 1;
    for (const VOCALSTRUCT &v : vocalPositions_) {
        if (v.group.empty())
            return;
        variants *= v.group.size();
        if (variants > maxVowelVariants)
            return;
    }
    // An odometer over the groups; the first recorded position turns slowest.
    std::u16string variant(w);
    std::vector<std::size_t> digit(vocalPositions_.size(), 0);
    for (std::size_t k = 0; k < vocalPositions_.size(); ++k)
        variant[static_cast<std::size_t>(vocalPositions_[k].position)] =
            vocalPositions_[k].group[0];
    while (true) {
        if (inWords(variant))
            addSuggestion(variant);
        std::size_t k = vocalPositions_.size();
        while (k > 0) {
            --k;
            const VOCALSTRUCT &v = vocalPositions_[k];
            if (++digit[k] < v.group.size()) {
                variant[static_cast<std::size_t>(v.position)] = v.group[digit[k]];
                break;
            }
            digit[k] = 0;
            variant[static_cast<std::size_t>(v.position)] = v.group[0];
            if (k == 0)
                return;
        }
    }
}

void CDictionary::transpositionGenerator(std::u16string_view w) {
    std::u16string sorted(w);
    std::sort(sorted.begin(), sorted.end());
    std::u16string other;
    for (std::uint32_t p : lengthBlock(w.size(), w[0])) {
        const std::u16string_view candidate = word(p);
        if (candidate == w)
            continue;
        other.assign(candidate);
        std::sort(other.begin(), other.end());
        if (other == sorted)
            addSuggestion(candidate);
    }
}

void CDictionary::relaxedMatchGenerator(std::u16string_view w) {
    const auto n = static_cast<std::int64_t>(w.size());
    if (!(n >= 4 || (latin_ && n >= 2)))
        return;
    std::int64_t budget = 6;
    std::u16string need;
    std::vector<bool> used;
    for (std::int64_t p = 2; p < budget; ++p) {
        const std::int64_t m = std::max<std::int64_t>(3, n > 9 ? n / p : n - p);
        const std::int64_t bigN = n < 8 ? n - 3 : m + 2;
        if (bigN <= 0 || m > n)
            continue;
        const std::u16string_view head = w.substr(0, static_cast<std::size_t>(m));
        const std::u16string_view paired = w.substr(0, static_cast<std::size_t>(std::min(bigN, n)));
        for (std::int64_t length = std::max<std::int64_t>(n - 2, 5); length <= n + 3; ++length) {
            const auto block = lengthBlock(static_cast<std::size_t>(length), w[0]);
            if (block.empty() || length < m)
                continue;
            // The block is in list order, so the words sharing the first m units are together.
            const auto prefixOf = [&](std::uint32_t pos) {
                return word(pos).substr(0, static_cast<std::size_t>(m));
            };
            auto it = std::lower_bound(
                block.begin(), block.end(), head,
                [&](std::uint32_t pos, std::u16string_view h) { return prefixOf(pos) < h; });
            for (; it != block.end() && prefixOf(*it) == head; ++it) {
                const std::u16string_view candidate = word(*it);
                used.assign(candidate.size(), false);
                bool all = true;
                for (char16_t c : paired) {
                    std::size_t k = 0;
                    while (k < candidate.size() && (used[k] || candidate[k] != c))
                        ++k;
                    if (k == candidate.size()) {
                        all = false;
                        break;
                    }
                    used[k] = true;
                }
                if (all) {
                    --budget;
                    addSuggestion(candidate);
                    break;
                }
            }
        }
    }
}

void CDictionary::singleEditGenerator(std::u16string_view w) {
    std::u16string c(w);
    const auto tryWord = [&](const std::u16string &candidate) {
        if (candidate.size() >= minWordUnits && inWords(candidate))
            addSuggestion(candidate);
    };
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
        std::swap(c[i], c[i + 1]);
        tryWord(c);
        std::swap(c[i], c[i + 1]);
    }
    for (std::size_t i = 0; i < w.size(); ++i) {
        c.erase(i, 1);
        tryWord(c);
        c.insert(c.begin() + static_cast<std::ptrdiff_t>(i), w[i]);
    }
    if (w.size() < maxWordUnits)
        for (std::size_t i = 0; i <= w.size(); ++i) {
            c.insert(c.begin() + static_cast<std::ptrdiff_t>(i), u' ');
            for (char16_t a : alphabet_) {
                c[i] = a;
                tryWord(c);
            }
            c.erase(i, 1);
        }
    for (std::size_t i = 0; i < w.size(); ++i) {
        for (char16_t a : alphabet_) {
            if (a == w[i])
                continue;
            c[i] = a;
            tryWord(c);
        }
        c[i] = w[i];
    }
}

int CDictionary::GetSuggestions(std::vector<std::u16string> &out, std::u16string_view input,
                                int accuracy) {
    out.clear();
    suggestions_.clear();
    vocalPositions_.clear();
    if (input.empty())
        return 0;
    const std::u16string casePattern(input);
    std::u16string w = preparedWord(input, true);
    if (firstCharacterRules(rules_[PreSubstitutions].complexEntries, w, true) == -1)
        firstCharacterRules(rules_[PreAdditions].complexEntries, w, false);

    if (w.size() <= 2) {
        shortWordGenerator(w);
    } else {
        dropFirstGenerator(w);
        firstSyllableGenerators(w);
        vowelVariantGenerator(w, accuracy);
        transpositionGenerator(w);
        if (singleEdits_)
            singleEditGenerator(w);
        relaxedMatchGenerator(w);
    }

    out = suggestions_;
    if (latin_) {
        const auto capitals = std::count_if(casePattern.begin(), casePattern.end(),
                                            [](char16_t c) { return c >= u'A' && c <= u'Z'; });
        for (std::u16string &s : out) {
            if (capitals == 1 && !s.empty())
                s[0] = upperAscii(s[0]);
            else if (capitals >= 2)
                for (char16_t &c : s)
                    c = upperAscii(c);
        }
    }
    return static_cast<int>(out.size());
}

// ---------------------------------------------------------------------------------------------
// Prefix lookup

int CDictionary::LookupPrefix(std::u16string_view input, int maxCount,
                              std::vector<std::u16string> &out) const {
    out.clear();
    if (maxCount <= 0 || input.size() < 2)
        return 0;
    const std::u16string prefix = normalizedWord(input);
    for (char16_t c : prefix)
        if (c < minChar_ || c > maxChar_)
            return 0;
    const DICTINDEX *entry = initialEntry(prefix[0]);
    if (!entry || prefix.size() < 2)
        return 0;
    const auto limit = static_cast<std::size_t>(maxCount);
    const auto second = static_cast<std::int64_t>(secondIndex_.size());
    const std::int64_t from = std::clamp<std::int64_t>(entry->secondFirst, 0, second);
    const std::int64_t to = std::clamp<std::int64_t>(entry->secondEnd, 0, second);
    const SECONDDICTINDEX *found = nullptr;
    for (std::int64_t i = from; i < to; ++i)
        if (secondIndex_[static_cast<std::size_t>(i)].secondChar >= prefix[1]) {
            found = &secondIndex_[static_cast<std::size_t>(i)];
            break;
        }
    if (found && found->firstWord >= 0 &&
        static_cast<std::size_t>(found->firstWord) < wordCount()) {
        // Words are stored with A to Z in lower case, so the matches are the run of words that
        // begin with the lower-cased prefix, found by a binary search from the start position.
        std::u16string lower(prefix);
        lowerAsciiInPlace(lower);
        std::size_t lo = static_cast<std::size_t>(found->firstWord), hi = wordCount();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (word(mid).substr(0, lower.size()) < lower)
                lo = mid + 1;
            else
                hi = mid;
        }
        for (std::size_t p = lo; p < wordCount() && out.size() < limit; ++p) {
            const std::u16string_view w = word(p);
            if (!startsWithIgnoringCase(w, prefix))
                break;
            if (w.size() > prefix.size())
                out.emplace_back(w);
        }
    }
    for (const std::u16string &u : userWords_) {
        if (!startsWithIgnoringCase(u, prefix))
            continue;
        if (out.size() >= limit)
            out.pop_back();
        out.push_back(u);
    }
    return static_cast<int>(out.size());
}

} // namespace tarvellite

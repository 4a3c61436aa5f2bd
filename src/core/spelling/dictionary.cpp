// The dictionary object: loading, word validation, suggestions and prefix lookup.
//
// The word file is read through dictionary_file.cpp, which checks every count and length before
// it allocates. Index positions taken from the file are clamped where they are used, so a file
// whose indexes disagree with its word list gives wrong answers at worst, never a bad access.

#include "core/spelling/dictionary.h"

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/ascii_case.h"
#include "core/spelling/ignore_list.h"
#include "core/spelling/normalize.h"
#include "core/spelling/rule_file.h"
#include "core/spelling/syllables.h"
#include "core/spelling/unit_blocks.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <tuple>
#include <unistd.h>

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
// Outside Latin dictionaries a suffix rule needs a stem this long.
constexpr std::size_t minRuleStemUnits = 3;

char16_t upperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}

void lowerAsciiInPlace(std::u16string &s) {
    for (char16_t &c : s)
        c = lowerAscii(c);
}

bool startsWithIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
    return s.size() >= prefix.size() && equalIgnoringCase(s.substr(0, prefix.size()), prefix);
}

// The hash of the table reads four units at a time; the length is mixed in last, so that the
// hashes of words sharing their first blocks go on from the same state.
constexpr std::uint64_t hashK1 = 0x9E3779B97F4A7C15ull, hashK2 = 0xBF58476D1CE4E5B9ull;
constexpr std::uint64_t hashSeed = hashK1;

std::uint64_t hashBlock(std::uint64_t h, std::uint64_t v) {
    return std::rotl(h ^ v, 27) * hashK1;
}

// The hash of `total` units whose whole blocks before `s` left the state `h`; `s` holds the
// `n` units after them. With `noteJoiners`, also whether those may hold a joiner: whether any
// has the bit of U+2000 (noted four units at a time while they are read anyway). Indic and
// Latin letters all lie below U+2000.
template <bool noteJoiners>
std::uint64_t hashRest(std::uint64_t h, const char16_t *s, std::size_t n, std::size_t total,
                       bool *joiners) {
    std::uint64_t seen = 0; // the units' bits together: a joiner sets 0x2000
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint64_t v = loadBlock(s + i);
        if constexpr (noteJoiners)
            seen |= v;
        h = hashBlock(h, v);
    }
    // The last units: from the last four when there are four (shifted past those already
    // read, without a branch on how many are left), else one by one.
    std::uint64_t v = 0;
    const std::size_t left = n - i;
    if (n >= 4) {
        v = (loadBlock(s + n - 4) >> (16 * (3 - left))) >> 16;
    } else {
        for (std::size_t j = 0; j < left; ++j)
            v |= std::uint64_t(s[i + j]) << (16 * j);
    }
    if constexpr (noteJoiners)
        *joiners = ((seen | v) & 0x2000200020002000ull) != 0;
    h = (h ^ v) * hashK2;
    h ^= (total + 1) * hashK1;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

std::uint64_t hashUnits(const char16_t *s, std::size_t n) {
    return hashRest<false>(hashSeed, s, n, n, nullptr);
}

std::uint64_t hashUnitsNotingJoiners(const char16_t *s, std::size_t n, bool &mayJoin) {
    return hashRest<true>(hashSeed, s, n, n, &mayJoin);
}

// The tag kept in a hash slot: hash bits above the length (63 standing for 63 or more).
std::uint32_t slotTag(std::uint64_t hash, std::size_t length) {
    return (static_cast<std::uint32_t>(hash >> 32) & ~63u) |
           static_cast<std::uint32_t>(std::min<std::size_t>(length, 63));
}

// The offset of `w` among the units at `data` that a table of slots (tags above offsets + 1,
// linear probing) holds, or -1. `matchesLong` compares a word of 63 units or more, whose
// length the tag does not hold.
template <typename LongMatch>
[[gnu::always_inline]] inline std::int64_t probeSlots(const LookupTable &slots,
                                                      const char16_t *data, std::u16string_view w,
                                                      std::uint64_t hash, LongMatch &&matchesLong) {
    const std::uint64_t tag = slotTag(hash, w.size());
    const std::size_t mask = slots.size() - 1;
    const std::size_t first = hash & mask;
    if (w.size() < 63) {
        // Most words lie in their first slot or the next: both are read, and the one whose tag
        // matches is taken without a branch on which (a tag is never 0, as an empty slot is).
        const std::uint64_t one = slots[first];
        const std::uint64_t two = slots[(first + 1) & mask];
        std::uint64_t inFirst = std::uint64_t(0) - std::uint64_t((one >> 32) == tag);
        asm("" : "+r"(inFirst)); // the compiler would branch on it
        const std::uint64_t slot = (one & inFirst) | (two & ~inFirst);
        if ((slot >> 32) == tag &&
            equalUnits(data + (static_cast<std::uint32_t>(slot) - 1), w.data(), w.size()))
            return static_cast<std::uint32_t>(slot) - 1;
        if (one == 0 || two == 0)
            return -1;
    }
    for (std::size_t s = first;; s = (s + 1) & mask) {
        const std::uint64_t slot = slots[s];
        if (slot == 0)
            return -1;
        if ((slot >> 32) != tag)
            continue;
        const auto offset = static_cast<std::uint32_t>(slot) - 1;
        // Below 63 units the tag holds the length exactly.
        if (w.size() < 63 ? equalUnits(data + offset, w.data(), w.size()) : matchesLong(offset, w))
            return offset;
    }
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

// Collects the words into one buffer, sized once for the most units the file can hold.
class PoolSink : public DictionaryWordSink {
  public:
    PoolSink(std::u16string &data, std::vector<std::uint32_t> &offsets, bool &tooMany)
        : data_(data), offsets_(offsets), tooMany_(tooMany) {}
    ~PoolSink() override { data_.resize(used_); }
    void reserve(std::size_t count, std::size_t maxUnits) override {
        if (count > maxWords) {
            tooMany_ = true;
            return;
        }
        offsets_.reserve(count + 1);
        data_.resize(maxUnits);
    }
    void add(std::u16string_view word) override {
        if (tooMany_)
            return;
        grow(word.size());
        std::copy(word.begin(), word.end(), data_.begin() + static_cast<std::ptrdiff_t>(used_));
        finish(word.size());
    }
    void addLittleEndian(const std::uint8_t *bytes, std::size_t units) override {
        if (tooMany_)
            return;
        grow(units);
        char16_t *to = data_.data() + used_;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(to, bytes, units * 2);
        } else {
            for (std::size_t i = 0; i < units; ++i)
                to[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        }
        finish(units);
    }

  private:
    void grow(std::size_t units) {
        if (data_.size() - used_ < units)
            data_.resize(std::max(data_.size() * 2, used_ + units));
    }
    void finish(std::size_t units) {
        used_ += units;
        offsets_.push_back(static_cast<std::uint32_t>(used_));
    }

    std::u16string &data_;
    std::vector<std::uint32_t> &offsets_;
    bool &tooMany_;
    std::size_t used_ = 0;
};

// Takes the words where they lie in the file when each has the usual wide form and the
// units are aligned; records their starts. Gives up (`failed`) on any other word.
class InPlaceSink : public DictionaryWordSink {
  public:
    InPlaceSink(const char16_t *base, std::vector<std::uint32_t> &offsets, bool &tooMany)
        : base_(reinterpret_cast<const std::uint8_t *>(base)), offsets_(offsets),
          tooMany_(tooMany) {}
    void reserve(std::size_t count, std::size_t) override {
        if (count > maxWords) {
            tooMany_ = true;
            return;
        }
        offsets_.reserve(count + 1);
    }
    void add(std::u16string_view) override { failed = true; }
    void addLittleEndian(const std::uint8_t *bytes, std::size_t units) override {
        const auto at = static_cast<std::size_t>(bytes - base_);
        if (tooMany_ || failed || std::endian::native != std::endian::little || at % 2 != 0) {
            failed = true;
            return;
        }
        offsets_.push_back(static_cast<std::uint32_t>(at / 2));
        end_ = at / 2 + units;
    }
    /// Closes the list: the offset one record past the last word.
    void finish() {
        offsets_.push_back(offsets_.empty() ? 0 : static_cast<std::uint32_t>(end_ + 2));
    }

    bool failed = false;

  private:
    const std::uint8_t *base_;
    std::vector<std::uint32_t> &offsets_;
    bool &tooMany_;
    std::size_t end_ = 0;
};

// Reads a whole file into storage of UTF-16 units, so that the words can be used where they
// lie. Fails like readWholeFile: when the file cannot be opened or read, or is larger than
// `maxBytes`.
bool readFileUnits(const std::string &path, std::size_t maxBytes,
                   std::unique_ptr<char16_t[]> &units, std::size_t &size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || st.st_size < 0 ||
        static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return false;
    }
    // One unit more than the size, so that a file that did not grow is read to its end
    // without a second buffer.
    std::size_t capacity = static_cast<std::size_t>(st.st_size) / 2 + 1;
    units = std::make_unique_for_overwrite<char16_t[]>(capacity);
    size = 0;
    for (;;) {
        if (size == capacity * 2) {
            if (size >= maxBytes) {
                ::close(fd);
                return false;
            }
            const std::size_t larger = std::min(capacity * 2, maxBytes / 2 + 1);
            auto grown = std::make_unique_for_overwrite<char16_t[]>(larger);
            std::memcpy(grown.get(), units.get(), size);
            units = std::move(grown);
            capacity = larger;
        }
        const ssize_t n =
            ::read(fd, reinterpret_cast<std::uint8_t *>(units.get()) + size, capacity * 2 - size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
        if (size > maxBytes) {
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

} // namespace

CDictionary::CDictionary() {
    clear();
}
CDictionary::~CDictionary() {
    stopBackgroundTables();
}

void CDictionary::clear() {
    stopBackgroundTables();
    fileUnits_.reset();
    wordCopy_.clear();
    units_ = nullptr;
    wordGap_ = 0;
    wordOffsets_.clear();
    wordSlots_.clear();
    spelledSlots_.clear();
    spelledOut_.clear();
    wordFilter_.clear();
    formFilter_.clear();
    filterHoldsForms_ = false;
    wordHashBuilt_ = false;
    startsAgree_ = false;
    secondSorted_ = false;
    userWords_.clear();
    userWordSet_.clear();
    initialEntries_.clear();
    lastSecond_.clear();
    initialSlot_.clear();
    initialBase_ = 0;
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
    lengthListsBuilt_ = false;
    userDictPath_.clear();
    suggestions_.clear();
    vocalPositions_.clear();
    suffixRules_.clear();
    suffixLastUnits_.clear();
    replacementLastUnits_.clear();
    latin_ = false;
    alphabet_.clear();
    alphabetBuilt_ = false;
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

    std::size_t size = 0;
    if (!readFileUnits(wordFilePath, maxWordFileBytes, fileUnits_, size)) {
        showMessage("Unable to read Dictionary File", MessageIcon::Error);
        clear();
        return false;
    }
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t *>(fileUnits_.get()), size);

    DictionaryFileData file;
    DictionaryReadError error;
    bool tooMany = false;
    InPlaceSink inPlace(fileUnits_.get(), wordOffsets_, tooMany);
    bool read = readDictionaryFile(bytes, file, error, &inPlace);
    if (read && !tooMany) {
        if (!inPlace.failed) {
            inPlace.finish();
            units_ = fileUnits_.get();
            wordGap_ = 2;
        } else {
            // Words in another form: copy them all out.
            wordOffsets_.clear();
            wordOffsets_.push_back(0);
            file = DictionaryFileData{};
            {
                PoolSink sink(wordCopy_, wordOffsets_, tooMany);
                read = readDictionaryFile(bytes, file, error, &sink);
            }
            fileUnits_.reset();
            units_ = wordCopy_.data();
            wordGap_ = 0;
        }
    }
    if (!read || tooMany) {
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
    if (!file.initialIndex.empty()) {
        // The map is ordered: its first and last keys bound the table.
        initialBase_ = file.initialIndex.begin()->first;
        initialSlot_.assign(
            static_cast<std::size_t>(file.initialIndex.rbegin()->first - initialBase_) + 1, -1);
    }
    for (const auto &[initial, entry] : file.initialIndex) {
        initialSlot_[initial - initialBase_] = static_cast<std::int32_t>(initialEntries_.size());
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
    buildSuffixRules();

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
    // Whether each initial's second-index entries ascend, so that they can be searched by
    // halving, and the last second character of each.
    secondSorted_ = true;
    lastSecond_.assign(initialEntries_.size(), -1);
    for (std::size_t k = 0; k < initialEntries_.size(); ++k) {
        const DICTINDEX &entry = initialEntries_[k];
        const auto second = static_cast<std::int64_t>(secondIndex_.size());
        const std::int64_t from = std::clamp<std::int64_t>(entry.secondFirst, 0, second);
        const std::int64_t to = std::clamp<std::int64_t>(entry.secondEnd, 0, second);
        for (std::int64_t i = from + 1; i < to && secondSorted_; ++i)
            secondSorted_ = secondIndex_[static_cast<std::size_t>(i - 1)].secondChar <=
                            secondIndex_[static_cast<std::size_t>(i)].secondChar;
        if (from < to)
            lastSecond_[k] = secondIndex_[static_cast<std::size_t>(to - 1)].secondChar;
    }
}

void CDictionary::buildWordHash() const {
    wordHashBuilt_ = true;
    const std::size_t n = wordCount();
    std::size_t slots = 16;
    while (slots < n + n / 2)
        slots <<= 1;
    wordSlots_.assign(slots);
    const std::size_t mask = slots - 1;
    // The filter is sized once every word and form it holds is known.
    std::vector<std::uint64_t> filterHashes;
    filterHashes.reserve(n + userWords_.size());
    const char16_t *data = units_;
    // The table is far larger than the cache: each word's slot is fetched a few words ahead.
    constexpr std::size_t ahead = 8;
    std::uint64_t hashes[ahead];
    const auto hashOf = [&](std::size_t p) {
        const std::uint64_t h = hashUnits(data + wordOffsets_[p], wordLength(p));
        __builtin_prefetch(&wordSlots_[h & mask], 1);
        return h;
    };
    for (std::size_t p = 0; p < n && p < ahead; ++p)
        hashes[p] = hashOf(p);
    // Whether every word lies at or after the start positions of its searches (checked for
    // every copy of a word, which covers its last one). Words sharing their first two units
    // are neighbours in a well-formed list, so the second-index search runs once per pair.
    startsAgree_ = secondSorted_;
    bool storedAsLooked = true;
    bool pairFound = false;
    std::uint32_t lastPair = 0xFFFFFFFFu;
    std::int64_t pairStart = 0;
    for (std::size_t p = 0; p < n; ++p) {
        const std::uint64_t hash = hashes[p % ahead];
        if (p + ahead < n)
            hashes[p % ahead] = hashOf(p + ahead);
        const std::uint32_t offset = wordOffsets_[p];
        const std::size_t length = wordLength(p);
        if (length == 0)
            continue;
        const char16_t *w = data + offset;
        if (storedAsLooked) {
            const std::u16string_view stored(w, length);
            storedAsLooked = isWellFormedWord(stored) &&
                             std::none_of(stored.begin(), stored.end(),
                                          [](char16_t c) { return lowerAscii(c) != c; });
        }
        if (startsAgree_) {
            const DICTINDEX *entry = initialEntry(w[0]);
            if (!entry)
                storedAsLooked = false;
            if (entry) {
                if (static_cast<std::int64_t>(p) < clampedFirstWord(*entry))
                    startsAgree_ = false;
                if (length >= 2) {
                    const std::uint32_t pair = (std::uint32_t(w[0]) << 16) | w[1];
                    if (pair != lastPair) {
                        lastPair = pair;
                        const SECONDDICTINDEX *found = secondEntry(*entry, w[1]);
                        pairFound = found != nullptr;
                        pairStart = found && found->firstWord >= 0 &&
                                            static_cast<std::size_t>(found->firstWord) < n
                                        ? found->firstWord
                                        : 0;
                    }
                    if (static_cast<std::int64_t>(p) < pairStart)
                        startsAgree_ = false;
                    if (!pairFound && length >= 3)
                        storedAsLooked = false;
                }
            }
        }
        filterHashes.push_back(hash);
        const std::uint64_t tag = slotTag(hash, length);
        std::size_t s = hash & mask;
        while (wordSlots_[s] != 0) {
            const std::uint64_t slot = wordSlots_[s];
            if ((slot >> 32) == tag) {
                const auto other = static_cast<std::uint32_t>(slot) - 1;
                if (word(positionOfOffset(other)) == std::u16string_view(w, length))
                    break; // a later copy takes the slot
            }
            s = (s + 1) & mask;
        }
        wordSlots_[s] = (tag << 32) | (std::uint64_t(offset) + 1);
    }
    hashAnswers_ = startsAgree_ && storedAsLooked;
    buildFilters(std::move(filterHashes));
}

template <typename Emit>
void CDictionary::forEachFormOf(std::u16string_view stem, Emit &&emit) const {
    // The forms a rule accepts with `stem` as their stem: just those checkSuffixRules matches.
    if (stem.empty() || (!latin_ && stem.size() < minRuleStemUnits))
        return;
    // The hash states after each whole block of the stem: a form's hash goes on from the last
    // one its kept units fill, with the rest of them and the suffix.
    constexpr std::size_t maxBlocks = maxStoredWordUnits / 4;
    std::uint64_t states[maxBlocks + 1];
    const std::size_t blocks = std::min(stem.size() / 4, maxBlocks);
    states[0] = hashSeed;
    for (std::size_t b = 0; b < blocks; ++b)
        states[b + 1] = hashBlock(states[b], loadBlock(stem.data() + 4 * b));
    char16_t buffer[4 * maxBlocks];
    std::u16string longRest;
    const auto formsOf = [&](const SuffixRule &rule) {
        const std::u16string_view replaced(rule.replacement);
        if (replaced.size() >= stem.size() || !stem.ends_with(replaced))
            return;
        const std::u16string_view kept = stem.substr(0, stem.size() - replaced.size());
        if (rule.deadStart && isVirama(kept.back()))
            return;
        const std::size_t from = 4 * std::min(kept.size() / 4, blocks);
        const std::u16string_view rest = kept.substr(from);
        const std::size_t length = rest.size() + rule.suffix.size();
        const char16_t *units = buffer;
        if (length <= std::size(buffer)) {
            std::copy(rest.begin(), rest.end(), buffer);
            std::copy(rule.suffix.begin(), rule.suffix.end(), buffer + rest.size());
        } else {
            longRest.assign(rest);
            longRest.append(rule.suffix);
            units = longRest.data();
        }
        emit(hashRest<false>(states[from / 4], units, length, kept.size() + rule.suffix.size(),
                             nullptr));
    };
    // Only the rules whose replacement is empty or ends as the stem does can apply.
    const auto &units = replacementLastUnits_;
    const auto byUnit = [](const std::pair<char16_t, std::uint32_t> &e, char16_t c) {
        return e.first < c;
    };
    for (auto it = units.begin(); it != units.end() && it->first == 0; ++it)
        formsOf(suffixRules_[it->second]);
    for (auto it = std::lower_bound(units.begin(), units.end(), stem.back(), byUnit);
         it != units.end() && it->first == stem.back(); ++it)
        formsOf(suffixRules_[it->second]);
}

// Tables filled on a thread of its own, which reads only what stays put while the dictionary
// is loaded (the words, the suffix rules).
struct CDictionary::BackgroundTables {
    std::vector<std::uint64_t> wordHashes;
    LookupTable formFilter;
    std::u16string spelledOut;
    LookupTable spelledSlots;
    std::atomic<bool> done{false};
    std::atomic<bool> stop{false};
    std::thread thread;
};

void CDictionary::buildFilters(std::vector<std::uint64_t> wordHashes) const {
    std::size_t words = 16;
    while (words * 64 < wordHashes.size() * 12)
        words <<= 1;
    wordFilter_.assign(words);
    for (const std::uint64_t h : wordHashes)
        addTo(wordFilter_, h);
    // Both tables serve only a list in lookup form. Listing the forms takes some tens of
    // milliseconds for the larger dictionaries, which a first check should not wait for.
    if (!hashAnswers_)
        return;
    background_ = std::make_unique<BackgroundTables>();
    background_->wordHashes = std::move(wordHashes);
    try {
        background_->thread = std::thread([this, tables = background_.get()] {
            fillBackgroundTables(*tables);
            tables->done.store(true, std::memory_order_release);
        });
    } catch (const std::system_error &) {
        fillBackgroundTables(*background_); // no thread to be had: at once, then
        background_->done.store(true, std::memory_order_release);
    }
}

namespace {
bool isAtomicChillu(char16_t c) {
    return c >= 0x0D7A && c <= 0x0D7F;
}
// Longest old spelling of a word kept (the tag holds lengths below 63 exactly).
constexpr std::size_t maxSpelledOutUnits = 62;
} // namespace

void CDictionary::fillBackgroundTables(BackgroundTables &tables) const {
    const std::size_t n = wordCount();
    // The forms the suffix rules accept can be listed when every rule can be turned around
    // (none drops units it does not name).
    const bool listable = std::none_of(suffixRules_.begin(), suffixRules_.end(),
                                       [](const SuffixRule &r) { return r.dropTwo; });
    if (listable) {
        // Sized by the forms of every eighth word, which tell the count closely enough.
        std::size_t sampled = 0;
        for (std::size_t p = 0; p < n; p += 8)
            forEachFormOf(word(p), [&](std::uint64_t) { ++sampled; });
        const std::size_t entries = tables.wordHashes.size() + sampled * 8 + sampled / 8;
        std::size_t words = 16;
        while (words * 64 < entries * 12)
            words <<= 1;
        LookupTable &filter = tables.formFilter;
        filter.assign(words);
        // The filter is far larger than the cache: each entry's line is fetched a few entries
        // before it is written.
        constexpr std::size_t ahead = 16;
        std::uint64_t pending[ahead];
        std::size_t count = 0;
        const auto add = [&](std::uint64_t h) {
            __builtin_prefetch(&filter[(h >> 32) & (words - 1)], 1);
            std::uint64_t &slot = pending[count++ % ahead];
            if (count > ahead)
                addTo(filter, slot);
            slot = h;
        };
        for (const std::uint64_t h : tables.wordHashes)
            add(h);
        for (std::size_t p = 0; p < n; ++p) {
            if (p % 4096 == 0 && tables.stop.load(std::memory_order_relaxed))
                return;
            forEachFormOf(word(p), add);
        }
        for (std::size_t i = 0; i < std::min(count, ahead); ++i)
            addTo(filter, pending[i]);
    }
    if (minChar_ > 0x0D7A || maxChar_ < 0x0D7F)
        return;
    // The words with chillus, spelled the old way, back to back, and a table of them.
    std::vector<std::uint32_t> starts;
    for (std::size_t p = 0; p < n; ++p) {
        const std::u16string_view w = word(p);
        const auto chillus =
            static_cast<std::size_t>(std::count_if(w.begin(), w.end(), isAtomicChillu));
        if (chillus == 0 || w.size() + 2 * chillus > maxSpelledOutUnits)
            continue;
        starts.push_back(static_cast<std::uint32_t>(tables.spelledOut.size()));
        for (const char16_t c : w) {
            if (isAtomicChillu(c)) {
                static constexpr char16_t consonants[] = {0x0D23, 0x0D28, 0x0D30,
                                                          0x0D32, 0x0D33, 0x0D15};
                tables.spelledOut.append(
                    {consonants[c - 0x0D7A], char16_t(0x0D4D), char16_t(0x200D)});
            } else {
                tables.spelledOut.push_back(c);
            }
        }
    }
    if (starts.empty() || tables.stop.load(std::memory_order_relaxed))
        return;
    starts.push_back(static_cast<std::uint32_t>(tables.spelledOut.size()));
    std::size_t slots = 16;
    while (slots < starts.size() * 2)
        slots <<= 1;
    tables.spelledSlots.assign(slots);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        const std::size_t length = starts[i + 1] - starts[i];
        const std::uint64_t hash = hashUnits(tables.spelledOut.data() + starts[i], length);
        std::size_t s = hash & (slots - 1);
        while (tables.spelledSlots[s] != 0)
            s = (s + 1) & (slots - 1);
        tables.spelledSlots[s] =
            (std::uint64_t(slotTag(hash, length)) << 32) | (std::uint64_t(starts[i]) + 1);
    }
}

void CDictionary::adoptBackgroundTables() const {
    if (background_->thread.joinable())
        background_->thread.join();
    formFilter_ = std::move(background_->formFilter);
    spelledOut_ = std::move(background_->spelledOut);
    spelledSlots_ = std::move(background_->spelledSlots);
    background_.reset();
    filterHoldsForms_ = !formFilter_.empty();
    if (!filterHoldsForms_)
        return;
    // The user words may have changed meanwhile: they join now.
    for (const std::u16string &w : userWords_) {
        addTo(formFilter_, hashUnits(w.data(), w.size()));
        forEachFormOf(w, [this](std::uint64_t h) { addTo(formFilter_, h); });
    }
}

void CDictionary::stopBackgroundTables() const {
    if (!background_)
        return;
    background_->stop.store(true, std::memory_order_relaxed);
    if (background_->thread.joinable())
        background_->thread.join();
    background_.reset();
}

void CDictionary::waitForLookupTables() const {
    ensureWordHash();
    if (background_)
        adoptBackgroundTables();
}

[[gnu::always_inline]] inline bool CDictionary::isOldChilluSpelling(std::u16string_view w,
                                                                    std::uint64_t hash) const {
    // Old spellings are all shorter than 63 units.
    return probeSlots(spelledSlots_, spelledOut_.data(), w, hash,
                      [](std::uint32_t, std::u16string_view) { return false; }) >= 0;
}

void CDictionary::buildLengthLists() const {
    lengthListsBuilt_ = true;
    const std::size_t n = wordCount();
    std::array<std::size_t, maxWordUnits - 1> counts{};
    for (std::size_t p = 0; p < n; ++p) {
        const std::size_t length = wordLength(p);
        if (length >= minWordUnits && length <= maxWordUnits)
            ++counts[length - minWordUnits];
    }
    for (std::size_t i = 0; i < byLength_.size(); ++i)
        byLength_[i].positions.reserve(counts[i]);
    // Each list is in word-list order; a run of one initial starts where the initial changes.
    // Only the first run of each initial counts (later ones exist only in a list out of order).
    for (std::size_t p = 0; p < n; ++p) {
        const std::size_t length = wordLength(p);
        if (length < minWordUnits || length > maxWordUnits)
            continue;
        LengthList &list = byLength_[length - minWordUnits];
        const char16_t initial = units_[wordOffsets_[p]];
        const auto at = static_cast<std::uint32_t>(list.positions.size());
        if (list.runs.empty() || list.runs.back().initial != initial) {
            if (!list.runs.empty())
                list.runs.back().end = at;
            list.runs.push_back({initial, at, at});
        }
        list.positions.push_back(static_cast<std::uint32_t>(p));
    }
    std::vector<bool> seen;
    for (LengthList &list : byLength_) {
        if (list.runs.empty())
            continue;
        list.runs.back().end = static_cast<std::uint32_t>(list.positions.size());
        const auto ascending = [](const InitialRun &a, const InitialRun &b) {
            return a.initial < b.initial;
        };
        if (std::adjacent_find(list.runs.begin(), list.runs.end(),
                               [](const auto &a, const auto &b) {
                                   return a.initial >= b.initial;
                               }) == list.runs.end())
            continue;
        seen.assign(0x10000, false);
        std::vector<InitialRun> firsts;
        for (const InitialRun &run : list.runs)
            if (!seen[run.initial]) {
                seen[run.initial] = true;
                firsts.push_back(run);
            }
        std::sort(firsts.begin(), firsts.end(), ascending);
        list.runs = std::move(firsts);
    }
}

const std::u16string &CDictionary::alphabet() {
    if (!alphabetBuilt_) {
        std::vector<std::uint8_t> seen(0x10000, 0);
        for (std::size_t p = 0; p < wordCount(); ++p)
            for (char16_t c : word(p))
                seen[c] = 1;
        for (std::size_t c = 0; c < seen.size(); ++c)
            if (seen[c])
                alphabet_.push_back(static_cast<char16_t>(c));
        alphabetBuilt_ = true;
    }
    return alphabet_;
}

// ---------------------------------------------------------------------------------------------
// Lookups

std::size_t CDictionary::UnitsHash::operator()(std::u16string_view s) const noexcept {
    return static_cast<std::size_t>(hashUnits(s.data(), s.size()));
}

const DICTINDEX *CDictionary::initialEntry(char16_t initial) const {
    const std::size_t at = static_cast<char16_t>(initial - initialBase_);
    if (at >= initialSlot_.size())
        return nullptr;
    const std::int32_t slot = initialSlot_[at];
    return slot < 0 ? nullptr : &initialEntries_[static_cast<std::size_t>(slot)];
}

std::int32_t CDictionary::clampedFirstWord(const DICTINDEX &entry) const {
    return entry.firstWord >= 0 && static_cast<std::size_t>(entry.firstWord) < wordCount()
               ? entry.firstWord
               : 0;
}

const SECONDDICTINDEX *CDictionary::secondEntry(const DICTINDEX &entry, char16_t second) const {
    // The first entry of the initial whose second character is not below `second`.
    const auto size = static_cast<std::int64_t>(secondIndex_.size());
    const auto from =
        static_cast<std::size_t>(std::clamp<std::int64_t>(entry.secondFirst, 0, size));
    const auto to = static_cast<std::size_t>(std::clamp<std::int64_t>(entry.secondEnd, 0, size));
    if (from >= to)
        return nullptr;
    const SECONDDICTINDEX *first = secondIndex_.data() + from;
    const SECONDDICTINDEX *last = secondIndex_.data() + to;
    const SECONDDICTINDEX *found;
    if (secondSorted_)
        found = std::partition_point(
            first, last, [second](const SECONDDICTINDEX &e) { return e.secondChar < second; });
    else
        found = std::find_if(first, last,
                             [second](const SECONDDICTINDEX &e) { return e.secondChar >= second; });
    return found == last ? nullptr : found;
}

std::size_t CDictionary::positionOfOffset(std::uint32_t offset) const {
    // The word that starts at `offset` and is not empty: the last offset not above it.
    const auto it = std::upper_bound(wordOffsets_.begin(), wordOffsets_.end(), offset);
    return static_cast<std::size_t>(it - wordOffsets_.begin()) - 1;
}

std::int64_t CDictionary::findWord(std::u16string_view w) const {
    return findWord(w, hashUnits(w.data(), w.size()));
}

std::int64_t CDictionary::findWord(std::u16string_view w, std::uint64_t hash) const {
    ensureWordHash();
    if (wordSlots_.empty() || w.empty() || !mayHold(hash))
        return -1;
    return probeTable(w, hash);
}

[[gnu::always_inline]] inline std::int64_t CDictionary::probeTable(std::u16string_view w,
                                                                   std::uint64_t hash) const {
    return probeSlots(wordSlots_, units_, w, hash,
                      [this](std::uint32_t offset, std::u16string_view word) {
                          return isLongWordAt(offset, word);
                      });
}

bool CDictionary::isLongWordAt(std::uint32_t offset, std::u16string_view w) const {
    return word(positionOfOffset(offset)) == w;
}

bool CDictionary::inWordsFrom(std::u16string_view w, std::int32_t from) const {
    const std::int64_t offset = findWord(w);
    if (offset < 0)
        return false;
    if (from <= 0 || startsAgree_)
        return true;
    return static_cast<std::int64_t>(positionOfOffset(static_cast<std::uint32_t>(offset))) >= from;
}

bool CDictionary::isUserWord(std::u16string_view w) const {
    return !userWordSet_.empty() && userWordSet_.find(w) != userWordSet_.end();
}

std::span<const std::uint32_t> CDictionary::byLength(std::size_t length) const {
    if (length < minWordUnits || length > maxWordUnits)
        return {};
    ensureLengthLists();
    return byLength_[length - minWordUnits].positions;
}

const CDictionary::InitialRun *CDictionary::initialRun(std::size_t length, char16_t initial) const {
    if (length < minWordUnits || length > maxWordUnits)
        return nullptr;
    ensureLengthLists();
    const std::vector<InitialRun> &runs = byLength_[length - minWordUnits].runs;
    const auto it = std::partition_point(
        runs.begin(), runs.end(), [initial](const InitialRun &r) { return r.initial < initial; });
    return it != runs.end() && it->initial == initial ? &*it : nullptr;
}

std::int32_t CDictionary::byLengthInitial(std::size_t length, char16_t initial) const {
    const InitialRun *run = initialRun(length, initial);
    return run ? static_cast<std::int32_t>(run->first) : -1;
}

std::span<const std::uint32_t> CDictionary::lengthBlock(std::size_t length,
                                                        char16_t initial) const {
    const InitialRun *run = initialRun(length, initial);
    if (!run)
        return {};
    return std::span<const std::uint32_t>(byLength_[length - minWordUnits].positions)
        .subspan(run->first, run->end - run->first);
}

bool CDictionary::CheckWord(std::u16string_view input, std::int32_t &position) const {
    return check(input, &position);
}

bool CDictionary::check(std::u16string_view input, std::int32_t *position) const {
    if (position)
        *position = -1;
    constexpr std::size_t bufferUnits = 64;
    if (input.size() > bufferUnits)
        return checkPrepared(preparedWord(input, true), position, nullptr);
    ensureWordHash();
    if (background_ && background_->done.load(std::memory_order_acquire))
        adoptBackgroundTables();
    // Most words checked are words of the list, typed just as it stores them.
    const bool fromHash = !position && hashAnswers_;
    // A word with joiners is compared with the list once they are dropped; as typed it can
    // only be a list word spelled with old chillus. (`mayJoin` also holds for a word with some
    // other unit above U+2000; it is looked up as its lookup form, which may be itself.)
    bool mayJoin = false;
    std::uint64_t hash = hashUnitsNotingJoiners(input.data(), input.size(), mayJoin);
    if (fromHash && input.size() >= minWordUnits && !mayJoin) {
        if (mayHold(hash) && probeTable(input, hash) >= 0)
            return true;
        // A word that is its own lookup form needs no second look.
        char16_t floor, ceiling;
        if (isPlainWord(input, floor, ceiling)) {
            if (filterHoldsForms_ && !mayBeForm(hash))
                return checkUnheld(input, floor >= minChar_ && ceiling <= maxChar_);
            return checkPrepared(input, position, &hash, true);
        }
    } else if (fromHash && mayJoin && !spelledSlots_.empty() && isOldChilluSpelling(input, hash)) {
        return true;
    }
    // Otherwise the word's lookup form: lower case, in NFC, without joiners. Only a word that
    // needs more than its joiners dropped leaves the stack.
    char16_t buffer[bufferUnits];
    bool changed = false;
    const std::size_t length = lookupFormQuickly(input, buffer, changed);
    if (length == std::u16string_view::npos)
        return checkPrepared(normalizedWord(std::u16string_view(buffer, input.size())), position,
                             nullptr);
    const std::u16string_view w(buffer, length);
    if (changed || mayJoin) {
        if (changed)
            hash = hashUnits(w.data(), w.size());
        if (fromHash && length >= minWordUnits && findWord(w, hash) >= 0)
            return true;
    }
    // One the form filter turns away is no form either.
    if (fromHash && filterHoldsForms_ && length >= minWordUnits && !mayBeForm(hash))
        return checkUnheld(w);
    // A word the table was asked about is known to be absent from it.
    return checkPrepared(w, position, &hash, fromHash && length >= minWordUnits);
}

bool CDictionary::checkUnheld(std::u16string_view w, bool inRange) const {
    // Neither a word nor a form of one, nor a user word (the filter holds those too): what
    // checkPrepared answers when both the list and the rules say no.
    if (!ignoredWords().empty() && isIgnoredWord(w))
        return true;
    if (!inRange) {
        char16_t floor, ceiling;
        unitBounds(w, floor, ceiling);
        inRange = floor >= minChar_ && ceiling <= maxChar_;
    }
    if (inRange)
        return false;
    // Without a branch on each unit, and unit by unit: most words are short.
    const unsigned range = static_cast<unsigned>(maxChar_ - minChar_);
    bool foreign = false;
    for (const char16_t c : w)
        foreign |= static_cast<unsigned>(c - minChar_) > range;
    return foreign && isWellFormedWord(w);
}

bool CDictionary::checkPrepared(std::u16string_view w, std::int32_t *position,
                                const std::uint64_t *hash, bool absent) const {
    // A word that no script could spell (a sign first, two vowel signs in a row, ...) is
    // wrong whatever the word list and the rules say, unless the user chose it.
    const bool chosen = (!ignoredWords().empty() && isIgnoredWord(w)) || isUserWord(w);
    if (!isWellFormedWord(w))
        return chosen;
    for (char16_t c : w)
        if (c < minChar_ || c > maxChar_)
            return true;
    if (chosen)
        return true;
    if (w.size() <= 2)
        return checkShortWord(w);
    const DICTINDEX *entry = initialEntry(w[0]);
    if (!entry)
        return false;
    ensureWordHash();
    if (!position && secondSorted_ && startsAgree_) {
        // Without a position to report, only whether the second index has an entry matters,
        // and the word's presence answers the search.
        if (w[1] > lastSecond_[static_cast<std::size_t>(entry - initialEntries_.data())])
            return false;
        return (!absent && findWord(w, hash ? *hash : hashUnits(w.data(), w.size())) >= 0) ||
               checkSuffixRules(w, clampedFirstWord(*entry));
    }
    const SECONDDICTINDEX *found = secondEntry(*entry, w[1]);
    if (!found)
        return false;
    if (position)
        *position = found->firstWord;
    const bool valid =
        found->firstWord >= 0 && static_cast<std::size_t>(found->firstWord) < wordCount();
    if (inWordsFrom(w, valid ? found->firstWord : 0))
        return true;
    return checkSuffixRules(w, clampedFirstWord(*entry));
}

void CDictionary::buildSuffixRules() {
    partnerGroups_.clear();
    std::uint16_t group = 1;
    for (const char16_t c : rules_[VocalCharacters].simpleText) {
        if (c == u' ') {
            ++group;
            continue;
        }
        partnerGroups_.emplace_back(c, group);
    }
    std::stable_sort(partnerGroups_.begin(), partnerGroups_.end(),
                     [](const auto &x, const auto &y) { return x.first < y.first; });
    suffixRules_.clear();
    suffixLastUnits_.clear();
    const RuleSection &post = rules_[PostAdditions];
    for (const std::u16string &e : post.simpleEntries)
        suffixRules_.push_back({e, {}, false});
    for (const std::u16string &entry : post.complexEntries) {
        const std::size_t colon = entry.find(u':');
        if (colon == std::u16string::npos)
            continue;
        SuffixRule rule;
        rule.replacement = entry.substr(0, colon);
        rule.suffix = entry.substr(colon + 1);
        rule.dropTwo = !rule.replacement.empty() && rule.replacement[0] == u'0';
        suffixRules_.push_back(std::move(rule));
    }
    // Which rule matches first does not matter: the answer is whether any stem is known.
    const auto last = [](const SuffixRule &r) -> char16_t {
        return r.suffix.empty() ? 0 : r.suffix.back();
    };
    std::stable_sort(suffixRules_.begin(), suffixRules_.end(),
                     [&](const SuffixRule &x, const SuffixRule &y) { return last(x) < last(y); });
    for (SuffixRule &r : suffixRules_) {
        r.deadStart = r.suffix.size() >= 2 && !isVirama(r.suffix[0]) && isVirama(r.suffix[1]);
        suffixLastUnits_.push_back(last(r));
    }
    replacementLastUnits_.clear();
    for (std::size_t i = 0; i < suffixRules_.size(); ++i) {
        const std::u16string &r = suffixRules_[i].replacement;
        replacementLastUnits_.emplace_back(r.empty() ? 0 : r.back(), std::uint32_t(i));
    }
    std::sort(replacementLastUnits_.begin(), replacementLastUnits_.end());
}

bool CDictionary::checkSuffixRules(std::u16string_view w, std::int32_t start) const {
    if (suffixRules_.empty() || w.empty())
        return false;
    // Stems are formed on the stack when they fit.
    constexpr std::size_t bufferUnits = 96;
    char16_t buffer[bufferUnits];
    std::u16string longStem;
    const auto tryRules = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const SuffixRule &rule = suffixRules_[i];
            const std::size_t b = rule.suffix.size();
            if (b >= w.size() || std::u16string_view(rule.suffix) != w.substr(w.size() - b))
                continue;
            if (rule.deadStart && w.size() > b && isVirama(w[w.size() - b - 1]))
                continue;
            const std::u16string_view kept = w.substr(0, w.size() - (rule.dropTwo ? 2 : b));
            const std::u16string_view added =
                rule.dropTwo ? std::u16string_view() : std::u16string_view(rule.replacement);
            // A stem of one syllable or less takes no ending by rule: such words are few, their
            // forms are in the lists, and a slip in a longer word too often leaves one of them
            // with some ending behind.
            if (!latin_ && kept.size() + added.size() < minRuleStemUnits)
                continue;
            std::u16string_view stem;
            if (kept.size() + added.size() <= bufferUnits) {
                std::copy(kept.begin(), kept.end(), buffer);
                std::copy(added.begin(), added.end(), buffer + kept.size());
                stem = std::u16string_view(buffer, kept.size() + added.size());
            } else {
                longStem.assign(kept);
                longStem.append(added);
                stem = longStem;
            }
            if (isUserWord(stem) || inWordsFrom(stem, start))
                return true;
        }
        return false;
    };
    const auto units = suffixLastUnits_.begin();
    const auto none = std::upper_bound(units, suffixLastUnits_.end(), char16_t(0));
    if (none != units && tryRules(0, static_cast<std::size_t>(none - units)))
        return true;
    if (w.back() == 0)
        return false;
    const auto [from, to] = std::equal_range(none, suffixLastUnits_.end(), w.back());
    return tryRules(static_cast<std::size_t>(from - units), static_cast<std::size_t>(to - units));
}

bool CDictionary::checkShortWord(std::u16string_view input) const {
    if (input.empty())
        return false;
    if (input.size() == 1)
        return initialEntry(input[0]) != nullptr;
    // The two letters in reverse order are only offered as a suggestion: accepting them
    // would pass a sign typed before its letter.
    const DICTINDEX *entry = initialEntry(input[0]);
    return entry && inWordsFrom(input, clampedFirstWord(*entry));
}

// ---------------------------------------------------------------------------------------------
// User words

int CDictionary::AddUserWord(std::u16string_view input) {
    std::u16string w = normalizedWord(input);
    if (!userWordSet_.insert(w).second)
        return static_cast<int>(userWords_.size());
    if (filterHoldsForms_) {
        const auto add = [this](std::uint64_t h) { addTo(formFilter_, h); };
        add(hashUnits(w.data(), w.size()));
        forEachFormOf(w, add);
    }
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

void CDictionary::singleEditGenerator(std::u16string_view w, bool spelledOut) {
    // A spelled-out word keeps its joiners and writes its chillus as consonant, virama and
    // joiner: its edits may add, drop or move a joiner, and each result is brought to the
    // stored form before it is looked up.
    std::u16string letters = alphabet();
    if (spelledOut)
        letters += u"\u200C\u200D";
    std::u16string c(w);
    std::u16string stored;
    const auto tryWord = [&](const std::u16string &candidate) {
        if (!spelledOut) {
            if (candidate.size() >= minWordUnits && inWords(candidate))
                addSuggestion(candidate);
            return;
        }
        stored = candidate;
        normalizeWord(stored);
        if (stored.size() >= minWordUnits && inWords(stored))
            addSuggestion(stored);
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
    // (A spelled-out word may be longer than its stored form: each old chillu takes two more
    // units.)
    if (w.size() < 2 * maxStoredWordUnits)
        for (std::size_t i = 0; i <= w.size(); ++i) {
            c.insert(c.begin() + static_cast<std::ptrdiff_t>(i), u' ');
            for (char16_t a : letters) {
                c[i] = a;
                tryWord(c);
            }
            c.erase(i, 1);
        }
    for (std::size_t i = 0; i < w.size(); ++i) {
        for (char16_t a : letters) {
            if (a == w[i])
                continue;
            c[i] = a;
            tryWord(c);
        }
        c[i] = w[i];
    }
}

void CDictionary::chilluEditGenerator(std::u16string_view w) {
    // A joiner left out after a consonant and virama: the chillu it would have made.
    std::u16string c;
    for (std::size_t i = 1; i < w.size(); ++i) {
        if (!isVirama(w[i]))
            continue;
        c.assign(w.substr(0, i + 1));
        c += u'\u200D';
        c.append(w.substr(i + 1));
        normalizeWord(c);
        if (c.size() < w.size() && inWords(c))
            addSuggestion(c);
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
    const std::u16string stored = w;
    if (firstCharacterRules(rules_[PreSubstitutions].complexEntries, w, true) == -1)
        firstCharacterRules(rules_[PreAdditions].complexEntries, w, false);
    // The word as the user spelled it: joiners kept, chillus written out as consonant, virama
    // and joiner. Edits of joiners are edits of this form.
    std::u16string spelled = w;
    if (w == stored && std::any_of(input.begin(), input.end(), isJoiner)) {
        spelled.assign(input);
        lowerAsciiInPlace(spelled);
    }
    toOldChillus(spelled);

    if (w.size() <= 2) {
        shortWordGenerator(w);
        // Besides the words it begins, the words one edit away (a vowel sign left out
        // between its two letters, a chillu spelled out).
        if (singleEdits_ && !inWords(w)) {
            singleEditGenerator(w, false);
            if (spelled != w)
                singleEditGenerator(spelled, true);
        }
    } else {
        dropFirstGenerator(w);
        firstSyllableGenerators(w);
        vowelVariantGenerator(w, accuracy);
        transpositionGenerator(w);
        if (singleEdits_) {
            singleEditGenerator(w, false);
            if (spelled != w)
                singleEditGenerator(spelled, true);
            else
                chilluEditGenerator(w);
        }
        relaxedMatchGenerator(w);
    }

    if (singleEdits_)
        rankSuggestions(spelled);
    out = suggestions_;
    // Answer in the spelling the text uses.
    if (usesOldChillus(input))
        for (std::u16string &s : out)
            toOldChillus(s);
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

std::uint16_t CDictionary::partnerGroup(char16_t c) const {
    const auto it = std::lower_bound(
        partnerGroups_.begin(), partnerGroups_.end(), c,
        [](const std::pair<char16_t, std::uint16_t> &e, char16_t u) { return e.first < u; });
    return it != partnerGroups_.end() && it->first == c ? it->second : 0;
}

int CDictionary::closeness(std::u16string_view a, std::u16string_view b) const {
    // Optimal string alignment distance in half edits.
    constexpr int full = 2, half = 1;
    const auto light = [](char16_t c) { return isVirama(c) || isNukta(c) || isJoiner(c); };
    const auto indel = [&](char16_t c) { return light(c) ? half : full; };
    const auto replace = [&](char16_t x, char16_t y) {
        if (x == y)
            return 0;
        const std::uint16_t g = partnerGroup(x);
        return g != 0 && g == partnerGroup(y) ? half : full;
    };
    const std::size_t n = a.size(), m = b.size();
    std::vector<int> rows(3 * (m + 1));
    int *before = rows.data(), *previous = before + (m + 1), *current = previous + (m + 1);
    previous[0] = 0;
    for (std::size_t j = 1; j <= m; ++j)
        previous[j] = previous[j - 1] + indel(b[j - 1]);
    for (std::size_t i = 1; i <= n; ++i) {
        // A virama typed right before a vowel or nasal sign or another virama, or right after
        // a vowel sign or another virama, is no slip of the virama key alone: a letter beside
        // it is as likely missing (or it was typed a place too early), so dropping it costs a
        // full edit.
        const bool misplaced =
            isVirama(a[i - 1]) &&
            ((i < n && (isVowelSign(a[i]) || isNasalSign(a[i]) || isVirama(a[i]))) ||
             (i > 1 && (isVowelSign(a[i - 2]) || isVirama(a[i - 2]))));
        const int drop = misplaced ? full : indel(a[i - 1]);
        current[0] = previous[0] + drop;
        for (std::size_t j = 1; j <= m; ++j) {
            int best = previous[j - 1] + replace(a[i - 1], b[j - 1]);
            best = std::min(best, previous[j] + drop);
            best = std::min(best, current[j - 1] + indel(b[j - 1]));
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1] &&
                a[i - 1] != a[i - 2])
                best = std::min(best, before[j - 2] + full);
            current[j] = best;
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[m];
}

void CDictionary::rankSuggestions(std::u16string_view typed) {
    if (suggestions_.size() < 2)
        return;
    // Closest first. Among equally close words: one the typed word makes by a slip that
    // hits few keys (two letters swapped, or one left out), then one it makes by a letter
    // typed for another, then one that drops a unit of the typed word (a letter typed too
    // many); then the one sharing more leading units with it (first letters are seldom
    // mistyped), then the generators' order. A letter left out can only be that letter; one
    // typed for another could have been any of dozens, so of two such words the first is
    // the likelier meant.
    struct Key {
        int cost;
        int slip;
        int sharedHead;
        std::size_t index;
        auto rank() const { return std::tie(cost, slip, sharedHead, index); }
    };
    // 0: swapped neighbours or a unit left out; 1: other words as long; 2: shorter words.
    const auto slipOf = [&typed](std::u16string_view s) {
        if (s.size() > typed.size())
            return 0;
        if (s.size() < typed.size())
            return 2;
        const auto [x, y] = std::mismatch(s.begin(), s.end(), typed.begin());
        const std::size_t i = static_cast<std::size_t>(x - s.begin());
        const bool swapped = i + 1 < s.size() && s[i] == typed[i + 1] && s[i + 1] == typed[i] &&
                             s.substr(i + 2) == typed.substr(i + 2);
        return swapped ? 0 : 1;
    };
    std::vector<Key> order;
    order.reserve(suggestions_.size());
    for (std::size_t i = 0; i < suggestions_.size(); ++i) {
        // Compared in the typed word's spelling: chillus written out.
        std::u16string s = suggestions_[i];
        toOldChillus(s);
        const auto head = std::mismatch(s.begin(), s.end(), typed.begin(), typed.end()).first;
        order.push_back({closeness(typed, s), slipOf(s), -static_cast<int>(head - s.begin()), i});
    }
    std::sort(order.begin(), order.end(),
              [](const Key &x, const Key &y) { return x.rank() < y.rank(); });
    std::vector<std::u16string> ranked;
    ranked.reserve(order.size());
    for (const Key &k : order)
        ranked.push_back(std::move(suggestions_[k.index]));
    suggestions_ = std::move(ranked);
}

// ---------------------------------------------------------------------------------------------
// Prefix lookup

int CDictionary::LookupPrefix(std::u16string_view input, int maxCount,
                              std::vector<std::u16string> &out) const {
    if (maxCount <= 0 || input.size() < 2) {
        out.clear();
        return 0;
    }
    const std::u16string prefix = normalizedWord(input);
    const DICTINDEX *entry = prefix.size() < 2 ? nullptr : initialEntry(prefix[0]);
    if (!entry || std::any_of(prefix.begin(), prefix.end(),
                              [&](char16_t c) { return c < minChar_ || c > maxChar_; })) {
        out.clear();
        return 0;
    }
    // The strings already in `out` are overwritten in place, so that a caller asking on every
    // keystroke with the same vector reuses their storage.
    const auto limit = static_cast<std::size_t>(maxCount);
    std::size_t count = 0;
    const auto put = [&](std::u16string_view w) {
        if (count < out.size())
            out[count].assign(w);
        else
            out.emplace_back(w);
        ++count;
    };
    const SECONDDICTINDEX *found = secondEntry(*entry, prefix[1]);
    if (found && found->firstWord >= 0 &&
        static_cast<std::size_t>(found->firstWord) < wordCount()) {
        // Words are stored with A to Z in lower case, so the matches are the run of words that
        // begin with the lower-cased prefix, found by a binary search from the start position.
        std::u16string lower(prefix);
        lowerAsciiInPlace(lower);
        // Whether the word's first units (as many as the prefix has) sort before the prefix.
        const auto before = [&](std::u16string_view w) {
            const std::size_t m = std::min(w.size(), lower.size());
            for (std::size_t i = 0; i < m; ++i)
                if (w[i] != lower[i])
                    return w[i] < lower[i];
            return m < lower.size();
        };
        std::size_t lo = static_cast<std::size_t>(found->firstWord), hi = wordCount();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (before(word(mid)))
                lo = mid + 1;
            else
                hi = mid;
        }
        for (std::size_t p = lo; p < wordCount() && count < limit; ++p) {
            const std::u16string_view w = word(p);
            if (!startsWithIgnoringCase(w, prefix))
                break;
            if (w.size() > prefix.size())
                put(w);
        }
    }
    for (const std::u16string &u : userWords_) {
        if (!startsWithIgnoringCase(u, prefix))
            continue;
        if (count >= limit)
            --count;
        put(u);
    }
    out.resize(count);
    return static_cast<int>(count);
}

} // namespace tarvellite

#pragma once

#include "core/spelling/dictionary_file.h"
#include "core/spelling/lookup_table.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tarvellite {

/// One position of a word that the vowel-variant generator varies, with the group of
/// characters it tries there.
struct VOCALSTRUCT {
    std::int32_t position = 0;
    std::u16string group;
};

/// The parsed values of one rule file section.
struct RuleSection {
    std::u16string simpleText;
    std::u16string complexText;
    std::vector<std::u16string> simpleEntries;  ///< longest first
    std::vector<std::u16string> complexEntries; ///< longest first
};

/// Indexes of the rule sections, in their file order.
enum RuleSectionIndex {
    WordJoiners = 0,
    PreAdditions = 1,
    PostAdditions = 2,
    PreSubstitutions = 3,
    PostSubstitutions = 4,
    VocalCharacters = 5,
};

/// Default of the `dictionaryAccuracy` setting: how many positions of a word the vowel-variant
/// generator may vary.
inline constexpr int defaultDictionaryAccuracy = 4;

/// Default number of words the look-ahead asks for.
inline constexpr int defaultLookupCount = 28;

/// A loaded language dictionary: the word file, its rule file and the user dictionary.
///
/// Words are UTF-16. Every word that enters (file words, user words) and every word asked about
/// is first brought to NFC (see `normalizeWord`); Latin letters A to Z are folded to lower case
/// where the checker says so. Not thread-safe, not even its const members (lookup tables are
/// built on first use); the look-ahead and the spell checker each own one.
class CDictionary {
  public:
    CDictionary();
    ~CDictionary();
    CDictionary(const CDictionary &) = delete;
    CDictionary &operator=(const CDictionary &) = delete;

    /// Reads the word file at `wordFilePath` (UTF-8 path, "/" separators), the rule file beside
    /// it (same name, ".tdh") and the user dictionary in `userFolder` (named from the first five
    /// characters of the word file's name, ".usr"; an empty folder means the current folder).
    /// With `readUserWords` false the user dictionary is not read (its path is still set).
    ///
    /// Fails without a message when the path has no "." or no file is there; shows "Unable to
    /// read Dictionary File" when it cannot be opened, "Unable to read Dictionary File or not
    /// the right Version" on a wrong header, and names the damage when the file ends early or
    /// holds a value that cannot fit. On any failure the object is empty and not loaded.
    bool Load(const std::string &wordFilePath, const std::string &userFolder,
              bool readUserWords = true);

    /// Empties every table; the object is not loaded afterwards.
    void clear();

    bool loaded() const { return loaded_ != 0; }

    /// True when `word` is correctly spelled. `position` receives -1 or the word-list position
    /// from which the exact search started. Outside Latin dictionaries a suffix rule needs a
    /// stem of three units or more.
    bool CheckWord(std::u16string_view word, std::int32_t &position) const;
    bool CheckWord(std::u16string_view word) const { return check(word, nullptr); }

    /// Corrections for a misspelled word, in the order the generators find them. `accuracy`
    /// bounds the positions the vowel-variant generator may vary. Returns the count.
    ///
    /// After the transposition generator, and before the relaxed match, the words one edit away
    /// (two neighbours swapped, one unit dropped, added or replaced) are added unless
    /// `setSingleEdits(false)` turned them off.
    int GetSuggestions(std::vector<std::u16string> &out, std::u16string_view word,
                       int accuracy = defaultDictionaryAccuracy);

    /// Dictionary words longer than `prefix` that begin with it, then matching user words;
    /// at most `maxCount`. Returns the count placed in `out` (which is emptied first).
    int LookupPrefix(std::u16string_view prefix, int maxCount,
                     std::vector<std::u16string> &out) const;

    /// Appends `word` to the user words unless it is there already; returns their count.
    int AddUserWord(std::u16string_view word);

    /// Writes the user words to `userDictPath()`; false when the file cannot be written.
    bool SaveUserDictionary() const;

    /// Waits for the lookup tables a first check starts building in the background (the
    /// filter of inflected forms), building the others if need be. Checks never wait: until
    /// the filter is there they take a longer way to the same answers. For benchmarks and
    /// tests that want the full speed at once.
    void waitForLookupTables() const;

    /// Turns the single-edit suggestions and the ranking on (the default) or off. Off, the
    /// list is exactly the generators' own, in the order they found the words.
    ///
    /// Ranking orders the suggestions by closeness to the word: a weighted edit distance over
    /// units (one deleted, inserted, replaced, or two neighbours swapped), where replacing a
    /// unit by a partner of its "Vocal Characters" group (a long or short vowel sign, a
    /// confusable consonant) or dropping or adding a virama, nukta or joiner costs half an
    /// edit. Words are compared as typed, with their joiners and with chillus written out.
    /// Among equally close words, those not shorter than the word come first, then those
    /// sharing more leading units with it, then the generators' order.
    void setSingleEdits(bool on) { singleEdits_ = on; }
    /// The closeness used for ranking, in half edits.
    int closeness(std::u16string_view typed, std::u16string_view suggestion) const;

    // Read access to the loaded tables.
    std::size_t wordCount() const { return wordOffsets_.empty() ? 0 : wordOffsets_.size() - 1; }
    std::u16string_view word(std::size_t position) const {
        return std::u16string_view(units_ + wordOffsets_[position], wordLength(position));
    }
    const std::vector<std::u16string> &userWords() const { return userWords_; }
    const std::string &userDictPath() const { return userDictPath_; }
    std::int32_t minChar() const { return minChar_; }
    std::int32_t maxChar() const { return maxChar_; }
    bool latin() const { return latin_; }
    const std::u16string &charClass(int i) const { return classes_[static_cast<std::size_t>(i)]; }
    const RuleSection &rules(RuleSectionIndex section) const { return rules_[section]; }
    const std::vector<std::u16string> &suggestions() const { return suggestions_; }
    const std::vector<VOCALSTRUCT> &vocalPositions() const { return vocalPositions_; }
    /// Word-list positions of the words of `length` units (2 to 32), in list order.
    std::span<const std::uint32_t> byLength(std::size_t length) const;
    /// Position in `byLength(length)` of the first word beginning with `initial`, or -1.
    std::int32_t byLengthInitial(std::size_t length, char16_t initial) const;

    /// The user dictionary path for a word file path and a user folder.
    static std::string userDictionaryPathFor(const std::string &wordFilePath,
                                             const std::string &userFolder);

  private:
    /// The words of one length that share an initial: positions [first, end) of the list.
    struct InitialRun {
        char16_t initial = 0;
        std::uint32_t first = 0;
        std::uint32_t end = 0;
    };
    /// A "Post Additions" entry ready for matching: a word ending in `suffix` (and longer than
    /// it) stands for the stem without it followed by `replacement`, or, with `dropTwo`, the
    /// word without its last two units.
    struct SuffixRule {
        std::u16string suffix;
        std::u16string replacement;
        bool dropTwo = false;
        /// The suffix begins with a dead consonant (consonant + virama): it never follows
        /// another dead consonant, as no word of our scripts joins two that way.
        bool deadStart = false;
    };
    struct LengthList {
        std::vector<std::uint32_t> positions;
        std::vector<InitialRun> runs; ///< one per initial (its first run), ascending initial
    };

    // Lookups.
    const DICTINDEX *initialEntry(char16_t initial) const;
    std::int32_t clampedFirstWord(const DICTINDEX &entry) const;
    const SECONDDICTINDEX *secondEntry(const DICTINDEX &entry, char16_t second) const;
    std::int64_t findWord(std::u16string_view word) const;
    std::int64_t findWord(std::u16string_view word, std::uint64_t hash) const;
    /// `findWord` for a word of two units or more once the table is built and the filter
    /// said it may hold `hash`.
    inline std::int64_t probeTable(std::u16string_view word, std::uint64_t hash) const;
    /// Whether a word of 63 units or more is the one at `offset` in the table (out of the
    /// way of shorter words, which need no position).
    [[gnu::noinline]] bool isLongWordAt(std::uint32_t offset, std::u16string_view word) const;
    std::size_t positionOfOffset(std::uint32_t offset) const;
    bool inWordsFrom(std::u16string_view word, std::int32_t from) const;
    bool inWords(std::u16string_view word) const { return findWord(word) >= 0; }
    bool isUserWord(std::u16string_view word) const;
    bool check(std::u16string_view word, std::int32_t *position) const;
    bool checkPrepared(std::u16string_view word, std::int32_t *position, const std::uint64_t *hash,
                       bool absent = false) const;
    bool checkShortWord(std::u16string_view word) const;
    bool checkSuffixRules(std::u16string_view word, std::int32_t start) const;
    const InitialRun *initialRun(std::size_t length, char16_t initial) const;
    std::span<const std::uint32_t> lengthBlock(std::size_t length, char16_t initial) const;

    // Suggestions.
    int firstCharacterRules(const std::vector<std::u16string> &entries, std::u16string &word,
                            bool replaceFirst) const;
    bool classForm(std::u16string_view match, std::u16string_view replacement, std::u16string &word,
                   bool replaceFirst) const;
    void addSuggestion(std::u16string_view word);
    void putFirst(std::u16string_view word);
    void shortWordGenerator(std::u16string word);
    void dropFirstGenerator(std::u16string_view word);
    void firstSyllableGenerators(std::u16string_view word);
    void vowelVariantGenerator(std::u16string_view word, int accuracy);
    void transpositionGenerator(std::u16string_view word);
    void relaxedMatchGenerator(std::u16string_view word);
    void singleEditGenerator(std::u16string_view word, bool spelledOut);
    void chilluEditGenerator(std::u16string_view word);

    void buildLookupTables();
    void buildSuffixRules();
    void buildWordHash() const;
    void buildLengthLists() const;
    void ensureWordHash() const {
        if (!wordHashBuilt_)
            buildWordHash();
    }
    void ensureLengthLists() const {
        if (!lengthListsBuilt_)
            buildLengthLists();
    }
    const std::u16string &alphabet();

    struct UnitsHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view s) const noexcept;
    };

    std::size_t wordLength(std::size_t position) const {
        return wordOffsets_[position + 1] - wordOffsets_[position] - wordGap_;
    }

    // The word list: word p is the units of `units_` from wordOffsets_[p] up to
    // wordOffsets_[p + 1] - wordGap_. When every word has the usual wide form they are used
    // where they lie in the file, read whole into fileUnits_ (each word's four-byte record
    // header then lies between it and the next: a gap of 2 units); otherwise they are copied
    // back to back into wordCopy_ (no gap).
    std::unique_ptr<char16_t[]> fileUnits_;
    std::u16string wordCopy_;
    const char16_t *units_ = nullptr;
    std::uint32_t wordGap_ = 0;
    std::vector<std::uint32_t> wordOffsets_;
    // Open-addressed hash of the words, linear probing, built on first use (a dictionary that
    // serves only prefix lookups never needs it). A slot holds a 32-bit tag (hash bits and the
    // length) above the word's offset in `units_` + 1; 0 marks an empty slot. A word listed
    // twice has the slot of its last copy.
    mutable LookupTable wordSlots_;
    // The list's words with chillus spelled the old way (consonant, virama, ZWJ), as much
    // Malayalam text still has them, back to back, and a table of them (tag and start + 1, as
    // in wordSlots_): typed so, such a word is found at the first look, as its lookup form
    // would be at the second. Only when `hashAnswers_`.
    mutable std::u16string spelledOut_;
    mutable LookupTable spelledSlots_;
    inline bool isOldChilluSpelling(std::u16string_view word, std::uint64_t hash) const;
    mutable bool wordHashBuilt_ = false;
    // A filter of the words, small enough to stay in the cache, asked before the table: most
    // words that are not in the dictionary (misspellings, stems tried by the suffix rules) are
    // turned away without reading a slot. Four bits of one 64-bit word per entry.
    mutable LookupTable wordFilter_;
    // With `filterHoldsForms_`, a second filter of the same kind, larger, holding besides every
    // user word and every form the suffix rules accept of a word or user word: a misspelling
    // it turns away needs no rule tried.
    mutable LookupTable formFilter_;
    mutable bool filterHoldsForms_ = false;
    void buildFilters(std::vector<std::uint64_t> wordHashes) const;
    // The form filter and the old spellings are made on a thread of their own, started when
    // the table is built, and taken over by the first check after they are done.
    struct BackgroundTables;
    void fillBackgroundTables(BackgroundTables &tables) const;
    void adoptBackgroundTables() const;
    void stopBackgroundTables() const;
    static void addTo(LookupTable &filter, std::uint64_t hash) {
        filter[(hash >> 32) & (filter.size() - 1)] |= filterBits(hash);
    }
    bool mayBeForm(std::uint64_t hash) const {
        const std::uint64_t bits = filterBits(hash);
        return (formFilter_[(hash >> 32) & (formFilter_.size() - 1)] & bits) == bits;
    }
    /// Calls `emit` with the hash of each form a suffix rule accepts with `stem` as its stem.
    template <typename Emit> void forEachFormOf(std::u16string_view stem, Emit &&emit) const;
    /// The answer for a word in lookup form that the filter turned away; `inRange` when every
    /// unit is known to lie in the dictionary's range.
    bool checkUnheld(std::u16string_view w, bool inRange = false) const;
    bool mayHold(std::uint64_t hash) const {
        const std::uint64_t bits = filterBits(hash);
        return (wordFilter_[(hash >> 32) & (wordFilter_.size() - 1)] & bits) == bits;
    }
    static std::uint64_t filterBits(std::uint64_t hash) {
        return (1ull << ((hash >> 8) & 63)) | (1ull << ((hash >> 14) & 63)) |
               (1ull << ((hash >> 20) & 63)) | (1ull << ((hash >> 26) & 63));
    }
    // True when every word lies at or after the positions the checker starts its searches for
    // it at (the file's indexes agree with its list); then presence alone answers a search.
    // Found while the hash is built.
    mutable bool startsAgree_ = false;
    // True besides when every word is well-formed, in lower case, and indexed by its initial
    // and first two units: then finding a word in the table, as typed, alone tells that it is
    // correct. (Our word files store the lookup form; a word of another file stored in some
    // other form is correct when typed just so.) Found while the hash is built.
    mutable bool hashAnswers_ = false;
    // True when every initial's second-index entries ascend by `secondChar`.
    bool secondSorted_ = false;
    std::vector<std::u16string> userWords_;
    std::unordered_set<std::u16string, UnitsHash, std::equal_to<>> userWordSet_;
    std::vector<DICTINDEX> initialEntries_;
    // For each initial entry, the highest second character of its second-index entries, or
    // -1 when it has none (kept when `secondSorted_`).
    std::vector<std::int32_t> lastSecond_;
    // For each unit from initialBase_ on: its index in initialEntries_, or -1.
    std::vector<std::int32_t> initialSlot_;
    char16_t initialBase_ = 0;
    std::vector<SECONDDICTINDEX> secondIndex_;
    std::int32_t minChar_ = 0;
    std::int32_t maxChar_ = 0;
    std::array<std::u16string, 4> classes_;
    std::array<std::u16string, 3> extras_;
    std::array<RuleSection, 6> rules_;
    // The "Post Additions" entries by the last unit of their suffix; those with an empty
    // suffix first (their last unit counts as 0).
    std::vector<SuffixRule> suffixRules_;
    std::vector<char16_t> suffixLastUnits_;
    // The rules by the last unit of their replacement (0 when it is empty), for listing the
    // forms of a stem: (that unit, index in suffixRules_), ascending.
    std::vector<std::pair<char16_t, std::uint32_t>> replacementLastUnits_;
    std::int32_t loaded_ = 0;
    // Built on first use, like the hash.
    mutable std::array<LengthList, maxWordUnits - 1> byLength_;
    mutable bool lengthListsBuilt_ = false;
    std::string userDictPath_;
    std::vector<std::u16string> suggestions_;
    std::vector<VOCALSTRUCT> vocalPositions_;
    bool latin_ = false;
    bool singleEdits_ = true;
    // Group number (from 1) of each unit of the "Vocal Characters" groups, sorted by unit.
    std::vector<std::pair<char16_t, std::uint16_t>> partnerGroups_;
    std::uint16_t partnerGroup(char16_t c) const;
    void rankSuggestions(std::u16string_view typed);
    std::u16string alphabet_; // every unit the words use, ascending; built on first use
    bool alphabetBuilt_ = false;
    // The tables a thread is making; last, so that the thread is stopped before the words it
    // reads go.
    mutable std::unique_ptr<BackgroundTables> background_;
};

} // namespace tarvellite

#pragma once

#include "core/app/result.h"
#include "core/spelling/dictionary_file.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// A named range of UTF-16 units that a dictionary's words are drawn from.
struct ScriptRange {
    std::u16string_view name;
    std::int32_t minChar;
    std::int32_t maxChar;
};

/// The scripts the builder knows by name ("latin", "devanagari", "kannada", "tamil", "telugu",
/// "malayalam", "sinhala"). Latin runs from the apostrophe to "z", so that possessive forms are
/// checked; Sinhala runs up to U+200D, because its words need the zero width joiner.
const std::vector<ScriptRange> &knownScripts();

/// The readable source of a dictionary: its script, its character classes and its rules.
///
/// UTF-8 INI text. Section "Dictionary" holds Script (a known script name) or MinChar and
/// MaxChar (numbers, "0x" for hex), the classes C1 to C4, and StripJoiners ("yes" drops U+200C
/// and U+200D from every word). The six rule sections ("Word Joiners" ... "Vocal Characters")
/// hold Simple and Complex as the rule file will. In every value "\uXXXX" stands for that
/// UTF-16 unit and "\\" for a backslash.
///
/// Section "Generated Forms" adds inflected forms to the word list where a suffix rule would
/// accept too much. Each Complex line there starts a group of replacement:suffix entries: from a
/// word of the list that ends in the replacement, the word with the suffix in its place is
/// added, but only when the list already holds a form of the same word made by one of the
/// entries of the group's Evidence line (written the same way). Nothing of the section goes
/// into the rule file.
struct DictionarySource {
    std::int32_t minChar = 0;
    std::int32_t maxChar = 0;
    std::array<std::u16string, 4> classes;
    bool stripJoiners = false;
    /// Simple and Complex of each rule section, in section order.
    std::array<std::array<std::u16string, 2>, 6> rules;
    /// The groups of "Generated Forms".
    struct FormGroup {
        std::vector<std::u16string> forms;
        std::vector<std::u16string> evidence;
    };
    std::vector<FormGroup> generatedForms;
};

/// Parses a dictionary source; fails with the line of a bad value, or when a rule value would
/// be cut by the rule file reader (over 1023 units).
Result<DictionarySource> parseDictionarySource(std::u16string_view text);

/// What the builder left out, by reason.
struct BuildCounts {
    std::size_t read = 0;          ///< non-empty lines read
    std::size_t outsideScript = 0; ///< a unit outside minChar..maxChar (or a space)
    std::size_t badStart = 0;      ///< begins with a combining mark or a joiner
    std::size_t wrongLength = 0;   ///< shorter than 2 or longer than 64 units
    std::size_t illFormed = 0;     ///< not a well-formed sequence of syllables
    std::size_t duplicates = 0;    ///< the same word again (after normalisation)
    std::size_t generated = 0;     ///< forms added by "Generated Forms"
    std::size_t kept = 0;          ///< words written, generated forms included
};

/// Collects words for one dictionary from UTF-8 word lists (one word per line).
class DictionaryBuilder {
  public:
    explicit DictionaryBuilder(const DictionarySource &source);

    /// Adds every line of a UTF-8 list: lower-cases A to Z in a Latin dictionary, brings each
    /// word to NFC (and the atomic Malayalam chillus), drops joiners when the source asks, and
    /// counts what it leaves out.
    void addWordList(std::string_view utf8);

    /// The word file: words sorted by UTF-16 units without duplicates, with the generated
    /// forms, and their indexes.
    DictionaryFileData build();

    const BuildCounts &counts() const { return counts_; }

  private:
    void generateForms();

    const DictionarySource &source_;
    std::vector<std::u16string> words_;
    BuildCounts counts_;
};

/// The rule file for a source: UTF-16LE with a byte-order mark, the six sections in order.
Bytes ruleFileBytes(const DictionarySource &source);

} // namespace tarvellite

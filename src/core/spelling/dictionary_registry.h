#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// Where a registered dictionary's word file lies.
struct DICTIONARYPATH {
    std::u16string name; ///< the word file's name without its extension
    std::string path;    ///< full path of the word file (UTF-8, "/" separators)
};

/// The installed dictionaries, found once at start-up, and the choice of one per language.
///
/// The per-language choice list is not kept here: it is the settings value "DefaultDictionary"
/// (a string list), which the caller passes in and stores back. A dictionary belongs to the
/// language whose two-letter code begins its name (compared without case).
class DictionaryRegistry {
  public:
    /// Registers every word file (".dic" in any case, with the word file header) under
    /// `folder`, descending into each sub-folder where it is met; entries of a folder are
    /// visited in ascending order of their names. Then sorts the names ignoring case. Shows
    /// "No Dictionaries found" when there are none. Returns the number registered. Earlier
    /// registrations are kept; call `clear()` first to start over.
    int ScanDictionaries(const std::string &folder);

    /// The position in `names()` of the dictionary to use, or -1.
    ///
    /// With an empty `name`: the first entry of `choiceList` for `languageCode` that names a
    /// registered dictionary; otherwise the first registered dictionary of that language, which
    /// is then appended to `choiceList`. With a name (a choice from the Dictionary menu): it
    /// becomes the choice for its own language, replacing the list's entry for that language or
    /// appended when there is none (only when it is registered), and its position is returned.
    int FindDictionaryIndex(std::u16string_view name, std::u16string_view languageCode,
                            std::vector<std::u16string> &choiceList) const;

    const std::vector<std::u16string> &names() const { return names_; }
    /// The registry entry for `name`, or null.
    const DICTIONARYPATH *find(std::u16string_view name) const;
    /// The registry entry of the dictionary at `position` in `names()`, or null.
    const DICTIONARYPATH *at(int position) const;

    void clear();

  private:
    void scanFolder(const std::string &folder, int depth);

    std::vector<std::u16string> names_;
    std::map<std::u16string, DICTIONARYPATH, std::less<>> paths_;
};

/// Whether the first two units of `a` and `b` exist and are equal ignoring the case of A to Z.
bool sameLanguageCode(std::u16string_view a, std::u16string_view b);

} // namespace tarvellite

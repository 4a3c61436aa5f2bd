#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// The application-wide ignore list: words the user chose to ignore everywhere ("Ignore All").
/// Every dictionary accepts them until the list is emptied. Used on the interface thread only.

/// Appends `word` (compared exactly, as the checker compares it) unless it is listed already.
void addIgnoredWord(std::u16string_view word);

/// Whether `word` is in the list (exact comparison).
bool isIgnoredWord(std::u16string_view word);

/// Empties the list.
void clearIgnoreList();

/// The listed words in the order they were added.
const std::vector<std::u16string> &ignoredWords();

} // namespace tarvellite

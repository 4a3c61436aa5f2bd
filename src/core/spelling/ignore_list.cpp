#include "core/spelling/ignore_list.h"

#include <algorithm>

namespace tarvellite {

namespace {

// At namespace scope: every check asks whether it is empty.
std::vector<std::u16string> ignored;

std::vector<std::u16string> &list() {
    return ignored;
}

} // namespace

void addIgnoredWord(std::u16string_view word) {
    if (!isIgnoredWord(word))
        list().emplace_back(word);
}

bool isIgnoredWord(std::u16string_view word) {
    const auto &words = list();
    return std::find(words.begin(), words.end(), word) != words.end();
}

void clearIgnoreList() {
    list().clear();
}

const std::vector<std::u16string> &ignoredWords() {
    return list();
}

} // namespace tarvellite

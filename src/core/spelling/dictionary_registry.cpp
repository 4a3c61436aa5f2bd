#include "core/spelling/dictionary_registry.h"

#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/ascii_case.h"
#include "core/spelling/dictionary_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tarvellite {

namespace {

// Folders nested deeper than this are not visited (a link loop would never end).
constexpr int maxFolderDepth = 32;

// Ordinal comparison with A to Z folded.
int compareIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = lowerAscii(a[i]), y = lowerAscii(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool startsWithWordFileHeader(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::uint8_t header[12] = {};
    if (!in.read(reinterpret_cast<char *>(header), sizeof header))
        return false;
    return hasDictionaryHeader(header);
}

std::string pathString(const std::u8string &s) {
    return std::string(s.begin(), s.end());
}

} // namespace

bool sameLanguageCode(std::u16string_view a, std::u16string_view b) {
    return a.size() >= 2 && b.size() >= 2 && equalIgnoringCase(a.substr(0, 2), b.substr(0, 2));
}

void DictionaryRegistry::clear() {
    names_.clear();
    paths_.clear();
}

void DictionaryRegistry::scanFolder(const std::string &folder, int depth) {
    namespace fs = std::filesystem;
    if (depth > maxFolderDepth)
        return;
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(fs::path(std::u8string(folder.begin(), folder.end())), ec), end;
         !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) {
        return a.path().filename() < b.path().filename();
    });
    for (const fs::directory_entry &entry : entries) {
        const std::string full = pathString(entry.path().generic_u8string());
        if (entry.is_directory(ec)) {
            scanFolder(full, depth + 1);
            continue;
        }
        if (!entry.is_regular_file(ec))
            continue;
        const std::string fileName = pathString(entry.path().filename().u8string());
        const std::size_t dot = fileName.rfind('.');
        if (dot == std::string::npos ||
            !equalIgnoringCase(utf8ToUtf16(fileName.substr(dot)), u".dic"))
            continue;
        if (!startsWithWordFileHeader(entry.path()))
            continue;
        const std::u16string name = utf8ToUtf16(fileName.substr(0, dot));
        paths_.insert_or_assign(name, DICTIONARYPATH{name, full});
        names_.push_back(name);
    }
}

int DictionaryRegistry::ScanDictionaries(const std::string &folder) {
    const std::size_t before = names_.size();
    scanFolder(folder, 0);
    for (std::size_t c = 0; c < names_.size(); ++c)
        for (std::size_t d = 0; d < c; ++d)
            if (compareIgnoringCase(names_[d], names_[c]) > 0)
                std::swap(names_[d], names_[c]);
    const int found = static_cast<int>(names_.size() - before);
    if (found == 0)
        showMessage("No Dictionaries found", MessageIcon::Warning);
    return found;
}

const DICTIONARYPATH *DictionaryRegistry::find(std::u16string_view name) const {
    const auto it = paths_.find(name);
    return it == paths_.end() ? nullptr : &it->second;
}

const DICTIONARYPATH *DictionaryRegistry::at(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= names_.size())
        return nullptr;
    return find(names_[static_cast<std::size_t>(position)]);
}

int DictionaryRegistry::FindDictionaryIndex(std::u16string_view name,
                                            std::u16string_view languageCode,
                                            std::vector<std::u16string> &choiceList) const {
    const auto positionOf = [&](std::u16string_view wanted) {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (equalIgnoringCase(names_[i], wanted))
                return static_cast<int>(i);
        return -1;
    };
    const auto firstOfLanguage = [&](std::u16string_view code) {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (sameLanguageCode(names_[i], code))
                return static_cast<int>(i);
        return -1;
    };
    if (name.empty()) {
        for (const std::u16string &choice : choiceList)
            if (sameLanguageCode(choice, languageCode)) {
                const int i = positionOf(choice);
                if (i >= 0)
                    return i;
            }
        const int i = firstOfLanguage(languageCode);
        if (i >= 0)
            choiceList.push_back(names_[static_cast<std::size_t>(i)]);
        return i;
    }
    for (std::u16string &choice : choiceList)
        if (sameLanguageCode(choice, name)) {
            choice = std::u16string(name);
            return positionOf(name);
        }
    // The chosen dictionary itself becomes its language's choice.
    const int i = positionOf(name);
    if (i >= 0)
        choiceList.push_back(names_[static_cast<std::size_t>(i)]);
    return i;
}

} // namespace tarvellite

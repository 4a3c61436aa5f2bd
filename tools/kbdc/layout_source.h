#pragma once

#include "core/app/result.h"
#include "core/input/keyboard_data.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// One language as authored in a layout source file, with its keyboards.
struct LanguageSource {
    LANGDETAILS details;
    std::string code;
    std::vector<KBDTYPE> keyboards;
    std::vector<KBDDATA> keys;
    /// Rules of the language's phonetic keyboard, if it has one.
    PHONETICDATA phonetic;
    bool hasPhonetic = false;
};

/// Parses one layout source file (UTF-8 text). Errors name the file and line.
Result<LanguageSource> parseLayoutSource(std::string_view text, const std::string &fileName);

/// Assembles languages, in order, into keyboard tables: keyboard indices, phonetic indices
/// and counts are derived here.
KeyboardTables assembleTables(const std::vector<LanguageSource> &languages);

/// Reads the manifest (one layout file name per line, in language order, relative to the
/// manifest's folder) and every file it names.
Result<KeyboardTables> compileLayouts(const std::string &manifestPath);

} // namespace tarvellite

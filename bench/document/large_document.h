#pragma once

// A large Tamil RTF as word processors write it: Tamil as \uN with a "?" fallback, font and
// size switches, bold groups, some Latin text, and a numbered list item every tenth paragraph.

#include <cstddef>
#include <string>

namespace tarvellite::bench {

inline std::string largeTamilRtf(std::size_t bytes) {
    static const char16_t sentence[] = u"தமிழ் மொழியில் எழுதப்பட்ட ஒரு நீண்ட வாக்கியம் இது ";
    std::string tamil;
    for (const char16_t *c = sentence; *c; ++c)
        tamil += *c < 0x80 ? std::string(1, static_cast<char>(*c))
                           : "\\u" + std::to_string(static_cast<int>(*c)) + "?";
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times "
        "New Roman;}{\\f1\\fnil\\fcharset0 Latha;}}{\\colortbl;\\red200\\green0"
        "\\blue0;}{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
        "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\n";
    rtf.reserve(bytes + 4096);
    for (int i = 0; rtf.size() < bytes; ++i) {
        rtf += "\\pard\\plain";
        if (i % 10 == 5)
            rtf += "\\ls1\\fi-360\\li720{\\listtext 1.\\tab}";
        rtf += "\\f1\\fs28 " + tamil + tamil + "{\\b " + tamil + "}" + tamil +
               "\\f0\\fs24  Latin words here. {\\cf1 red} \\f1 " + tamil + "\\par\n";
    }
    rtf += "}";
    return rtf;
}

} // namespace tarvellite::bench

// Reader of the keyboard data file.
//
// The file is a flat run of fixed-size records whose number and order come from counts in the
// file itself, so nothing in it can be trusted: every record is checked to be present before it
// is read, every count is checked against the bytes that remain before anything is allocated,
// and every keyboard index and phonetic index is checked against its table. The tables are
// built into a fresh object and handed out only when the whole file passed.

#include "core/input/keyboard_data.h"

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"

#include <algorithm>
#include <string_view>

namespace tarvellite {

namespace {

constexpr std::int32_t magic1 = 2813;
constexpr std::int32_t magic2 = 1000;
constexpr std::size_t headerBytes = 8;
constexpr std::size_t countsBlockBytes = 228;
constexpr std::size_t langDetailsBytes = 144;
constexpr std::size_t kbdTypeBytes = 40;
constexpr std::size_t kbdDataBytes = 2000;
constexpr std::size_t phoneticBytes = 1264;
constexpr std::size_t maxFileBytes = 64 * 1024 * 1024;

// Byte offsets of the match, result and erase-count arrays of the four phonetic sections.
struct SectionLayout {
    std::size_t match, result, erase;
};
constexpr std::array<SectionLayout, 4> sectionLayouts = {
    SectionLayout{0, 120, 280}, SectionLayout{360, 450, 572}, SectionLayout{904, 964, 1044},
    SectionLayout{1084, 1144, 1224}};

constexpr std::string_view keyRowUnshifted = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";
constexpr std::string_view keyRowShifted = "~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?";

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::int32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[at]) |
                                     (static_cast<std::uint32_t>(b[at + 1]) << 8) |
                                     (static_cast<std::uint32_t>(b[at + 2]) << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

// A NUL-terminated UTF-16 field; a field without a NUL ends at its last unit.
std::u16string fixedString(std::span<const std::uint8_t> b, std::size_t at, std::size_t bytes) {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const char16_t u = le16(b, at + i);
        if (u == 0)
            break;
        s.push_back(u);
    }
    return s;
}

LANGDETAILS decodeLanguage(std::span<const std::uint8_t> b) {
    LANGDETAILS l;
    l.name = fixedString(b, 0, 32);
    l.viramaMode = le32(b, 32);
    l.virama = le16(b, 36);
    l.keyboardsInLanguage = le32(b, 40);
    l.selectedKeyboard = le32(b, 44);
    l.firstKeyboard = le32(b, 48);
    l.phoneticIndex = le32(b, 52);
    l.consonantFirst = le16(b, 58);
    l.consonantLast = le16(b, 60);
    l.vowels = fixedString(b, 62, 40);
    l.vowelSigns = fixedString(b, 102, 40);
    return l;
}

PHONETICDATA decodePhonetic(std::span<const std::uint8_t> b) {
    PHONETICDATA p;
    for (std::size_t s = 0; s < 4; ++s) {
        const SectionLayout &at = sectionLayouts[s];
        for (std::size_t i = 0; i < p.sections[s].size(); ++i) {
            PhoneticRule &r = p.sections[s][i];
            r.earlier = le16(b, at.match + 6 * i);
            r.later = le16(b, at.match + 6 * i + 2);
            for (std::size_t k = 0; k < 3; ++k)
                r.out[k] = le16(b, at.result + 8 * i + 2 * k);
            r.eraseCount = le32(b, at.erase + 4 * i);
        }
    }
    return p;
}

void encodeLanguage(ByteWriter &w, const LANGDETAILS &l) {
    w.fixedUtf16(l.name, 32);
    w.i32(l.viramaMode);
    w.u16(l.virama);
    w.zeros(2);
    w.i32(l.keyboardsInLanguage);
    w.i32(l.selectedKeyboard);
    w.i32(l.firstKeyboard);
    w.i32(l.phoneticIndex);
    w.zeros(2);
    w.u16(l.consonantFirst);
    w.u16(l.consonantLast);
    w.fixedUtf16(l.vowels, 40);
    w.fixedUtf16(l.vowelSigns, 40);
    w.zeros(2);
}

void encodePhonetic(ByteWriter &w, const PHONETICDATA &p) {
    Bytes block(phoneticBytes, 0);
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        block[at] = static_cast<std::uint8_t>(v);
        block[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    for (std::size_t s = 0; s < 4; ++s) {
        const SectionLayout &at = sectionLayouts[s];
        const std::size_t n =
            std::min<std::size_t>(p.sections[s].size(), PHONETICDATA::ruleCounts[s]);
        for (std::size_t i = 0; i < n; ++i) {
            const PhoneticRule &r = p.sections[s][i];
            put16(at.match + 6 * i, r.earlier);
            put16(at.match + 6 * i + 2, r.later);
            for (std::size_t k = 0; k < 3; ++k)
                put16(at.result + 8 * i + 2 * k, r.out[k]);
            const auto e = static_cast<std::uint32_t>(r.eraseCount);
            put16(at.erase + 4 * i, static_cast<std::uint16_t>(e));
            put16(at.erase + 4 * i + 2, static_cast<std::uint16_t>(e >> 16));
        }
    }
    w.bytes(block);
}

Error damaged(const ByteReader &r, std::string what) {
    return Error{std::move(what), r.offset()};
}

} // namespace

int LANGDETAILS::vowelIndex(char32_t c) const {
    for (std::size_t i = 0; i < vowels.size(); ++i)
        if (vowels[i] == c)
            return static_cast<int>(i);
    return -1;
}

bool LANGDETAILS::isVowelSign(char32_t c) const {
    return c != emptySlot && vowelSigns.find(static_cast<char16_t>(c)) != std::u16string::npos;
}

void BuildKeyCaptions(KeyCaptionTable &table, const KBDDATA &keys) {
    for (int k = 0; k < keyPositionCount; ++k) {
        for (int layer = 0; layer < layerCount; ++layer) {
            auto &caption = table[k][layer];
            caption.fill(0);
            int n = 0;
            for (int p = 1; p <= slotCount; ++p) {
                const char16_t u = keys.slot(layer, p, k);
                if (u != emptySlot)
                    caption[n++] = u;
            }
        }
    }
}

std::u16string captionText(const KeyCaptionTable &table, int key, int layer) {
    const auto &c = table[key][layer];
    return std::u16string(c.data(), std::char_traits<char16_t>::length(c.data()));
}

int charToKeyTable(char32_t ch) {
    if (ch < 0x21 || ch > 0x7E)
        return -1;
    const char c = static_cast<char>(ch);
    std::size_t at = keyRowUnshifted.find(c);
    if (at == std::string_view::npos)
        at = keyRowShifted.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

char keyUnshiftedChar(int keyPosition) {
    return keyPosition >= 0 && keyPosition < static_cast<int>(keyRowUnshifted.size())
               ? keyRowUnshifted[keyPosition]
               : 0;
}

char keyShiftedChar(int keyPosition) {
    return keyPosition >= 0 && keyPosition < static_cast<int>(keyRowShifted.size())
               ? keyRowShifted[keyPosition]
               : 0;
}

Result<KeyboardTables> parseKeyboardData(std::span<const std::uint8_t> bytes, bool *wrongMagic) {
    if (wrongMagic)
        *wrongMagic = false;
    ByteReader r(bytes);
    std::int32_t m1 = 0, m2 = 0;
    r.i32(m1);
    r.i32(m2);
    if (r.failed())
        return damaged(r, "the file is too short for its header");
    if (m1 != magic1 || m2 != magic2) {
        if (wrongMagic)
            *wrongMagic = true;
        return Error{"not a keyboard data file (magic values " + std::to_string(m1) + ", " +
                         std::to_string(m2) + ")",
                     0};
    }

    std::span<const std::uint8_t> counts;
    if (!r.bytes(countsBlockBytes, counts))
        return damaged(r, "the file ends inside its counts block");
    const std::int32_t languageCount = le32(counts, 4);
    const std::int32_t keyboardCount = le32(counts, 8);
    const std::int32_t phoneticCount = le32(counts, 12);
    // Bound every count by the bytes that could hold its records before anything is allocated.
    const std::size_t left = r.remaining();
    if (languageCount < 0 || static_cast<std::size_t>(languageCount) > left / langDetailsBytes)
        return Error{"language count " + std::to_string(languageCount) + " does not fit the file",
                     headerBytes + 4};
    if (keyboardCount < 0 ||
        static_cast<std::size_t>(keyboardCount) > left / (kbdTypeBytes + kbdDataBytes))
        return Error{"keyboard count " + std::to_string(keyboardCount) + " does not fit the file",
                     headerBytes + 8};
    if (phoneticCount < 0 || static_cast<std::size_t>(phoneticCount) > left / phoneticBytes)
        return Error{"phonetic count " + std::to_string(phoneticCount) + " does not fit the file",
                     headerBytes + 12};

    KeyboardTables t;
    t.languageTable.resize(static_cast<std::size_t>(languageCount));
    t.keyboardTypeTable.resize(static_cast<std::size_t>(keyboardCount));
    t.keyboardDataTable.resize(static_cast<std::size_t>(keyboardCount));
    t.phoneticTable.reserve(static_cast<std::size_t>(phoneticCount));
    std::vector<bool> keyboardSeen(static_cast<std::size_t>(keyboardCount), false);

    for (std::int32_t i = 0; i < languageCount; ++i) {
        const std::string which = "language " + std::to_string(i);
        const std::size_t recordAt = r.offset();
        std::span<const std::uint8_t> rec;
        if (!r.bytes(langDetailsBytes, rec))
            return damaged(r, "the file ends inside the record of " + which);
        LANGDETAILS &lang = t.languageTable[i];
        lang = decodeLanguage(rec);
        const std::int64_t first = lang.firstKeyboard;
        const std::int64_t n = lang.keyboardsInLanguage;
        if (n < 0 || first < 0 || first + n > keyboardCount)
            return Error{which + " names keyboards " + std::to_string(first) + " to " +
                             std::to_string(first + n - 1) + " outside the " +
                             std::to_string(keyboardCount) + " keyboards of the file",
                         recordAt + 40};
        if (lang.selectedKeyboard < 0 || (n > 0 && lang.selectedKeyboard >= n) ||
            (n == 0 && lang.selectedKeyboard != 0))
            return Error{which + " selects keyboard " + std::to_string(lang.selectedKeyboard) +
                             " of " + std::to_string(n),
                         recordAt + 44};
        bool hasPhonetic = false;
        for (std::int64_t k = first; k < first + n; ++k) {
            const std::size_t kbdAt = r.offset();
            if (keyboardSeen[k])
                return Error{which + " reuses keyboard " + std::to_string(k), recordAt + 48};
            keyboardSeen[k] = true;
            std::span<const std::uint8_t> typeRec, dataRec;
            if (!r.bytes(kbdTypeBytes, typeRec) || !r.bytes(kbdDataBytes, dataRec))
                return damaged(r, "the file ends inside keyboard " + std::to_string(k));
            KBDTYPE &type = t.keyboardTypeTable[k];
            type.name = fixedString(typeRec, 0, 32);
            type.layoutKind = le32(typeRec, 32);
            KBDDATA &data = t.keyboardDataTable[k];
            for (std::size_t u = 0; u < data.units.size(); ++u)
                data.units[u] = le16(dataRec, 2 * u);
            for (int c = 0; c < 3 * keyPositionCount; ++c)
                if (data.units[c] > slotCount)
                    return Error{"keyboard " + std::to_string(k) + " gives a key " +
                                     std::to_string(data.units[c]) + " units",
                                 kbdAt + kbdTypeBytes + 2 * c};
            if (type.isPhonetic()) {
                hasPhonetic = true;
                if (static_cast<std::int32_t>(t.phoneticTable.size()) >= phoneticCount)
                    return Error{"more phonetic keyboards than the phonetic count " +
                                     std::to_string(phoneticCount),
                                 r.offset()};
                std::span<const std::uint8_t> phon;
                if (!r.bytes(phoneticBytes, phon))
                    return damaged(r, "the file ends inside the phonetic rules of keyboard " +
                                          std::to_string(k));
                t.phoneticTable.push_back(decodePhonetic(phon));
            }
        }
        if (hasPhonetic && (lang.phoneticIndex < 0 || lang.phoneticIndex >= phoneticCount))
            return Error{which + " uses phonetic rules " + std::to_string(lang.phoneticIndex) +
                             " of " + std::to_string(phoneticCount),
                         recordAt + 52};
    }
    const auto seen = std::count(keyboardSeen.begin(), keyboardSeen.end(), true);
    if (seen != keyboardCount)
        return Error{"the languages hold " + std::to_string(seen) + " keyboards, the count says " +
                         std::to_string(keyboardCount),
                     headerBytes + 8};
    if (static_cast<std::int32_t>(t.phoneticTable.size()) != phoneticCount)
        return Error{"the file holds " + std::to_string(t.phoneticTable.size()) +
                         " phonetic records, the count says " + std::to_string(phoneticCount),
                     headerBytes + 12};

    if (!t.keyboardDataTable.empty())
        BuildKeyCaptions(t.baseCaptionTable, t.keyboardDataTable[0]);
    for (const char *code : languageCodeList)
        t.languageCodes.emplace_back(code);
    return t;
}

Bytes serializeKeyboardData(const KeyboardTables &tables) {
    ByteWriter w;
    w.i32(magic1);
    w.i32(magic2);
    w.zeros(4);
    w.i32(static_cast<std::int32_t>(tables.languageTable.size()));
    w.i32(static_cast<std::int32_t>(tables.keyboardTypeTable.size()));
    w.i32(static_cast<std::int32_t>(tables.phoneticTable.size()));
    w.zeros(countsBlockBytes - 16);
    std::size_t phonetic = 0;
    for (const LANGDETAILS &lang : tables.languageTable) {
        encodeLanguage(w, lang);
        for (std::int32_t j = 0; j < lang.keyboardsInLanguage; ++j) {
            const std::size_t k = static_cast<std::size_t>(lang.firstKeyboard + j);
            const KBDTYPE &type = tables.keyboardTypeTable.at(k);
            w.fixedUtf16(type.name, 32);
            w.i32(type.layoutKind);
            w.zeros(4);
            for (std::uint16_t u : tables.keyboardDataTable.at(k).units)
                w.u16(u);
            if (type.isPhonetic())
                encodePhonetic(w, tables.phoneticTable.at(phonetic++));
        }
    }
    return w.take();
}

bool LoadKeyboardData(const std::string &programFolder, KeyboardTables &tables) {
    const std::string path = withTrailingSlash(programFolder) + keyboardDataFileName;
    if (!fileExists(path)) {
        showMessage("Keyboard Data file not found. Unable to Proceed", MessageIcon::Error);
        return false;
    }
    Result<Bytes> bytes = readWholeFile(path, maxFileBytes);
    if (!bytes) {
        std::string reason = bytes.error().message;
        if (reason.size() > 256)
            reason.resize(256);
        showMessage(reason, MessageIcon::Error);
        return false;
    }
    bool wrongMagic = false;
    Result<KeyboardTables> parsed = parseKeyboardData(*bytes, &wrongMagic);
    if (!parsed) {
        if (!wrongMagic)
            showMessage("Keyboard Data file is damaged: " + parsed.error().describe() +
                            ". Unable to Proceed",
                        MessageIcon::Error);
        return false;
    }
    tables = std::move(parsed).value();
    return true;
}

} // namespace tarvellite

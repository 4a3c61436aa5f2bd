#pragma once

#include "core/app/byte_reader.h"
#include "core/app/result.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvellite {

/// Number of key positions in a layout (47–49 are never produced by `charToKeyTable`).
inline constexpr int keyPositionCount = 50;
/// Layers of a layout: normal, Shift, Ctrl, Ctrl+Shift.
inline constexpr int layerCount = 4;
enum Layer : int { LayerNormal = 0, LayerShift = 1, LayerCtrl = 2, LayerCtrlShift = 3 };
/// Output slots per key and layer.
inline constexpr int slotCount = 4;
/// An empty output slot.
inline constexpr char16_t emptySlot = 0xFFFF;
/// `KBDTYPE::layoutKind` of a phonetic layout.
inline constexpr std::int32_t phoneticLayoutKind = 2;

/// One language of the keyboard data file (144 bytes on disk).
struct LANGDETAILS {
    std::u16string name;
    /// 0: no virama rules; 1: a virama at the end of a word is removed; any non-zero value
    /// enables the doubled-consonant rule.
    std::int32_t viramaMode = 0;
    char16_t virama = 0;
    std::int32_t keyboardsInLanguage = 0;
    /// Relative index of the selected keyboard.
    std::int32_t selectedKeyboard = 0;
    /// Absolute index of the language's first keyboard. In the working copy of the current
    /// language it holds the absolute index of the current keyboard.
    std::int32_t firstKeyboard = 0;
    std::int32_t phoneticIndex = 0;
    char16_t consonantFirst = 0;
    char16_t consonantLast = 0;
    /// Independent vowel letters; `vowelSigns[i]` is the sign of `vowels[i]` (0xFFFF: none).
    std::u16string vowels;
    std::u16string vowelSigns;

    bool isConsonant(char32_t c) const { return c >= consonantFirst && c <= consonantLast; }
    /// The letter range runs from the first vowel to the virama.
    bool inLetterRange(char32_t c) const {
        return !vowels.empty() && c >= vowels[0] && c <= virama;
    }
    /// Index of `c` in `vowels`, or -1.
    int vowelIndex(char32_t c) const;
    /// Whether `c` is one of `vowelSigns`.
    bool isVowelSign(char32_t c) const;
    /// The sign of vowel `i`, or `emptySlot` when it has none.
    char16_t signOfVowel(int i) const {
        return i >= 0 && static_cast<std::size_t>(i) < vowelSigns.size() ? vowelSigns[i]
                                                                         : emptySlot;
    }
};

/// One keyboard's name and kind (40 bytes on disk).
struct KBDTYPE {
    std::u16string name;
    std::int32_t layoutKind = 0;
    bool isPhonetic() const { return layoutKind == phoneticLayoutKind; }
};

/// One keyboard's key table (2000 bytes on disk): 1000 units in 20 arrays of 50.
struct KBDDATA {
    std::array<std::uint16_t, 1000> units{};

    static constexpr int countIndex(int layer, int key) { return 50 * layer + key; }
    static constexpr int slotIndex(int layer, int slot, int key) {
        return 200 + 200 * layer + 50 * (slot - 1) + key;
    }
    /// Units the key emits in `layer`. The Ctrl+Shift layer uses the Ctrl layer's count.
    int unitCount(int layer, int key) const {
        return units[countIndex(layer == LayerCtrlShift ? LayerCtrl : layer, key)];
    }
    /// Slot 1 … 4 of the key in `layer`.
    char16_t slot(int layer, int slot, int key) const { return units[slotIndex(layer, slot, key)]; }

    /// Key positions 47–49, which no character reaches, carry the layout's composition data in
    /// their 48 output slots (position by position, layer by layer, slot by slot): unit 0 is the
    /// delinker, then come the automatic-pulli pairs (a consonant, then the consonant before
    /// which it takes the virama), up to the first empty slot. An empty slot is 0xFFFF or 0.
    static constexpr int compositionFirstKey = 47;
    static constexpr int compositionUnitCount = 3 * layerCount * slotCount;
    static constexpr int compositionIndex(int i) {
        const int key = compositionFirstKey + i / (layerCount * slotCount);
        const int layer = i / slotCount % layerCount;
        return slotIndex(layer, i % slotCount + 1, key);
    }
    /// The vowel letter that, typed after a consonant, confirms the consonant with its inherent
    /// vowel (0: the layout has none).
    char16_t delinker() const {
        const char16_t u = units[compositionIndex(0)];
        return u == emptySlot ? 0 : u;
    }
    bool compositionEmpty(int i) const {
        const char16_t u = units[compositionIndex(i)];
        return u == emptySlot || u == 0;
    }
    /// Whether a consonant `first` followed by `second` gets the automatic virama.
    bool pulliPair(char16_t first, char16_t second) const {
        for (int i = 1; i + 1 < compositionUnitCount; i += 2) {
            if (compositionEmpty(i))
                return false;
            if (units[compositionIndex(i)] == first && units[compositionIndex(i + 1)] == second)
                return true;
        }
        return false;
    }
    /// Whether the layout composes as Tamil99 does (it has a delinker or pulli pairs).
    bool hasComposition() const { return !compositionEmpty(0) || !compositionEmpty(1); }
};

/// One phonetic rule of a section (h, M, R or u).
struct PhoneticRule {
    char16_t earlier = 0; ///< 0 ends the section's rules
    char16_t later = 0;   ///< 0: a one-character rule
    std::array<char16_t, 3> out{};
    std::int32_t eraseCount = 0;
};

/// The phonetic rules of one phonetic keyboard (1264 bytes on disk).
struct PHONETICDATA {
    enum Section : int { SectionH = 0, SectionM = 1, SectionR = 2, SectionU = 3 };
    static constexpr std::array<int, 4> ruleCounts = {20, 15, 10, 10};
    std::array<std::vector<PhoneticRule>, 4> sections{
        std::vector<PhoneticRule>(20), std::vector<PhoneticRule>(15), std::vector<PhoneticRule>(10),
        std::vector<PhoneticRule>(10)};
};

/// Captions of the 50 keys × 4 layers, each a NUL-terminated string of at most 4 units.
using KeyCaptionTable =
    std::array<std::array<std::array<char16_t, 5>, layerCount>, keyPositionCount>;

/// Fills `table` with the captions of `keys`: every non-empty slot, in slot order.
void BuildKeyCaptions(KeyCaptionTable &table, const KBDDATA &keys);

/// The caption of one key and layer as a string.
std::u16string captionText(const KeyCaptionTable &table, int key, int layer);

/// Key position of a printable ASCII character (0x21–0x7E) in US-keyboard row order, or -1.
int charToKeyTable(char32_t ch);

/// The unshifted and shifted characters of a key position 0 … 46 (0 for others).
char keyUnshiftedChar(int keyPosition);
char keyShiftedChar(int keyPosition);

/// The two-letter codes of the languages, in language order.
inline constexpr std::array<const char *, 7> languageCodeList = {"EN", "HI", "KN", "TA",
                                                                 "TE", "ML", "SI"};

/// Everything the keyboard data file holds, with the tables derived from it.
struct KeyboardTables {
    std::vector<LANGDETAILS> languageTable;
    std::vector<KBDTYPE> keyboardTypeTable;
    std::vector<KBDDATA> keyboardDataTable;
    std::vector<PHONETICDATA> phoneticTable;
    /// Captions of keyboard 0, built once at load.
    KeyCaptionTable baseCaptionTable{};
    std::vector<std::string> languageCodes;
};

/// Parses the bytes of a keyboard data file.
///
/// Checks everything before any table is used: the magic values, every record's presence,
/// the counts against the records and every keyboard and phonetic index against its table.
/// Returns no tables at all on any failure. `wrongMagic` is set when the file was refused for
/// its magic values alone (start-up ends without a message then).
Result<KeyboardTables> parseKeyboardData(std::span<const std::uint8_t> bytes,
                                         bool *wrongMagic = nullptr);

/// Serialises tables into the keyboard data file format (fields not read are written as 0).
Bytes serializeKeyboardData(const KeyboardTables &tables);

/// Name of the keyboard data file in the program folder.
inline constexpr const char *keyboardDataFileName = "Kbdentry.dat";

/// Reads `programFolder` + "Kbdentry.dat" into `tables`.
///
/// Reports a missing file ("Keyboard Data file not found. Unable to Proceed") and a file that
/// cannot be opened (the system's reason) through the message seam; refuses wrong magic values
/// without a message and a damaged file with a message that says what is wrong. `tables` is
/// changed only on success.
bool LoadKeyboardData(const std::string &programFolder, KeyboardTables &tables);

} // namespace tarvellite

#include "core/legacy/legacy_converter.h"

#include "core/app/unicode.h"
#include "core/legacy/legacy_glyphs.h"

#include <array>

namespace tarvellite {

namespace legacy_glyphs {

// Stage 2 in place over w[0, length): moves each prefix sign after the unit that follows it and
// joins the two-part signs. Every step writes no more units than it reads, and reads its units
// before it writes, so the output never overtakes the input. Returns the new length.
std::size_t placeVowelSigns(char16_t *w, std::size_t length) {
    std::size_t i = 0, o = 0;
    while (i < length) {
        const char16_t c = w[i];
        if (c < signE || c > signAI) {
            w[o++] = c;
            ++i;
        } else if (c == signAI) {
            if (i + 1 < length) {
                const char16_t next = w[i + 1];
                w[o++] = next;
                w[o++] = c;
                i += 2;
            } else {
                w[o++] = c;
                ++i;
            }
        } else if (i + 2 < length) {
            const char16_t next = w[i + 1];
            const char16_t after = w[i + 2];
            if (after == signAA) {
                w[o++] = next;
                w[o++] = c == signE ? signO : signOO;
                i += 3;
            } else if (c == signE && after == letterLLA && i + 3 < length &&
                       isConsonant(w[i + 3])) {
                // ௌ is ெ with the length mark, drawn like ள; after ே a ள is always the letter.
                w[o++] = next;
                w[o++] = signAU;
                i += 3;
            } else {
                w[o++] = next;
                w[o++] = c;
                i += 2;
            }
        } else if (i + 1 < length) {
            const char16_t next = w[i + 1];
            w[o++] = next;
            w[o++] = c;
            i += 2;
        } else {
            w[o++] = c;
            ++i;
        }
    }
    return o;
}

} // namespace legacy_glyphs

namespace {

using legacy_glyphs::convertInto;

// A word of the usual size is converted on the stack and appended in one copy; a longer input
// is converted in the space reserved at the end of `output`.
template <class Unit>
std::size_t appendConverted(const Unit *input, std::size_t count, bool isTab,
                            std::u16string &output) {
    if (count <= legacyWordLimit) {
        char16_t w[maxUnitsPerByte * legacyWordLimit];
        const std::size_t length = convertInto(input, count, isTab, w);
        output.append(w, length);
        return length;
    }
    const std::size_t base = output.size();
    output.resize(base + maxUnitsPerByte * count);
    const std::size_t length = convertInto(input, count, isTab, output.data() + base);
    output.resize(base + length);
    return length;
}

} // namespace

bool legacyByteOfUnit(char16_t unit, unsigned char &byte) {
    if (unit <= 0xFF) {
        byte = static_cast<unsigned char>(unit);
        return true;
    }
    if (unit >= 0xF000 && unit <= 0xF0FF) {
        byte = static_cast<unsigned char>(unit & 0xFF);
        return true;
    }
    // The Windows-1252 characters of the bytes 0x80–0x9F above U+00FF lie in two small ranges.
    struct ReverseTable {
        std::array<unsigned char, 0x200> latin{};       // U+0100–U+02FF
        std::array<unsigned char, 0x200> punctuation{}; // U+2000–U+21FF
    };
    static const ReverseTable reverse = [] {
        ReverseTable t;
        for (unsigned b = 0x80; b <= 0x9F; ++b) {
            const char16_t u = cp1252ToUnit(static_cast<unsigned char>(b));
            if (u >= 0x0100 && u < 0x0300)
                t.latin[u - 0x0100] = static_cast<unsigned char>(b);
            else if (u >= 0x2000 && u < 0x2200)
                t.punctuation[u - 0x2000] = static_cast<unsigned char>(b);
        }
        return t;
    }();
    unsigned char b = 0;
    if (unit < 0x0300)
        b = reverse.latin[unit - 0x0100];
    else if (unit >= 0x2000 && unit < 0x2200)
        b = reverse.punctuation[unit - 0x2000];
    if (b == 0)
        return false;
    byte = b;
    return true;
}

unsigned char legacyByteOf(char16_t unit) {
    unsigned char byte;
    return legacyByteOfUnit(unit, byte) ? byte : static_cast<unsigned char>('?');
}

std::int32_t ConvertLegacyText(std::u16string_view input, bool isTab, std::u16string &output) {
    output.clear();
    appendConverted(input.data(), input.size(), isTab, output);
    return static_cast<std::int32_t>(output.size());
}

std::size_t appendLegacyBytes(std::string_view bytes, bool isTab, std::u16string &output) {
    return appendConverted(bytes.data(), bytes.size(), isTab, output);
}

std::size_t appendLegacyText(std::u16string_view input, bool isTab, std::u16string &output) {
    return appendConverted(input.data(), input.size(), isTab, output);
}

std::size_t convertLegacyInto(std::string_view bytes, bool isTab, char16_t *destination) {
    return convertInto(bytes.data(), bytes.size(), isTab, destination);
}

std::size_t convertLegacyInto(std::u16string_view text, bool isTab, char16_t *destination) {
    return convertInto(text.data(), text.size(), isTab, destination);
}

} // namespace tarvellite

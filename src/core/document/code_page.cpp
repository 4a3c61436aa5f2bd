#include "core/document/code_page.h"

#include "core/app/unicode.h"

#include <map>
#include <mutex>
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace tarvellite {

namespace {

const char *icuName(int cp) {
    switch (cp) {
    case 437: return "ibm-437";
    case 850: return "ibm-850";
    case 874: return "windows-874";
    case 932: return "windows-932";
    case 936: return "windows-936";
    case 949: return "windows-949";
    case 950: return "windows-950";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10029: return "x-mac-centraleurroman";
    case 10081: return "x-mac-turkish";
    default: return nullptr;
    }
}

bool isDoubleByte(int cp) {
    return cp == 932 || cp == 936 || cp == 949 || cp == 950;
}

bool isLead(int cp, unsigned b) {
    if (cp == 932)
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return b >= 0x81 && b <= 0xFE;
}

// Decodes exactly `n` bytes; returns the single unit they give, or 0xFFFF when they do not
// give exactly one valid unit.
char16_t decodeOne(UConverter *conv, const char *bytes, int n) {
    UChar out[4];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_reset(conv);
    const int len = ucnv_toUChars(conv, out, 4, bytes, n, &err);
    if (U_FAILURE(err) || len != 1 || out[0] == 0xFFFD || (out[0] == 0x1A && bytes[0] != 0x1A))
        return 0xFFFF;
    return static_cast<char16_t>(out[0]);
}

} // namespace

struct CodePageBuilder {
    static std::unique_ptr<CodePage> build(int cp) {
        auto page = std::make_unique<CodePage>(cp, isDoubleByte(cp));
        if (cp == ansiCodePage) {
            for (unsigned b = 0; b < 256; ++b)
                page->single_[b] = cp1252ToUnit(static_cast<unsigned char>(b));
            return page;
        }
        if (cp == symbolCodePage) {
            for (unsigned b = 0; b < 256; ++b)
                page->single_[b] = static_cast<char16_t>(b < 0x20 ? b : 0xF000 + b);
            return page;
        }
        const char *name = icuName(cp);
        if (!name)
            return nullptr;
        UErrorCode err = U_ZERO_ERROR;
        UConverter *conv = ucnv_open(name, &err);
        if (U_FAILURE(err) || !conv)
            return nullptr;
        for (unsigned b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            if (page->doubleByte_ && isLead(cp, b)) {
                page->lead_[b] = true;
                page->single_[b] = 0xFFFD;
                continue;
            }
            const char16_t u = decodeOne(conv, &byte, 1);
            page->single_[b] = u == 0xFFFF ? static_cast<char16_t>(b) : u;
        }
        if (page->doubleByte_) {
            page->pairs_.assign(256 * 256, 0xFFFD);
            for (unsigned lead = 0; lead < 256; ++lead) {
                if (!page->lead_[lead])
                    continue;
                for (unsigned trail = 0x40; trail < 256; ++trail) {
                    const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                    const char16_t u = decodeOne(conv, two, 2);
                    if (u != 0xFFFF)
                        page->pairs_[lead * 256 + trail] = u;
                }
            }
        }
        ucnv_close(conv);
        return page;
    }
};

int codePageForCharset(int charset) {
    switch (charset) {
    case 0: return 1252;
    case 2: return symbolCodePage;
    case 77: return 10000;
    case 78: return 10001;
    case 79: return 10003;
    case 80: return 10008;
    case 81: return 10002;
    case 83: return 10005;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

const CodePage *CodePage::get(int codePage) {
    switch (codePage) {
    case 10001: codePage = 932; break;
    case 10002: codePage = 950; break;
    case 10003: codePage = 949; break;
    case 10008: codePage = 936; break;
    default: break;
    }
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<CodePage>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(codePage);
    if (it == cache.end())
        it = cache.emplace(codePage, CodePageBuilder::build(codePage)).first;
    return it->second.get();
}

char16_t CodePage::pair(std::uint8_t lead, std::uint8_t trail) const {
    if (!doubleByte_ || !lead_[lead])
        return 0xFFFD;
    return pairs_[lead * 256u + trail];
}

std::u16string CodePage::decode(std::span<const std::uint8_t> bytes) const {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = bytes[i];
        if (isLeadByte(b)) {
            if (i + 1 < bytes.size() && pair(b, bytes[i + 1]) != 0xFFFD) {
                out.push_back(pair(b, bytes[i + 1]));
                ++i;
            } else {
                out.push_back(0xFFFD);
            }
        } else {
            out.push_back(single_[b]);
        }
    }
    return out;
}

std::u16string decomposeComposites(std::u16string_view text) {
    UErrorCode err = U_ZERO_ERROR;
    const icu::Normalizer2 *nfd = icu::Normalizer2::getNFDInstance(err);
    if (U_FAILURE(err))
        return std::u16string(text);
    const icu::UnicodeString in(false, text.data(), static_cast<int32_t>(text.size()));
    if (nfd->isNormalized(in, err) && U_SUCCESS(err))
        return std::u16string(text);
    err = U_ZERO_ERROR;
    const icu::UnicodeString out = nfd->normalize(in, err);
    if (U_FAILURE(err))
        return std::u16string(text);
    return std::u16string(out.getBuffer(), static_cast<std::size_t>(out.length()));
}

} // namespace tarvellite

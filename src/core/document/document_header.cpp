// Document headers. The own header is recognised only by its signature and version at offsets
// 8 and 12; the stamps and maker fields are not checked. The legacy header is a chain of
// blocks whose lengths depend on a version and on counts in the file; every length is checked
// against the file's size before it is skipped, so a hostile count cannot move the body start
// past the end.

#include "core/document/document_header.h"

namespace tarvellite {

namespace {

constexpr std::int32_t headerStamp1 = 2011;
constexpr std::int32_t headerStamp2 = 11;
constexpr std::int32_t headerSignature = 250;
constexpr std::int32_t headerVersion = 4000;

bool readLegacyHeader(std::span<const std::uint8_t> file, std::size_t &bodyOffset) {
    ByteReader r(file);
    std::uint32_t magic = 0;
    std::int32_t version = 0;
    if (!r.u32(magic) || magic != legacyHeaderMagic)
        return false;
    r.skip(8);
    r.i32(version);
    if (version == 1000)
        r.skip(36);
    r.skip(version == 1000 ? 226 : 252);
    const std::size_t countsAt = r.offset();
    std::int32_t optionalFlag = 0, shortCount = 0, longCount = 0;
    r.i32(optionalFlag);
    r.skip(4);
    r.i32(shortCount);
    r.i32(longCount);
    if (r.failed() || !r.skip(36 - (r.offset() - countsAt)))
        return false;
    if (shortCount < 0 || (optionalFlag != 0 && longCount < 0))
        return false;
    std::uint64_t rest = 33ull * static_cast<std::uint64_t>(shortCount);
    if (optionalFlag != 0)
        rest += 2720ull + 36ull * static_cast<std::uint64_t>(longCount);
    if (rest > r.remaining())
        return false;
    bodyOffset = r.offset() + static_cast<std::size_t>(rest);
    return true;
}

} // namespace

DocumentHeader ReadDocumentHeader(std::span<const std::uint8_t> file) {
    DocumentHeader h;
    if (readLegacyHeader(file, h.bodyOffset)) {
        h.kind = HeaderKind::Legacy;
        return h;
    }
    h.bodyOffset = 0;
    if (file.size() < documentHeaderSize)
        return h;
    ByteReader r(file);
    std::int32_t signature = 0, version = 0;
    r.skip(8);
    r.i32(signature);
    r.i32(version);
    if (signature != headerSignature || version != headerVersion)
        return h;
    r.skip(pageLayoutOffset - r.offset());
    PageLayout &l = h.pageLayout;
    for (std::int32_t *f : {&l.paperWidth, &l.paperHeight, &l.marginLeft, &l.marginTop,
                            &l.marginRight, &l.marginBottom})
        r.i32(*f);
    for (std::int32_t &f : l.reserved)
        r.i32(f);
    std::u16string path;
    for (std::size_t i = 0; i < recoveryPathBytes / 2; ++i) {
        std::uint16_t unit = 0;
        r.u16(unit);
        if (unit == 0)
            break;
        path.push_back(static_cast<char16_t>(unit));
    }
    if (!path.empty())
        path.erase(0, 1);
    h.recoveredPath = std::move(path);
    h.kind = HeaderKind::Own;
    h.bodyOffset = documentHeaderSize;
    return h;
}

Bytes writeDocumentHeader(const PageLayout &layout, std::u16string_view recoveryPath,
                          bool *pathCut) {
    ByteWriter w;
    w.i32(headerStamp1);
    w.i32(headerStamp2);
    w.i32(headerSignature);
    w.i32(headerVersion);
    w.fixedUtf16(u"Orvani Software", 32);
    w.fixedUtf16(u"India", 20);
    for (std::int32_t f : {layout.paperWidth, layout.paperHeight, layout.marginLeft,
                           layout.marginTop, layout.marginRight, layout.marginBottom})
        w.i32(f);
    for (std::int32_t f : layout.reserved)
        w.i32(f);
    if (pathCut)
        *pathCut = false;
    if (recoveryPath.empty()) {
        w.zeros(recoveryPathBytes);
    } else {
        std::size_t n = recoveryPath.size();
        if (n > maxRecoveryPathUnits) {
            n = maxRecoveryPathUnits;
            // Never keep the first half of a surrogate pair without its second half.
            if (recoveryPath[n - 1] >= 0xD800 && recoveryPath[n - 1] <= 0xDBFF)
                --n;
            if (pathCut)
                *pathCut = true;
        }
        w.u16(0xFEFF);
        for (std::size_t i = 0; i < n; ++i)
            w.u16(recoveryPath[i]);
        w.zeros(recoveryPathBytes - 2 - 2 * n);
    }
    return w.take();
}

} // namespace tarvellite

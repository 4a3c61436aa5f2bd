// The settings records: fixed sizes, little-endian. A value of the wrong size is refused whole;
// within a record of the right size every bit pattern is a valid value (clamping is the
// loader's business).

#include "core/app/settings_records.h"

namespace tarvellite {

namespace {

constexpr std::int32_t notReadLength = 1440;

bool exactSize(std::span<const std::uint8_t> bytes, std::size_t size) {
    return bytes.size() == size;
}

} // namespace

Bytes General::toBytes() const {
    ByteWriter w;
    w.i32(measureUnit);
    w.i32(updateWaitMinutes);
    w.i32(recentDocuments);
    w.u32(textColour);
    w.u32(backgroundColour);
    return w.take();
}

std::optional<General> General::fromBytes(std::span<const std::uint8_t> bytes) {
    if (!exactSize(bytes, size))
        return std::nullopt;
    ByteReader r(bytes);
    General g;
    r.i32(g.measureUnit);
    r.i32(g.updateWaitMinutes);
    r.i32(g.recentDocuments);
    r.u32(g.textColour);
    r.u32(g.backgroundColour);
    return g;
}

Bytes PageDimensions::toBytes() const {
    ByteWriter w;
    w.i32(pageSizeIndex);
    w.i32(paperWidth);
    w.i32(paperHeight);
    w.i32(marginLeft);
    w.i32(marginRight);
    w.i32(marginTop);
    w.i32(marginBottom);
    w.i32(notReadLength);
    w.i32(notReadLength);
    w.i32(portrait);
    w.i32(1);
    w.i32(rulerVisible);
    w.i32(0);
    return w.take();
}

std::optional<PageDimensions> PageDimensions::fromBytes(std::span<const std::uint8_t> bytes) {
    if (!exactSize(bytes, size))
        return std::nullopt;
    ByteReader r(bytes);
    PageDimensions p;
    r.i32(p.pageSizeIndex);
    r.i32(p.paperWidth);
    r.i32(p.paperHeight);
    r.i32(p.marginLeft);
    r.i32(p.marginRight);
    r.i32(p.marginTop);
    r.i32(p.marginBottom);
    r.skip(8);
    r.i32(p.portrait);
    r.skip(4);
    r.i32(p.rulerVisible);
    return p;
}

Bytes ShellSortInfo::toBytes() const {
    ByteWriter w;
    w.i32(sortColumn);
    w.i32(sortAscending);
    w.i32(listHeight);
    w.i32(listMinHeight);
    w.i32(listViewStyle);
    return w.take();
}

std::optional<ShellSortInfo> ShellSortInfo::fromBytes(std::span<const std::uint8_t> bytes) {
    if (!exactSize(bytes, size))
        return std::nullopt;
    ByteReader r(bytes);
    ShellSortInfo s;
    r.i32(s.sortColumn);
    r.i32(s.sortAscending);
    r.i32(s.listHeight);
    r.i32(s.listMinHeight);
    r.i32(s.listViewStyle);
    return s;
}

Bytes BackupOption::toBytes() const {
    ByteWriter w;
    w.u8(alwaysBackup);
    w.u8(uniqueFileName);
    w.zeros(2);
    w.i32(backupNameFormat);
    w.u8(autoSave);
    w.zeros(3);
    w.i32(autoSaveMinutes);
    return w.take();
}

std::optional<BackupOption> BackupOption::fromBytes(std::span<const std::uint8_t> bytes) {
    if (!exactSize(bytes, size))
        return std::nullopt;
    ByteReader r(bytes);
    BackupOption b;
    r.u8(b.alwaysBackup);
    r.u8(b.uniqueFileName);
    r.skip(2);
    r.i32(b.backupNameFormat);
    r.u8(b.autoSave);
    r.skip(3);
    r.i32(b.autoSaveMinutes);
    return b;
}

void BackupOption::clamp() {
    if (autoSaveMinutes < 1 || autoSaveMinutes > 99)
        autoSaveMinutes = BackupOption{}.autoSaveMinutes;
    if (backupNameFormat != 0 && backupNameFormat != 1)
        backupNameFormat = 0;
}

Bytes EditOption::toBytes() const {
    ByteWriter w;
    w.i32(autoPulli);
    w.i32(undoLevels);
    w.i32(tamTabConversion);
    w.i32(dictionaryAccuracy);
    w.i32(enhancedEditing);
    w.i32(lookAheadMinLetters);
    w.fixedUtf16(defaultUnicodeFont, 64);
    return w.take();
}

std::optional<EditOption> EditOption::fromBytes(std::span<const std::uint8_t> bytes) {
    if (!exactSize(bytes, size))
        return std::nullopt;
    ByteReader r(bytes);
    EditOption e;
    r.i32(e.autoPulli);
    r.i32(e.undoLevels);
    r.i32(e.tamTabConversion);
    r.i32(e.dictionaryAccuracy);
    r.i32(e.enhancedEditing);
    r.i32(e.lookAheadMinLetters);
    // The face name ends at its NUL; a field without one gives its first 31 units.
    e.defaultUnicodeFont.clear();
    for (int i = 0; i < 31; ++i) {
        std::uint16_t unit = 0;
        r.u16(unit);
        if (unit == 0)
            break;
        e.defaultUnicodeFont.push_back(static_cast<char16_t>(unit));
    }
    return e;
}

void EditOption::clamp() {
    if (dictionaryAccuracy < 0 || dictionaryAccuracy > 9)
        dictionaryAccuracy = EditOption{}.dictionaryAccuracy;
}

} // namespace tarvellite

#pragma once

#include "core/app/byte_reader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tarvellite {

// The fixed-size records of the settings store. Each is stored as a binary value of exactly
// its size, little-endian; a stored value of any other size is ignored in favour of the
// defaults. Fields the program does not use are written with their defaults and not read.

/// General preferences (20 bytes).
struct General {
    static constexpr std::size_t size = 20;
    /// 0 millimetres, 1 centimetres, 2 inches.
    std::int32_t measureUnit = 1;
    /// Minutes before the first check for a newer version; 0 turns the check off.
    std::int32_t updateWaitMinutes = 1;
    /// Length of the recent-document list, 0 … 16. Not clamped on load: users of the value
    /// must treat anything else as 8.
    std::int32_t recentDocuments = 8;
    /// Colours as 0x00BBGGRR.
    std::uint32_t textColour = 0x000000;
    std::uint32_t backgroundColour = 0xFFFFFF;

    Bytes toBytes() const;
    static std::optional<General> fromBytes(std::span<const std::uint8_t> bytes);
    bool operator==(const General &) const = default;
};

/// Page setup of new documents (52 bytes). Lengths in twips.
struct PageDimensions {
    static constexpr std::size_t size = 52;
    /// Index into the paper size table; -1 for a custom size.
    std::int32_t pageSizeIndex = 1;
    /// Short and long side of the paper (portrait).
    std::int32_t paperWidth = 11906;
    std::int32_t paperHeight = 16838;
    std::int32_t marginLeft = 1440;
    std::int32_t marginRight = 1440;
    std::int32_t marginTop = 1440;
    std::int32_t marginBottom = 1440;
    /// 1 portrait, 0 landscape.
    std::int32_t portrait = 1;
    std::int32_t rulerVisible = 1;

    Bytes toBytes() const;
    static std::optional<PageDimensions> fromBytes(std::span<const std::uint8_t> bytes);
    bool operator==(const PageDimensions &) const = default;
};

/// State of the file explorer pane (20 bytes).
struct ShellSortInfo {
    static constexpr std::size_t size = 20;
    std::int32_t sortColumn = 0;
    std::int32_t sortAscending = 1;
    /// Height in pixels of the row holding the file list.
    std::int32_t listHeight = 200;
    /// Stored, never applied.
    std::int32_t listMinHeight = 0;
    /// Two bits: 0 icons, 1 details, 2 small icons, 3 list.
    std::int32_t listViewStyle = 1;

    Bytes toBytes() const;
    static std::optional<ShellSortInfo> fromBytes(std::span<const std::uint8_t> bytes);
    bool operator==(const ShellSortInfo &) const = default;
};

/// Backup and auto-save (16 bytes).
struct BackupOption {
    static constexpr std::size_t size = 16;
    std::uint8_t alwaysBackup = 0;
    std::uint8_t uniqueFileName = 0;
    /// 0 unique number, 1 date and time stamp.
    std::int32_t backupNameFormat = 0;
    std::uint8_t autoSave = 1;
    /// 1 … 99.
    std::int32_t autoSaveMinutes = 5;

    Bytes toBytes() const;
    static std::optional<BackupOption> fromBytes(std::span<const std::uint8_t> bytes);
    /// Puts out-of-range values back to their defaults.
    void clamp();
    bool operator==(const BackupOption &) const = default;
};

/// The face given to converted TAM/TAB text unless the user picks another.
inline constexpr const char16_t *defaultUnicodeTamilFont = u"Noto Sans Tamil";

/// Editing preferences (88 bytes).
struct EditOption {
    static constexpr std::size_t size = 88;
    /// Only the low byte is significant.
    std::int32_t autoPulli = 1;
    /// 0 … 80.
    std::int32_t undoLevels = 40;
    /// 0 always ask, 1 convert automatically, 2 do not convert.
    std::int32_t tamTabConversion = 0;
    /// 0 … 9.
    std::int32_t dictionaryAccuracy = 4;
    /// 1 enhanced, 0 standard.
    std::int32_t enhancedEditing = 1;
    /// 0: look-ahead off.
    std::int32_t lookAheadMinLetters = 3;
    /// At most 31 units (a 64-byte NUL-terminated field).
    std::u16string defaultUnicodeFont = defaultUnicodeTamilFont;

    bool autoPulliOn() const { return (autoPulli & 0xFF) != 0; }

    Bytes toBytes() const;
    static std::optional<EditOption> fromBytes(std::span<const std::uint8_t> bytes);
    /// Puts an out-of-range `dictionaryAccuracy` back to its default.
    void clamp();
    bool operator==(const EditOption &) const = default;
};

} // namespace tarvellite

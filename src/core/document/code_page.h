#pragma once

// Windows code pages for the 8-bit text of RTF and ANSI plain-text files. Tables are built once
// per code page from ICU and shared; lookups are plain array reads.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tarvellite {

/// The ANSI code page of this program (Windows-1252).
inline constexpr int ansiCodePage = 1252;
/// Marker for the symbol character set (fcharset 2): bytes map to U+F000 + byte, as Windows
/// maps symbol fonts.
inline constexpr int symbolCodePage = 42;

/// The Windows code page of a font character set (\fcharset). Returns 0 for the default
/// character set (1) and for character sets this reader does not know, which means "the
/// document's code page".
int codePageForCharset(int charset);

/// A decoding table for one Windows code page.
class CodePage {
  public:
    /// The shared table of `codePage`, or nullptr when it is not supported. Mac code pages
    /// 10001, 10002, 10003 and 10008 are read through their Windows supersets 932, 950, 949
    /// and 936.
    static const CodePage *get(int codePage);

    int number() const { return number_; }
    bool isDoubleByte() const { return doubleByte_; }
    bool isLeadByte(std::uint8_t b) const { return doubleByte_ && lead_[b]; }
    /// A single byte; bytes that the code page leaves unassigned map to the same value.
    char16_t single(std::uint8_t b) const { return single_[b]; }
    /// A lead and trail byte of a double-byte code page; U+FFFD when the pair is invalid.
    char16_t pair(std::uint8_t lead, std::uint8_t trail) const;

    /// Decodes a whole byte string (a lead byte at the end becomes U+FFFD).
    std::u16string decode(std::span<const std::uint8_t> bytes) const;

    CodePage(int number, bool doubleByte) : number_(number), doubleByte_(doubleByte) {}

  private:
    friend struct CodePageBuilder;
    int number_;
    bool doubleByte_;
    std::array<char16_t, 256> single_{};
    std::array<bool, 256> lead_{};
    /// For double-byte code pages: 256 entries per lead byte, indexed lead * 256 + trail.
    std::vector<char16_t> pairs_;
};

/// Splits precomposed letters into base letter and combining marks (canonical decomposition),
/// as Windows does for ANSI text read "with composite characters".
std::u16string decomposeComposites(std::u16string_view text);

} // namespace tarvellite

#pragma once

// The in-memory rich-text model that every document reader fills and every writer walks.
//
// A document is a list of paragraphs; a paragraph is a paragraph format and a list of runs;
// a run is a character format and its text. Pictures are runs whose text is the single
// object-replacement character U+FFFC and which name an entry of the document's picture list.
//
// The model holds only what a QTextDocument can hold, so that the editing view can map it both
// ways without loss:
//   Paragraph            -> QTextBlock with QTextBlockFormat (alignment, margins, text indent,
//                           tab positions); numbered paragraphs join a QTextList
//   ParagraphFormat list -> QTextListFormat (style, number suffix, start, indent level)
//   Run                  -> a fragment with QTextCharFormat (family, point size, weight, italic,
//                           underline, strike-out, foreground, background)
//   picture run          -> QTextImageFormat naming a resource holding Picture::bytes
// Lengths are twips (1/1440 inch) throughout; a font size of 240 twips is 12 points.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvellite {

/// An RGB colour, 8 bits per channel.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb &) const = default;
};

/// The object-replacement character that stands for a picture in a run's text.
inline constexpr char16_t objectReplacementCharacter = u'\uFFFC';
/// A line break inside a paragraph (QTextDocument's own line separator).
inline constexpr char16_t lineSeparator = u'\u2028';

/// Character format of a run.
struct CharFormat {
    /// Font face name; empty means the viewer's default face.
    std::u16string faceName;
    /// Windows character set of the font (0 ANSI, 1 default, 2 symbol, 204 Cyrillic, ...).
    std::uint8_t charset = 0;
    /// Font size in twips (20 per point); the RTF default is 12 points.
    int sizeTwips = 240;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    /// Text colour; none means automatic (the system's window-text colour).
    std::optional<Rgb> textColor;
    /// Back (highlight) colour; none means no background.
    std::optional<Rgb> backColor;

    bool operator==(const CharFormat &) const = default;
};

enum class Alignment : std::uint8_t { Left, Center, Right, Justify };

enum class TabAlignment : std::uint8_t { Left, Center, Right, Decimal };

struct TabStop {
    int positionTwips = 0;
    TabAlignment alignment = TabAlignment::Left;
    bool operator==(const TabStop &) const = default;
};

/// Bullets and the seven numbering styles of the editing view.
enum class ListStyle : std::uint8_t {
    None,
    Bullet,
    Arabic,      ///< 1 2 3
    LowerLetter, ///< a b c
    UpperLetter, ///< A B C
    LowerRoman,  ///< i ii iii
    UpperRoman,  ///< I II III
};

/// `n` written in `style` without a suffix ("3", "c", "iii"); a bullet for `ListStyle::Bullet`
/// and nothing for `ListStyle::None`. Numbers that a style cannot write are written in digits.
std::u16string formatNumber(ListStyle style, int n);

/// How the number is set off: "1." "1)" "(1)" or a bare "1".
enum class NumberSuffix : std::uint8_t { Period, Parenthesis, Parentheses, Plain };

/// The most tab stops a paragraph keeps; further stops are dropped by the readers.
inline constexpr std::size_t maxTabStops = 32;
/// The longest font face name a character format keeps, in UTF-16 units.
inline constexpr std::size_t faceNameLimit = 31;

/// Paragraph format.
struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    /// Indent of every line from the start (left) margin, twips.
    int startIndentTwips = 0;
    /// Indent from the end (right) margin, twips.
    int rightIndentTwips = 0;
    /// Indent of the first line relative to the start indent, twips; negative for a hanging
    /// indent (the usual form of a bulleted or numbered paragraph).
    int firstLineIndentTwips = 0;
    /// Tab stops in ascending position, at most `maxTabStops`.
    std::vector<TabStop> tabStops;

    /// Bullets or numbering; `ListStyle::None` for an ordinary paragraph. Consecutive
    /// paragraphs with the same list style, suffix and start form one list.
    ListStyle listStyle = ListStyle::None;
    /// Period for bullets (readers set it so).
    NumberSuffix numberSuffix = NumberSuffix::Period;
    /// First number of the list (1 for "1.", "a.", "i.").
    int numberingStart = 1;
    /// Nesting level of the list, 0 to 8.
    int listLevel = 0;
    /// Least distance between the number and the text, twips (0: the viewer's default).
    int numberingTabTwips = 0;

    bool operator==(const ParagraphFormat &) const = default;
};

/// Stored encodings of a picture.
enum class PictureFormat : std::uint8_t {
    Png,
    Jpeg,
    Dib, ///< a device-independent bitmap: a BMP file without its 14-byte file header
    Emf,
    Wmf,
};

/// An embedded picture: its bytes exactly as stored, their format, and its sizes.
struct Picture {
    PictureFormat format = PictureFormat::Png;
    std::vector<std::uint8_t> bytes;
    /// Size of the picture itself in pixels (or metafile units); 0 when unknown.
    int pixelWidth = 0;
    int pixelHeight = 0;
    /// Displayed size, twips; 0 when unknown (the viewer then uses the natural size).
    int widthTwips = 0;
    int heightTwips = 0;
    /// For an object embedded from a file rather than a picture: the object's class ("Package")
    /// and its data exactly as stored; the picture is then what the object shows. Empty for a
    /// plain picture.
    std::string objectClass;
    std::vector<std::uint8_t> objectData;

    bool isObject() const { return !objectData.empty(); }
    bool operator==(const Picture &) const = default;
};

/// A stretch of text with one character format, or one picture.
struct Run {
    CharFormat format;
    /// The text: UTF-16, no paragraph breaks; U+2028 for a line break, U+0009 for a tab.
    /// For a picture, exactly one U+FFFC.
    std::u16string text;
    /// Index into RichDocument::pictures for a picture run, otherwise -1.
    int pictureIndex = -1;

    bool isPicture() const { return pictureIndex >= 0; }
    bool operator==(const Run &) const = default;
};

struct Paragraph {
    ParagraphFormat format;
    std::vector<Run> runs;

    bool operator==(const Paragraph &) const = default;
};

/// A whole document. Invariants kept by `normalize()` and by every reader: at least one
/// paragraph; no run with empty text; adjacent text runs have different formats; every
/// `pictureIndex` names an existing picture.
class RichDocument {
  public:
    RichDocument() : paragraphs(1) {}

    std::vector<Paragraph> paragraphs;
    std::vector<Picture> pictures;

    bool operator==(const RichDocument &) const = default;

    /// Restores the invariants: drops empty runs and pictures runs without a picture, merges
    /// adjacent text runs of equal format, keeps at least one paragraph.
    void normalize();

    /// Whether the document holds no text and no pictures.
    bool empty() const;

    /// The text with `paragraphBreak` between paragraphs (none after the last), line breaks as
    /// `lineBreak`, and pictures as U+FFFC unless `dropPictures`.
    std::u16string plainText(std::u16string_view paragraphBreak = u"\n",
                             std::u16string_view lineBreak = u"\n",
                             bool dropPictures = false) const;

    /// The label each paragraph's bullet or number shows ("1.", "iv)", "\u2022"), empty for
    /// paragraphs without one. A list is a run of consecutive list paragraphs; a number counts
    /// up from `numberingStart` while the paragraphs of its level keep style and suffix, and a
    /// paragraph of a lower level restarts the levels below it.
    std::vector<std::u16string> listLabels() const;

    /// A document of unformatted text: CR LF, CR, LF and U+2029 end paragraphs;
    /// vertical tab becomes a line break.
    static RichDocument fromPlainText(std::u16string_view text,
                                      const CharFormat &format = CharFormat{});
};

} // namespace tarvellite

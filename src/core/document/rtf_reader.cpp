// The RTF reader: one pass over the bytes with a stack of group states.
//
// Every byte is looked at a bounded number of times. Group states are small fixed-size
// records, so pushing a group allocates nothing once the stack has grown. Skipped groups are
// passed over by counting braces, without state. Numbers are parsed with a digit limit and
// saturate; `\binN` and `\ucN` skips are checked against the bytes that remain. What the input
// can make the reader allocate is proportional to its size and capped by RtfReadLimits.

#include "core/document/rtf_reader.h"

#include "core/document/code_page.h"
#include "core/document/legacy_fonts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace tarvellite {

namespace {

enum class Dest : std::uint8_t {
    Body,
    FontTable,
    ColorTable,
    Picture,
    ListTable,
    LevelText,
    ListOverrideTable,
    Pn,
    PnTextAfter,
    PnTextBefore,
    Upr,
    Shape,
    ShapeName,
    ObjectClass,
    ObjectData,
    Ignore,
};

// Control words the reader acts on.
enum class Kw : std::uint16_t {
    Unknown,
    // header
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    Ansicpg,
    Deff,
    Uc,
    U,
    Upr,
    Ud,
    // destinations read
    Fonttbl,
    Colortbl,
    Pict,
    Listtable,
    List,
    Listlevel,
    Leveltext,
    Listoverridetable,
    Listoverride,
    Pn,
    Pntxta,
    Pntxtb,
    Shppict,
    Fldrslt,
    Shp,
    Shpinst,
    Sn,
    Shprslt,
    Object,
    Objclass,
    Objdata,
    // destinations skipped
    SkipDest,
    // font table
    F,
    Fcharset,
    Cpg,
    // colour table
    Red,
    Green,
    Blue,
    // character
    Plain,
    B,
    I,
    Ul,
    Ulnone,
    UlOther,
    Strike,
    Striked,
    Fs,
    Cf,
    Cb,
    Highlight,
    Chcbpat,
    V,
    // paragraph
    Pard,
    Par,
    Sect,
    Line,
    Tab,
    Ql,
    Qc,
    Qr,
    Qj,
    Qd,
    Li,
    Ri,
    Fi,
    Lin,
    Rin,
    Tx,
    Tb,
    Tqr,
    Tqc,
    Tqdec,
    Intbl,
    Cell,
    Row,
    Nestcell,
    Nestrow,
    Ls,
    Ilvl,
    // lists
    Listid,
    Levelnfc,
    Levelnfcn,
    Levelstartat,
    Levelspace,
    Pnlvlblt,
    Pnlvlbody,
    Pnlvlcont,
    Pnlvl,
    Pndec,
    Pnucltr,
    Pnlcltr,
    Pnucrm,
    Pnlcrm,
    Pnstart,
    Pnsp,
    // pictures
    Pngblip,
    Jpegblip,
    Dibitmap,
    Wbitmap,
    Emfblip,
    Wmetafile,
    Macpict,
    Pmmetafile,
    Picw,
    Pich,
    Picwgoal,
    Pichgoal,
    Picscalex,
    Picscaley,
    Bin,
    // special characters
    Emdash,
    Endash,
    Emspace,
    Enspace,
    Qmspace,
    Bullet,
    Lquote,
    Rquote,
    Ldblquote,
    Rdblquote,
    Zwj,
    Zwnj,
    Ltrmark,
    Rtlmark,
    Zwbo,
    Zwnbo,
    Chftn,
    Ftnstart,
    Aftnstart,
    FtnStyle,
    AftnStyle,
    Page,
};

struct KwEntry {
    std::string_view name;
    Kw kw;
};

constexpr KwEntry keywordTable[] = {
    {"rtf", Kw::Rtf},
    {"urtf", Kw::Rtf},
    {"ansi", Kw::Ansi},
    {"mac", Kw::Mac},
    {"pc", Kw::Pc},
    {"pca", Kw::Pca},
    {"ansicpg", Kw::Ansicpg},
    {"deff", Kw::Deff},
    {"uc", Kw::Uc},
    {"u", Kw::U},
    {"upr", Kw::Upr},
    {"ud", Kw::Ud},
    {"fonttbl", Kw::Fonttbl},
    {"colortbl", Kw::Colortbl},
    {"pict", Kw::Pict},
    {"listtable", Kw::Listtable},
    {"list", Kw::List},
    {"listlevel", Kw::Listlevel},
    {"leveltext", Kw::Leveltext},
    {"listoverridetable", Kw::Listoverridetable},
    {"listoverride", Kw::Listoverride},
    {"pn", Kw::Pn},
    {"pntxta", Kw::Pntxta},
    {"pntxtb", Kw::Pntxtb},
    {"shppict", Kw::Shppict},
    {"nesttableprops", Kw::Shppict},
    {"fldrslt", Kw::Fldrslt},
    {"shp", Kw::Shp},
    {"shpinst", Kw::Shpinst},
    {"sn", Kw::Sn},
    {"shprslt", Kw::Shprslt},
    // Destinations whose content is never body text.
    {"stylesheet", Kw::SkipDest},
    {"info", Kw::SkipDest},
    {"header", Kw::SkipDest},
    {"headerl", Kw::SkipDest},
    {"headerr", Kw::SkipDest},
    {"headerf", Kw::SkipDest},
    {"footer", Kw::SkipDest},
    {"footerl", Kw::SkipDest},
    {"footerr", Kw::SkipDest},
    {"footerf", Kw::SkipDest},
    {"footnote", Kw::SkipDest},
    {"annotation", Kw::SkipDest},
    {"atnid", Kw::SkipDest},
    {"atnauthor", Kw::SkipDest},
    {"atndate", Kw::SkipDest},
    {"atnref", Kw::SkipDest},
    {"atnicn", Kw::SkipDest},
    {"ftnsep", Kw::SkipDest},
    {"ftnsepc", Kw::SkipDest},
    {"ftncn", Kw::SkipDest},
    {"aftnsep", Kw::SkipDest},
    {"aftnsepc", Kw::SkipDest},
    {"aftncn", Kw::SkipDest},
    {"fldinst", Kw::SkipDest},
    {"pntext", Kw::SkipDest},
    {"listtext", Kw::SkipDest},
    {"nonshppict", Kw::SkipDest},
    {"nonesttables", Kw::SkipDest},
    {"xe", Kw::SkipDest},
    {"tc", Kw::SkipDest},
    {"tcn", Kw::SkipDest},
    {"txe", Kw::SkipDest},
    {"rxe", Kw::SkipDest},
    {"object", Kw::Object},
    {"objdata", Kw::Objdata},
    {"objclass", Kw::Objclass},
    {"objname", Kw::SkipDest},
    {"filetbl", Kw::SkipDest},
    {"revtbl", Kw::SkipDest},
    {"rsidtbl", Kw::SkipDest},
    {"generator", Kw::SkipDest},
    {"template", Kw::SkipDest},
    {"docvar", Kw::SkipDest},
    {"falt", Kw::SkipDest},
    {"panose", Kw::SkipDest},
    {"fname", Kw::SkipDest},
    {"bkmkstart", Kw::SkipDest},
    {"bkmkend", Kw::SkipDest},
    {"datafield", Kw::SkipDest},
    {"formfield", Kw::SkipDest},
    {"do", Kw::SkipDest},
    {"comment", Kw::SkipDest},
    {"author", Kw::SkipDest},
    {"title", Kw::SkipDest},
    {"subject", Kw::SkipDest},
    {"keywords", Kw::SkipDest},
    {"operator", Kw::SkipDest},
    {"doccomm", Kw::SkipDest},
    {"company", Kw::SkipDest},
    {"pnseclvl", Kw::SkipDest},
    {"themedata", Kw::SkipDest},
    {"colorschememapping", Kw::SkipDest},
    {"datastore", Kw::SkipDest},
    {"latentstyles", Kw::SkipDest},
    {"xmlnstbl", Kw::SkipDest},
    {"pgdsctbl", Kw::SkipDest},
    {"listpicture", Kw::SkipDest},
    {"protusertbl", Kw::SkipDest},
    {"mmathPr", Kw::SkipDest},
    {"userprops", Kw::SkipDest},
    {"wgrffmtfilter", Kw::SkipDest},
    {"blipuid", Kw::SkipDest},
    {"picprop", Kw::SkipDest},
    {"fontemb", Kw::SkipDest},
    {"fontfile", Kw::SkipDest},
    {"private", Kw::SkipDest},
    {"background", Kw::SkipDest},
    {"listname", Kw::SkipDest},
    {"levelnumbers", Kw::SkipDest},
    // font table
    {"f", Kw::F},
    {"fcharset", Kw::Fcharset},
    {"cpg", Kw::Cpg},
    {"red", Kw::Red},
    {"green", Kw::Green},
    {"blue", Kw::Blue},
    // character
    {"plain", Kw::Plain},
    {"b", Kw::B},
    {"i", Kw::I},
    {"ul", Kw::Ul},
    {"ulnone", Kw::Ulnone},
    {"uld", Kw::UlOther},
    {"uldash", Kw::UlOther},
    {"uldashd", Kw::UlOther},
    {"uldashdd", Kw::UlOther},
    {"uldb", Kw::UlOther},
    {"ulth", Kw::UlOther},
    {"ulw", Kw::UlOther},
    {"ulwave", Kw::UlOther},
    {"strike", Kw::Strike},
    {"striked", Kw::Striked},
    {"fs", Kw::Fs},
    {"cf", Kw::Cf},
    {"cb", Kw::Cb},
    {"highlight", Kw::Highlight},
    {"chcbpat", Kw::Chcbpat},
    {"v", Kw::V},
    // paragraph
    {"pard", Kw::Pard},
    {"par", Kw::Par},
    {"sect", Kw::Sect},
    {"line", Kw::Line},
    {"tab", Kw::Tab},
    {"ql", Kw::Ql},
    {"qc", Kw::Qc},
    {"qr", Kw::Qr},
    {"qj", Kw::Qj},
    {"qd", Kw::Qd},
    {"li", Kw::Li},
    {"ri", Kw::Ri},
    {"fi", Kw::Fi},
    {"lin", Kw::Lin},
    {"rin", Kw::Rin},
    {"tx", Kw::Tx},
    {"tb", Kw::Tb},
    {"tqr", Kw::Tqr},
    {"tqc", Kw::Tqc},
    {"tqdec", Kw::Tqdec},
    {"intbl", Kw::Intbl},
    {"cell", Kw::Cell},
    {"row", Kw::Row},
    {"nestcell", Kw::Nestcell},
    {"nestrow", Kw::Nestrow},
    {"ls", Kw::Ls},
    {"ilvl", Kw::Ilvl},
    // lists
    {"listid", Kw::Listid},
    {"levelnfc", Kw::Levelnfc},
    {"levelnfcn", Kw::Levelnfcn},
    {"levelstartat", Kw::Levelstartat},
    {"levelspace", Kw::Levelspace},
    {"pnlvlblt", Kw::Pnlvlblt},
    {"pnlvlbody", Kw::Pnlvlbody},
    {"pnlvlcont", Kw::Pnlvlcont},
    {"pnlvl", Kw::Pnlvl},
    {"pndec", Kw::Pndec},
    {"pnucltr", Kw::Pnucltr},
    {"pnlcltr", Kw::Pnlcltr},
    {"pnucrm", Kw::Pnucrm},
    {"pnlcrm", Kw::Pnlcrm},
    {"pnstart", Kw::Pnstart},
    {"pnsp", Kw::Pnsp},
    // pictures
    {"pngblip", Kw::Pngblip},
    {"jpegblip", Kw::Jpegblip},
    {"dibitmap", Kw::Dibitmap},
    {"wbitmap", Kw::Wbitmap},
    {"emfblip", Kw::Emfblip},
    {"wmetafile", Kw::Wmetafile},
    {"macpict", Kw::Macpict},
    {"pmmetafile", Kw::Pmmetafile},
    {"picw", Kw::Picw},
    {"pich", Kw::Pich},
    {"picwgoal", Kw::Picwgoal},
    {"pichgoal", Kw::Pichgoal},
    {"picscalex", Kw::Picscalex},
    {"picscaley", Kw::Picscaley},
    {"bin", Kw::Bin},
    // special characters
    {"emdash", Kw::Emdash},
    {"endash", Kw::Endash},
    {"emspace", Kw::Emspace},
    {"enspace", Kw::Enspace},
    {"qmspace", Kw::Qmspace},
    {"bullet", Kw::Bullet},
    {"lquote", Kw::Lquote},
    {"rquote", Kw::Rquote},
    {"ldblquote", Kw::Ldblquote},
    {"rdblquote", Kw::Rdblquote},
    {"zwj", Kw::Zwj},
    {"zwnj", Kw::Zwnj},
    {"ltrmark", Kw::Ltrmark},
    {"rtlmark", Kw::Rtlmark},
    {"zwbo", Kw::Zwbo},
    {"zwnbo", Kw::Zwnbo},
    {"chftn", Kw::Chftn},
    {"ftnstart", Kw::Ftnstart},
    {"aftnstart", Kw::Aftnstart},
    {"ftnnar", Kw::FtnStyle},
    {"ftnnalc", Kw::FtnStyle},
    {"ftnnauc", Kw::FtnStyle},
    {"ftnnrlc", Kw::FtnStyle},
    {"ftnnruc", Kw::FtnStyle},
    {"aftnnar", Kw::AftnStyle},
    {"aftnnalc", Kw::AftnStyle},
    {"aftnnauc", Kw::AftnStyle},
    {"aftnnrlc", Kw::AftnStyle},
    {"aftnnruc", Kw::AftnStyle},
    {"page", Kw::Page},
};

// Control words by name: open addressing over a power-of-two table with a short hash, so
// that the lookup done for every control word of the input costs a few byte operations.
struct KeywordMap {
    static constexpr std::size_t slotCount = 1024;
    std::array<const KwEntry *, slotCount> slots{};

    // The first eight letters and the last eight, packed and mixed by one multiplication:
    // no chain of dependent multiplications per letter.
    static std::size_t hash(std::string_view name) {
        const std::size_t n = name.size();
        std::uint64_t head = 0, tail = 0;
        for (std::size_t i = 0; i < n && i < 8; ++i)
            head |= std::uint64_t(static_cast<std::uint8_t>(name[i])) << (8 * i);
        for (std::size_t i = n > 8 ? n - 8 : n; i < n; ++i)
            tail = (tail << 8) | static_cast<std::uint8_t>(name[i]);
        const std::uint64_t h = (head ^ (tail * 0x9E3779B97F4A7C15ull) ^ n) * 0xD6E8FEB86659FD93ull;
        return static_cast<std::size_t>(h >> 54) & (slotCount - 1);
    }
    KeywordMap() {
        static_assert(std::size(keywordTable) * 3 < slotCount);
        for (const KwEntry &e : keywordTable) {
            std::size_t i = hash(e.name);
            while (slots[i])
                i = (i + 1) & (slotCount - 1);
            slots[i] = &e;
        }
    }
    Kw find(std::string_view name) const {
        for (std::size_t i = hash(name); const KwEntry *e = slots[i]; i = (i + 1) & (slotCount - 1))
            if (e->name.size() == name.size() &&
                std::equal(name.begin(), name.end(), e->name.begin()))
                return e->kw;
        return Kw::Unknown;
    }
};

const KeywordMap &keywords() {
    static const KeywordMap k;
    return k;
}

constexpr std::uint8_t fBold = 1, fItalic = 2, fUnderline = 4, fStrike = 8, fHidden = 16;

struct CharProps {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    std::uint8_t flags = 0;
    int fg = -1;
    int bg = -1;
    bool operator==(const CharProps &) const = default;
};

struct ParaProps {
    Alignment align = Alignment::Left;
    int li = 0, ri = 0, fi = 0;
    std::uint8_t tabCount = 0;
    TabAlignment nextTabAlign = TabAlignment::Left;
    std::array<TabStop, maxTabStops> tabs{};
    int ls = 0, ilvl = 0;
    ListStyle pnStyle = ListStyle::None;
    NumberSuffix pnSuffix = NumberSuffix::Period;
    int pnStart = 1, pnTab = 0;
    bool pnSet = false;
    bool pnParenBefore = false;
};

struct State {
    Dest dest = Dest::Body;
    Dest outerDest = Dest::Body; // the destination an \upr group returns to for its \ud part
    int uc = 1;
    CharProps chr;
    ParaProps para;
};

struct FontDef {
    std::u16string name;
    int charset = -1;
    int codePage = 0;
    // The code page of the character set, looked up when text in the font is first read:
    // font tables name many fonts whose double-byte tables would be costly to build.
    int charsetPage = 0;
    const CodePage *decoder = nullptr;
    bool legacy = false;
};

struct ListLevelDef {
    ListStyle style = ListStyle::Arabic;
    NumberSuffix suffix = NumberSuffix::Period;
    int start = 1;
    int space = 0;
};

struct ListDef {
    int id = 0;
    std::vector<ListLevelDef> levels;
};

struct PictureProps {
    std::optional<PictureFormat> format;
    bool unsupported = false;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
};

// The number style of the text around a list number.
NumberSuffix suffixOf(std::u16string_view before, std::u16string_view after) {
    if (after.find(u')') != std::u16string_view::npos)
        return before.find(u'(') != std::u16string_view::npos ? NumberSuffix::Parentheses
                                                              : NumberSuffix::Parenthesis;
    if (after.find(u'.') != std::u16string_view::npos)
        return NumberSuffix::Period;
    return NumberSuffix::Plain;
}

int hexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Plain text bytes of the fast path: printable ASCII other than the three RTF specials.
struct PlainTable {
    std::array<bool, 256> plain{};
    PlainTable() {
        for (int c = 0x20; c < 0x7F; ++c)
            plain[c] = true;
        plain['\\'] = plain['{'] = plain['}'] = false;
    }
};
const PlainTable plainBytes;

class Reader {
  public:
    Reader(std::span<const std::uint8_t> in, const RtfReadLimits &limits,
           const ReadProgress &progress)
        : p_(in.data()), begin_(in.data()), end_(in.data() + in.size()), limits_(limits),
          progress_(progress) {}

    Result<ReadOutcome> run();

  private:
    std::size_t offset() const { return static_cast<std::size_t>(p_ - begin_); }
    State &top() { return stack_.back(); }
    void warn(std::string message);
    Error fail(std::string message) { return Error{std::move(message), offset()}; }

    bool pushGroup();
    void popGroup();
    void skipGroup();
    void controlWord(std::string_view name, bool hasParam, int param);
    bool bodyUnicodeEscape();
    void controlSymbol(std::uint8_t c);
    void destination(Dest d);

    // Text.
    void textByte(std::uint8_t b);
    void textUnit(char16_t u);
    void bodyUnit(char16_t u);
    void flushLead();
    const CodePage *currentDecoder();
    const FontDef *fontFor(int number) const;
    void ensureRunFormat();
    CharFormat resolve(const CharProps &c) const;
    void flushRun();
    bool countRun();
    bool endParagraph(bool isRowEnd);
    void cellEnd();

    // Tables of the header.
    void commitFontName();
    void finishPicture();
    void finishObject();
    void finishLevelText();
    ListLevelDef *currentLevel();

    const std::uint8_t *p_;
    const std::uint8_t *begin_;
    const std::uint8_t *end_;
    RtfReadLimits limits_;
    const ReadProgress &progress_;
    static constexpr std::size_t progressStep = 1 << 20;
    const std::uint8_t *nextProgress_ = nullptr;
    std::vector<State> stack_;
    std::vector<ReadWarning> warnings_;
    std::optional<Error> fatal_;
    bool done_ = false;
    bool starPending_ = false;
    std::size_t skipCount_ = 0;
    std::uint8_t pendingLead_ = 0;
    const CodePage *leadDecoder_ = nullptr;

    int docCodePage_ = ansiCodePage;
    int deff_ = 0;
    std::vector<FontDef> fonts_;
    std::unordered_map<int, std::size_t> fontByNumber_;
    int definingFont_ = -1;
    std::string fontNameBytes_;
    std::u16string fontNameUnits_;

    std::vector<std::optional<Rgb>> colors_;
    int red_ = -1, green_ = -1, blue_ = -1;

    std::vector<ListDef> lists_;
    std::unordered_map<int, int> listIdByLs_;
    int overrideListId_ = 0;
    std::size_t listDepth_ = 0, levelDepth_ = 0;
    std::u16string levelText_;
    int levelNfc_ = -1;

    std::size_t pictDepth_ = 0;
    PictureProps pict_;
    std::vector<std::uint8_t> pictBytes_;
    int pictNibble_ = -1;
    bool warnedPictures_ = false;
    // Shapes: the property name being read ("pib" names the shape's picture), whether the
    // picture being read is a shape's, and whether the current shape's picture was kept (its
    // \shprslt copy is then passed over).
    std::string shapeName_;
    bool pictInShape_ = false;
    bool shapePictureRead_ = false;
    // An embedded object: the depth of its group, its class and data, and the picture of it
    // (its result) that the data goes with.
    std::size_t objectDepth_ = 0;
    std::string objectClass_;
    std::vector<std::uint8_t> objectData_;
    int objectNibble_ = -1;
    int objectPicture_ = -1;

    std::u16string pnText_;

    // The document under construction.
    RichDocument doc_;
    Paragraph para_;
    std::u16string runText_;
    CharProps runProps_;
    bool runPropsValid_ = false;
    std::size_t runCount_ = 0;
    std::size_t cellTabAt_ = std::u16string::npos; // where the last \cell tab is, in runText_
    bool hiddenWarned_ = false;
    // Footnotes and endnotes are numbered apart, each in its own style.
    struct NoteNumbering {
        int next = 1;
        ListStyle style = ListStyle::Arabic;
    };
    NoteNumbering footnotes_;
    NoteNumbering endnotes_{1, ListStyle::LowerRoman};
    bool nextNoteIsEndnote() const;

    const CodePage *cachedDecoder_ = nullptr;
    int cachedDecoderFont_ = -2;
};

void Reader::warn(std::string message) {
    for (const ReadWarning &w : warnings_)
        if (w.message == message)
            return;
    if (warnings_.size() < 100)
        warnings_.push_back(ReadWarning{std::move(message), offset()});
}

const FontDef *Reader::fontFor(int number) const {
    const auto it = fontByNumber_.find(number < 0 ? deff_ : number);
    return it == fontByNumber_.end() ? nullptr : &fonts_[it->second];
}

const CodePage *Reader::currentDecoder() {
    const int font = top().dest == Dest::FontTable ? definingFont_ : top().chr.font;
    if (top().dest == Dest::FontTable || font != cachedDecoderFont_) {
        const CodePage *d = nullptr;
        if (FontDef *f = const_cast<FontDef *>(fontFor(font))) {
            if (!f->decoder && !f->codePage && f->charsetPage) {
                f->decoder = CodePage::get(f->charsetPage);
                f->charsetPage = 0;
            }
            if (f->legacy)
                d = CodePage::get(ansiCodePage);
            else if (f->decoder)
                d = f->decoder;
            else if (f->codePage)
                d = CodePage::get(f->codePage);
        }
        if (!d)
            d = CodePage::get(docCodePage_);
        if (!d)
            d = CodePage::get(ansiCodePage);
        if (top().dest == Dest::FontTable)
            return d->number() == symbolCodePage ? CodePage::get(ansiCodePage) : d;
        cachedDecoder_ = d;
        cachedDecoderFont_ = font;
    }
    return cachedDecoder_;
}

// A reference mark is followed by its note's group; an endnote's group starts with \ftnalt.
bool Reader::nextNoteIsEndnote() const {
    const std::string_view ahead(reinterpret_cast<const char *>(p_),
                                 std::min<std::size_t>(256, static_cast<std::size_t>(end_ - p_)));
    const std::size_t note = ahead.find("\\footnote");
    if (note == std::string_view::npos)
        return false;
    std::size_t i = note + 9;
    while (i < ahead.size() && (ahead[i] == ' ' || ahead[i] == '\r' || ahead[i] == '\n'))
        ++i;
    return ahead.substr(i).starts_with("\\ftnalt");
}

void Reader::flushLead() {
    if (pendingLead_) {
        pendingLead_ = 0;
        textUnit(0xFFFD);
    }
}

void Reader::textByte(std::uint8_t b) {
    const Dest d = top().dest;
    if (d == Dest::LevelText || d == Dest::PnTextAfter || d == Dest::PnTextBefore) {
        textUnit(b);
        return;
    }
    if (d == Dest::ShapeName) {
        if (shapeName_.size() < 32)
            shapeName_.push_back(static_cast<char>(b));
        return;
    }
    if (d == Dest::FontTable && b == ';') {
        flushLead();
        commitFontName();
        return;
    }
    if (d == Dest::FontTable && b >= 0x20 && b < 0x7F && !pendingLead_) {
        // Printable ASCII is itself in every code page read here: the name's table is not
        // needed for it.
        textUnit(b);
        return;
    }
    if (d != Dest::Body && d != Dest::FontTable)
        return;
    if (pendingLead_) {
        const std::uint8_t lead = pendingLead_;
        pendingLead_ = 0;
        const char16_t u = leadDecoder_->pair(lead, b);
        if (u != 0xFFFD) {
            textUnit(u);
            return;
        }
        textUnit(0xFFFD);
    }
    const CodePage *cp = currentDecoder();
    if (cp->isLeadByte(b)) {
        pendingLead_ = b;
        leadDecoder_ = cp;
        return;
    }
    textUnit(cp->single(b));
}

void Reader::textUnit(char16_t u) {
    switch (top().dest) {
    case Dest::Body: bodyUnit(u); break;
    case Dest::FontTable: fontNameUnits_.push_back(u); break;
    case Dest::LevelText: levelText_.push_back(u); break;
    case Dest::PnTextAfter:
    case Dest::PnTextBefore: pnText_.push_back(u); break;
    default: break;
    }
}

void Reader::ensureRunFormat() {
    const CharProps &c = top().chr;
    if (runPropsValid_ && c == runProps_)
        return;
    flushRun();
    runProps_ = c;
    runPropsValid_ = true;
}

void Reader::bodyUnit(char16_t u) {
    if ((top().chr.flags & fHidden) && !hiddenWarned_) {
        hiddenWarned_ = true;
        warn("hidden text is kept as ordinary text");
    }
    ensureRunFormat();
    runText_.push_back(u);
}

CharFormat Reader::resolve(const CharProps &c) const {
    CharFormat f;
    if (const FontDef *font = fontFor(c.font)) {
        f.faceName = font->name;
        f.charset = static_cast<std::uint8_t>(font->charset < 0 ? 0 : font->charset);
    }
    f.sizeTwips = c.halfPoints * 10;
    f.bold = c.flags & fBold;
    f.italic = c.flags & fItalic;
    f.underline = c.flags & fUnderline;
    f.strikeOut = c.flags & fStrike;
    const auto color = [this](int i) -> std::optional<Rgb> {
        if (i < 0 || static_cast<std::size_t>(i) >= colors_.size())
            return std::nullopt;
        return colors_[static_cast<std::size_t>(i)];
    };
    f.textColor = color(c.fg);
    f.backColor = color(c.bg);
    return f;
}

bool Reader::countRun() {
    if (++runCount_ <= limits_.maxRuns)
        return true;
    if (!fatal_)
        fatal_ = fail("the document has more than " + std::to_string(limits_.maxRuns) +
                      " differently formatted runs");
    return false;
}

void Reader::flushRun() {
    if (runText_.empty())
        return;
    CharFormat format = resolve(runProps_);
    if (!para_.runs.empty() && !para_.runs.back().isPicture() &&
        para_.runs.back().format == format) {
        para_.runs.back().text += runText_;
    } else if (countRun()) {
        // A copy of exactly the text's size; the buffer keeps its capacity for the next run.
        para_.runs.push_back(Run{std::move(format), runText_, -1});
    }
    runText_.clear();
}

bool Reader::endParagraph(bool isRowEnd) {
    flushLead();
    if (isRowEnd && cellTabAt_ != std::u16string::npos && cellTabAt_ + 1 == runText_.size())
        runText_.pop_back();
    cellTabAt_ = std::u16string::npos;
    flushRun();
    runPropsValid_ = false;
    const ParaProps &pp = top().para;
    ParagraphFormat &f = para_.format;
    f.alignment = pp.align;
    f.startIndentTwips = pp.li;
    f.rightIndentTwips = pp.ri;
    f.firstLineIndentTwips = pp.fi;
    f.tabStops.assign(pp.tabs.begin(), pp.tabs.begin() + pp.tabCount);
    std::sort(f.tabStops.begin(), f.tabStops.end(),
              [](const TabStop &a, const TabStop &b) { return a.positionTwips < b.positionTwips; });
    bool listed = false;
    if (pp.ls > 0) {
        const auto it = listIdByLs_.find(pp.ls);
        const int id = it == listIdByLs_.end() ? -1 : it->second;
        for (const ListDef &l : lists_) {
            if (l.id != id || l.levels.empty())
                continue;
            const int level = std::clamp(pp.ilvl, 0, 8);
            const ListLevelDef &lv = l.levels[std::min<std::size_t>(static_cast<std::size_t>(level),
                                                                    l.levels.size() - 1)];
            if (lv.style != ListStyle::None) {
                f.listStyle = lv.style;
                f.numberSuffix = lv.suffix;
                f.numberingStart = lv.start;
                f.listLevel = level;
                f.numberingTabTwips = lv.space;
                listed = true;
            }
            break;
        }
    }
    if (!listed && pp.pnSet && pp.pnStyle != ListStyle::None) {
        f.listStyle = pp.pnStyle;
        f.numberSuffix = pp.pnSuffix;
        f.numberingStart = pp.pnStart;
        f.listLevel = 0;
        f.numberingTabTwips = pp.pnTab;
    }
    if (f.listStyle == ListStyle::Bullet)
        f.numberSuffix = NumberSuffix::Period; // a bullet has no suffix; keep one value
    if (doc_.paragraphs.size() >= limits_.maxParagraphs) {
        if (!fatal_)
            fatal_ = fail("the document has more than " + std::to_string(limits_.maxParagraphs) +
                          " paragraphs");
        return false;
    }
    // The runs move into a vector of exactly their number; the working vector keeps its
    // capacity for the next paragraph.
    Paragraph &done = doc_.paragraphs.emplace_back();
    done.format = std::move(para_.format);
    done.runs.reserve(para_.runs.size());
    std::move(para_.runs.begin(), para_.runs.end(), std::back_inserter(done.runs));
    para_.runs.clear();
    para_.format = ParagraphFormat{};
    return true;
}

void Reader::cellEnd() {
    flushLead();
    if (top().dest != Dest::Body)
        return;
    ensureRunFormat();
    runText_.push_back(u'\t');
    cellTabAt_ = runText_.size() - 1;
}

void Reader::commitFontName() {
    if (definingFont_ < 0)
        return;
    const auto it = fontByNumber_.find(definingFont_);
    if (it == fontByNumber_.end())
        return;
    FontDef &f = fonts_[it->second];
    std::u16string name = std::move(fontNameUnits_);
    fontNameUnits_.clear();
    while (!name.empty() && (name.back() == u' ' || name.back() == u'\t'))
        name.pop_back();
    std::size_t lead = 0;
    while (lead < name.size() && name[lead] == u' ')
        ++lead;
    name.erase(0, lead);
    if (name.size() > 256) {
        // Cut, then trim again: a name that ends in a space would not read back the same.
        name.resize(256);
        while (!name.empty() && (name.back() == u' ' || name.back() == u'\t'))
            name.pop_back();
    }
    if (f.name.empty())
        f.name = std::move(name);
    f.legacy = legacyKindOfFace(f.name) != 0;
    cachedDecoderFont_ = -2;
}

ListLevelDef *Reader::currentLevel() {
    if (lists_.empty() || lists_.back().levels.empty())
        return nullptr;
    return &lists_.back().levels.back();
}

void Reader::finishLevelText() {
    ListLevelDef *lv = currentLevel();
    if (!lv)
        return;
    // The first unit is the length; placeholders for level numbers are units 0 to 8.
    std::u16string_view t = levelText_;
    if (!t.empty()) {
        const std::size_t len = std::min<std::size_t>(t[0], t.size() - 1);
        t = t.substr(1, len);
    }
    const std::size_t last = t.find_last_of(std::u16string_view(u"\0\1\2\3\4\5\6\7\10", 9));
    if (last == std::u16string_view::npos)
        return; // no number in the text: a bullet or a fixed label
    const std::size_t first = t.find_first_of(std::u16string_view(u"\0\1\2\3\4\5\6\7\10", 9));
    lv->suffix = suffixOf(t.substr(0, first), t.substr(last + 1));
}

void Reader::finishObject() {
    objectDepth_ = 0;
    if (objectPicture_ >= 0 && !objectData_.empty()) {
        Picture &picture = doc_.pictures[static_cast<std::size_t>(objectPicture_)];
        picture.objectClass = std::move(objectClass_);
        picture.objectData = std::move(objectData_);
    } else if (!objectData_.empty()) {
        warn("an embedded object without a picture of it was left out");
    }
    objectClass_.clear();
    objectData_.clear();
    objectPicture_ = -1;
}

void Reader::finishPicture() {
    const bool inShape = pictInShape_;
    pictInShape_ = false;
    if (pictNibble_ >= 0)
        pictNibble_ = -1;
    if (!pict_.format || pictBytes_.empty()) {
        if (pict_.unsupported || (!pict_.format && !pictBytes_.empty()))
            warn("a picture in a format this reader does not keep was left out");
        pictBytes_.clear();
        return;
    }
    if (doc_.pictures.size() >= limits_.maxPictures) {
        if (!warnedPictures_)
            warn("more than " + std::to_string(limits_.maxPictures) +
                 " pictures; the rest were left out");
        warnedPictures_ = true;
        pictBytes_.clear();
        return;
    }
    Picture pic;
    pic.format = *pict_.format;
    pic.bytes = std::move(pictBytes_);
    pictBytes_.clear();
    pic.pixelWidth = pict_.picw;
    pic.pixelHeight = pict_.pich;
    const auto scaled = [](int goal, int scale) {
        const long long v = static_cast<long long>(goal) * std::clamp(scale, 1, 10000) / 100;
        return static_cast<int>(std::clamp<long long>(v, 0, 0x7FFFFFFF));
    };
    pic.widthTwips = scaled(pict_.goalw, pict_.scalex);
    pic.heightTwips = scaled(pict_.goalh, pict_.scaley);
    doc_.pictures.push_back(std::move(pic));
    if (objectDepth_ != 0 && objectPicture_ < 0)
        objectPicture_ = static_cast<int>(doc_.pictures.size() - 1);
    if (inShape) {
        shapePictureRead_ = true;
        warn("floating pictures were placed in the text at their anchors, at their size");
    }
    flushRun();
    runPropsValid_ = false;
    if (countRun())
        para_.runs.push_back(Run{resolve(top().chr), std::u16string(1, objectReplacementCharacter),
                                 static_cast<int>(doc_.pictures.size() - 1)});
}

bool Reader::pushGroup() {
    flushLead();
    skipCount_ = 0;
    if (stack_.size() >= limits_.maxGroupDepth) {
        warn("groups nested deeper than " + std::to_string(limits_.maxGroupDepth) +
             " levels were left out");
        stack_.push_back(top());
        skipGroup();
        return false;
    }
    stack_.push_back(top());
    return true;
}

void Reader::popGroup() {
    flushLead();
    skipCount_ = 0;
    starPending_ = false;
    if (stack_.size() <= 2) {
        done_ = true; // the brace that closes the document
        return;
    }
    const State popped = stack_.back();
    const std::size_t depth = stack_.size();
    stack_.pop_back();
    State &parent = stack_.back();
    switch (popped.dest) {
    case Dest::Picture:
        if (depth == pictDepth_) {
            finishPicture();
            pictDepth_ = 0;
        }
        break;
    case Dest::FontTable:
        if (parent.dest != Dest::FontTable) {
            commitFontName();
            definingFont_ = -1;
        }
        break;
    case Dest::LevelText:
        if (parent.dest != Dest::LevelText)
            finishLevelText();
        break;
    case Dest::PnTextAfter:
        if (parent.dest == Dest::Pn)
            parent.para.pnSuffix = suffixOf(parent.para.pnParenBefore ? u"(" : u"", pnText_);
        break;
    case Dest::PnTextBefore:
        if (parent.dest == Dest::Pn) {
            parent.para.pnParenBefore = pnText_.find(u'(') != std::u16string::npos;
            if (parent.para.pnParenBefore && parent.para.pnSuffix == NumberSuffix::Parenthesis)
                parent.para.pnSuffix = NumberSuffix::Parentheses;
        }
        break;
    case Dest::Pn:
        if (parent.dest != Dest::Pn) {
            parent.para.pnSet = popped.para.pnSet;
            parent.para.pnStyle = popped.para.pnStyle;
            parent.para.pnSuffix = popped.para.pnSuffix;
            parent.para.pnStart = popped.para.pnStart;
            parent.para.pnTab = popped.para.pnTab;
        }
        break;
    default: break;
    }
    if (depth == objectDepth_)
        finishObject();
    if (depth == listDepth_)
        listDepth_ = 0;
    if (depth == levelDepth_) {
        levelDepth_ = 0;
        if (ListLevelDef *lv = currentLevel(); lv && levelNfc_ >= 0) {
            switch (levelNfc_) {
            case 0: lv->style = ListStyle::Arabic; break;
            case 1: lv->style = ListStyle::UpperRoman; break;
            case 2: lv->style = ListStyle::LowerRoman; break;
            case 3: lv->style = ListStyle::UpperLetter; break;
            case 4: lv->style = ListStyle::LowerLetter; break;
            case 23: lv->style = ListStyle::Bullet; break;
            case 255: lv->style = ListStyle::None; break;
            default: lv->style = ListStyle::Arabic; break;
            }
        }
        levelNfc_ = -1;
    }
}

// Passes over the rest of the current group (whose '{' has been read and pushed), braces
// counted, escapes and \bin data stepped over, then pops it.
void Reader::skipGroup() {
    int depth = 1;
    while (p_ < end_) {
        const std::uint8_t c = *p_;
        if (c == '{') {
            ++depth;
            ++p_;
        } else if (c == '}') {
            ++p_;
            if (--depth == 0) {
                // Skipping the document group itself ends the document.
                if (stack_.size() <= 2)
                    done_ = true;
                else
                    stack_.pop_back();
                return;
            }
        } else if (c == '\\') {
            ++p_;
            if (p_ >= end_)
                break;
            if (*p_ == 'b' && end_ - p_ > 3 && p_[1] == 'i' && p_[2] == 'n' &&
                (p_[3] == '-' || (p_[3] >= '0' && p_[3] <= '9'))) {
                p_ += 3;
                bool negative = false;
                if (*p_ == '-') {
                    negative = true;
                    ++p_;
                }
                std::uint64_t n = 0;
                int digits = 0;
                while (p_ < end_ && *p_ >= '0' && *p_ <= '9' && digits < 12) {
                    n = n * 10 + (*p_ - '0');
                    ++p_;
                    ++digits;
                }
                if (p_ < end_ && *p_ == ' ')
                    ++p_;
                if (!negative) {
                    const auto left = static_cast<std::uint64_t>(end_ - p_);
                    p_ += std::min(n, left);
                }
            } else {
                ++p_;
            }
        } else {
            ++p_;
            while (p_ < end_ && *p_ != '{' && *p_ != '}' && *p_ != '\\')
                ++p_;
        }
    }
    // The input ended inside the skipped group; leave it on the stack for the end-of-input
    // handling.
}

void Reader::destination(Dest d) {
    State &s = top();
    s.dest = d;
}

void Reader::controlSymbol(std::uint8_t c) {
    switch (c) {
    case '\'': {
        if (end_ - p_ < 2) {
            p_ = end_;
            return;
        }
        const int hi = hexValue(p_[0]), lo = hexValue(p_[1]);
        if (hi < 0 || lo < 0) {
            warn("a malformed \\' escape was ignored");
            return;
        }
        p_ += 2;
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        textByte(static_cast<std::uint8_t>(hi * 16 + lo));
        return;
    }
    case '*': starPending_ = true; return;
    default: break;
    }
    if (skipCount_ > 0) {
        --skipCount_;
        return;
    }
    flushLead();
    switch (c) {
    case '\\':
    case '{':
    case '}': textUnit(c); break;
    case '~': textUnit(0x00A0); break;
    case '-': textUnit(0x00AD); break;
    case '_': textUnit(0x2011); break;
    case '\r':
    case '\n':
        if (top().dest == Dest::Body && !endParagraph(false))
            done_ = true;
        break;
    case '\t': textUnit(u'\t'); break;
    default: break; // \: \| and others: nothing
    }
}

// "\uN" in body text, most of the bytes of an Indic document: read here without the keyword
// lookup, and a one-byte fallback stepped over at once. Does exactly what `controlWord` and
// the main loop would do; returns false, reading nothing, for anything else.
bool Reader::bodyUnicodeEscape() {
    const auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9'; };
    if (end_ - p_ < 3 || p_[1] != 'u' || skipCount_ != 0 || starPending_ || pendingLead_ != 0 ||
        top().dest != Dest::Body)
        return false;
    const std::uint8_t *q = p_ + 2;
    const bool negative = *q == '-';
    if (negative)
        ++q;
    if (q >= end_ || !digit(*q))
        return false;
    long long value = 0;
    int digits = 0;
    for (; q < end_ && digit(*q); ++q, ++digits)
        if (digits < 10)
            value = value * 10 + (*q - '0');
    if (q < end_ && *q == ' ')
        ++q;
    p_ = q;
    value = std::min<long long>(value, 0x7FFFFFFF);
    const int param = static_cast<int>(negative ? -value : value);
    bodyUnit(static_cast<char16_t>(param < 0 ? param + 65536 : param));
    skipCount_ = static_cast<std::size_t>(top().uc);
    if (skipCount_ == 1 && p_ < end_ && plainBytes.plain[*p_]) {
        ++p_;
        skipCount_ = 0;
    }
    return true;
}

void Reader::controlWord(std::string_view name, bool hasParam, int param) {
    const bool star = starPending_;
    starPending_ = false;
    const Kw kw = keywords().find(name);

    if (skipCount_ > 0 && kw != Kw::Bin) {
        --skipCount_;
        return;
    }
    if (kw == Kw::Unknown) {
        if (star)
            skipGroup();
        return;
    }
    State &s = top();
    ParaProps &pp = s.para;
    CharProps &cp = s.chr;
    const bool on = !hasParam || param != 0;
    switch (kw) {
    case Kw::Unknown: break;
    case Kw::Rtf:
    case Kw::Ansi: break;
    case Kw::Mac: docCodePage_ = 10000; break;
    case Kw::Pc: docCodePage_ = 437; break;
    case Kw::Pca: docCodePage_ = 850; break;
    case Kw::Ansicpg:
        if (hasParam && CodePage::get(param))
            docCodePage_ = param;
        else if (hasParam)
            warn("code page " + std::to_string(param) + " is not known; read as Windows-1252");
        cachedDecoderFont_ = -2;
        break;
    case Kw::Deff:
        if (hasParam)
            deff_ = param;
        cachedDecoderFont_ = -2;
        break;
    case Kw::Uc: s.uc = hasParam ? std::clamp(param, 0, 16) : 1; break;
    case Kw::U: {
        flushLead();
        if (!hasParam)
            break;
        textUnit(static_cast<char16_t>(param < 0 ? param + 65536 : param));
        skipCount_ = static_cast<std::size_t>(s.uc);
        break;
    }
    case Kw::Upr:
        s.outerDest = s.dest;
        s.dest = Dest::Upr;
        break;
    case Kw::Ud:
        if (s.dest == Dest::Upr)
            s.dest = s.outerDest;
        break;
    case Kw::Fonttbl: destination(Dest::FontTable); break;
    case Kw::Colortbl:
        destination(Dest::ColorTable);
        red_ = green_ = blue_ = -1;
        break;
    case Kw::Pict: {
        // A shape's own picture is its "pib" property; other pictures of a shape (fills,
        // textures) are not part of the text.
        const bool shapePicture =
            s.dest == Dest::Shape && shapeName_ == "pib" && !shapePictureRead_;
        if (pictDepth_ != 0 || (s.dest != Dest::Body && !shapePicture)) {
            skipGroup();
            break;
        }
        pictInShape_ = shapePicture;
        destination(Dest::Picture);
        pictDepth_ = stack_.size();
        pict_ = PictureProps{};
        pictBytes_.clear();
        pictNibble_ = -1;
        break;
    }
    case Kw::Listtable: destination(Dest::ListTable); break;
    case Kw::List:
        if (s.dest == Dest::ListTable) {
            lists_.emplace_back();
            listDepth_ = stack_.size();
        }
        break;
    case Kw::Listlevel:
        if (s.dest == Dest::ListTable && !lists_.empty() && lists_.back().levels.size() < 9) {
            lists_.back().levels.emplace_back();
            levelDepth_ = stack_.size();
            levelNfc_ = -1;
        }
        break;
    case Kw::Leveltext:
        if (s.dest == Dest::ListTable) {
            destination(Dest::LevelText);
            levelText_.clear();
        } else {
            skipGroup();
        }
        break;
    case Kw::Listoverridetable: destination(Dest::ListOverrideTable); break;
    case Kw::Listoverride: overrideListId_ = 0; break;
    case Kw::Pn:
        if (s.dest == Dest::Body) {
            destination(Dest::Pn);
            pp.pnSet = true;
            pp.pnStyle = ListStyle::Arabic;
            pp.pnSuffix = NumberSuffix::Plain;
            pp.pnParenBefore = false;
            pp.pnStart = 1;
            pp.pnTab = 0;
        } else {
            skipGroup();
        }
        break;
    case Kw::Pntxta:
        if (s.dest == Dest::Pn) {
            destination(Dest::PnTextAfter);
            pnText_.clear();
        } else {
            skipGroup();
        }
        break;
    case Kw::Pntxtb:
        if (s.dest == Dest::Pn) {
            destination(Dest::PnTextBefore);
            pnText_.clear();
        } else {
            skipGroup();
        }
        break;
    case Kw::Shppict:
    case Kw::Fldrslt: break;
    case Kw::Shp:
        if (s.dest == Dest::Body)
            shapePictureRead_ = false;
        break;
    case Kw::Shpinst:
        // The shape's properties: only its picture is read, and placed in the text at the
        // shape's anchor.
        if (s.dest == Dest::Body) {
            destination(Dest::Shape);
            shapeName_.clear();
        } else {
            skipGroup();
        }
        break;
    case Kw::Sn:
        if (s.dest == Dest::Shape) {
            destination(Dest::ShapeName);
            shapeName_.clear();
        }
        break;
    case Kw::Shprslt:
        // What the shape looks like to readers without shapes: a second copy of a picture
        // already read.
        if (shapePictureRead_)
            skipGroup();
        break;
    case Kw::SkipDest: skipGroup(); break;
    case Kw::Object:
        // Its data and class are kept with the picture its result shows.
        if (s.dest == Dest::Body && objectDepth_ == 0) {
            objectDepth_ = stack_.size();
            objectClass_.clear();
            objectData_.clear();
            objectNibble_ = -1;
            objectPicture_ = -1;
        }
        break;
    case Kw::Objclass:
    case Kw::Objdata:
        if (objectDepth_ != 0 && stack_.size() > objectDepth_ && s.dest == Dest::Body) {
            destination(kw == Kw::Objclass ? Dest::ObjectClass : Dest::ObjectData);
            if (kw == Kw::Objclass)
                objectClass_.clear();
        } else {
            skipGroup();
        }
        break;
    case Kw::F:
        if (s.dest == Dest::FontTable) {
            commitFontName();
            fontNameUnits_.clear();
            definingFont_ = hasParam ? param : 0;
            if (!fontByNumber_.count(definingFont_) && fonts_.size() < 100000) {
                fontByNumber_.emplace(definingFont_, fonts_.size());
                fonts_.emplace_back();
            }
        } else if (hasParam) {
            cp.font = param;
        }
        break;
    case Kw::Fcharset:
        if (s.dest == Dest::FontTable && definingFont_ >= 0 && hasParam) {
            FontDef &f = fonts_[fontByNumber_[definingFont_]];
            f.charset = std::clamp(param, 0, 255);
            if (!f.codePage) {
                f.charsetPage = codePageForCharset(f.charset);
                f.decoder = nullptr;
            }
        }
        break;
    case Kw::Cpg:
        if (s.dest == Dest::FontTable && definingFont_ >= 0 && hasParam) {
            FontDef &f = fonts_[fontByNumber_[definingFont_]];
            if (const CodePage *d = CodePage::get(param)) {
                f.codePage = param;
                f.decoder = d;
            }
        }
        break;
    case Kw::Red: red_ = std::clamp(param, 0, 255); break;
    case Kw::Green: green_ = std::clamp(param, 0, 255); break;
    case Kw::Blue: blue_ = std::clamp(param, 0, 255); break;
    case Kw::Plain: {
        const int uc = s.uc;
        cp = CharProps{};
        s.uc = uc;
        break;
    }
    case Kw::B: cp.flags = on ? cp.flags | fBold : cp.flags & ~fBold; break;
    case Kw::I: cp.flags = on ? cp.flags | fItalic : cp.flags & ~fItalic; break;
    case Kw::Ul:
    case Kw::UlOther: cp.flags = on ? cp.flags | fUnderline : cp.flags & ~fUnderline; break;
    case Kw::Ulnone: cp.flags &= ~fUnderline; break;
    case Kw::Strike:
    case Kw::Striked: cp.flags = on ? cp.flags | fStrike : cp.flags & ~fStrike; break;
    case Kw::V: cp.flags = on ? cp.flags | fHidden : cp.flags & ~fHidden; break;
    case Kw::Fs:
        cp.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
        if (hasParam && cp.halfPoints != param)
            warn("font sizes outside 1 to 1638 points were set to the nearest of these");
        break;
    case Kw::Cf: cp.fg = hasParam ? param : 0; break;
    case Kw::Cb:
    case Kw::Highlight:
    case Kw::Chcbpat: cp.bg = hasParam && param > 0 ? param : -1; break;
    case Kw::Pard: {
        pp = ParaProps{};
        break;
    }
    case Kw::Par:
        if (s.dest == Dest::Body && !endParagraph(false))
            done_ = true;
        break;
    case Kw::Sect:
        if (s.dest == Dest::Body && (!para_.runs.empty() || !runText_.empty()) &&
            !endParagraph(false))
            done_ = true;
        break;
    case Kw::Row:
    case Kw::Nestrow:
        if (s.dest == Dest::Body && !endParagraph(true))
            done_ = true;
        break;
    case Kw::Cell:
    case Kw::Nestcell: cellEnd(); break;
    case Kw::Line: textUnit(lineSeparator); break;
    case Kw::Tab: textUnit(u'\t'); break;
    case Kw::Ql: pp.align = Alignment::Left; break;
    case Kw::Qc: pp.align = Alignment::Center; break;
    case Kw::Qr: pp.align = Alignment::Right; break;
    case Kw::Qj:
    case Kw::Qd: pp.align = Alignment::Justify; break;
    case Kw::Li:
    case Kw::Lin: pp.li = param; break;
    case Kw::Ri:
    case Kw::Rin: pp.ri = param; break;
    case Kw::Fi: pp.fi = param; break;
    case Kw::Tqr: pp.nextTabAlign = TabAlignment::Right; break;
    case Kw::Tqc: pp.nextTabAlign = TabAlignment::Center; break;
    case Kw::Tqdec: pp.nextTabAlign = TabAlignment::Decimal; break;
    case Kw::Tx:
    case Kw::Tb:
        if (s.dest == Dest::Body && pp.tabCount < maxTabStops && hasParam) {
            pp.tabs[pp.tabCount++] = TabStop{param, pp.nextTabAlign};
        }
        pp.nextTabAlign = TabAlignment::Left;
        break;
    case Kw::Intbl: break;
    case Kw::Ls:
        if (s.dest == Dest::ListOverrideTable) {
            if (listIdByLs_.size() < 100000)
                listIdByLs_[param] = overrideListId_;
        } else {
            pp.ls = param;
        }
        break;
    case Kw::Ilvl: pp.ilvl = std::clamp(param, 0, 8); break;
    case Kw::Listid:
        if (s.dest == Dest::ListTable && !lists_.empty() && levelDepth_ == 0)
            lists_.back().id = param;
        else if (s.dest == Dest::ListOverrideTable)
            overrideListId_ = param;
        break;
    case Kw::Levelnfc:
        if (levelDepth_ && levelNfc_ < 0)
            levelNfc_ = param;
        break;
    case Kw::Levelnfcn:
        if (levelDepth_)
            levelNfc_ = param;
        break;
    case Kw::Levelstartat:
        if (ListLevelDef *lv = currentLevel(); lv && levelDepth_)
            lv->start = param;
        break;
    case Kw::Levelspace:
        if (ListLevelDef *lv = currentLevel(); lv && levelDepth_)
            lv->space = param;
        break;
    case Kw::Pnlvlblt: pp.pnStyle = ListStyle::Bullet; break;
    case Kw::Pnlvlcont: pp.pnStyle = ListStyle::None; break;
    case Kw::Pnlvlbody:
    case Kw::Pnlvl: break;
    case Kw::Pndec: pp.pnStyle = ListStyle::Arabic; break;
    case Kw::Pnucltr: pp.pnStyle = ListStyle::UpperLetter; break;
    case Kw::Pnlcltr: pp.pnStyle = ListStyle::LowerLetter; break;
    case Kw::Pnucrm: pp.pnStyle = ListStyle::UpperRoman; break;
    case Kw::Pnlcrm: pp.pnStyle = ListStyle::LowerRoman; break;
    case Kw::Pnstart: pp.pnStart = param; break;
    case Kw::Pnsp: pp.pnTab = param; break;
    case Kw::Pngblip: pict_.format = PictureFormat::Png; break;
    case Kw::Jpegblip: pict_.format = PictureFormat::Jpeg; break;
    case Kw::Dibitmap: pict_.format = PictureFormat::Dib; break;
    case Kw::Emfblip: pict_.format = PictureFormat::Emf; break;
    case Kw::Wmetafile: pict_.format = PictureFormat::Wmf; break;
    case Kw::Wbitmap:
    case Kw::Macpict:
    case Kw::Pmmetafile:
        pict_.format.reset();
        pict_.unsupported = true;
        break;
    case Kw::Picw: pict_.picw = std::max(param, 0); break;
    case Kw::Pich: pict_.pich = std::max(param, 0); break;
    case Kw::Picwgoal: pict_.goalw = std::max(param, 0); break;
    case Kw::Pichgoal: pict_.goalh = std::max(param, 0); break;
    case Kw::Picscalex: pict_.scalex = param; break;
    case Kw::Picscaley: pict_.scaley = param; break;
    case Kw::Bin: {
        // \binN: N raw bytes follow, checked against what remains.
        const std::size_t left = static_cast<std::size_t>(end_ - p_);
        std::size_t n = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
        if (n > left) {
            warn("\\bin data runs past the end of the file");
            n = left;
        }
        if (skipCount_ > 0) {
            --skipCount_;
        } else if (s.dest == Dest::Picture && pictDepth_ == stack_.size()) {
            pictBytes_.insert(pictBytes_.end(), p_, p_ + n);
        }
        p_ += n;
        break;
    }
    case Kw::Emdash: textUnit(0x2014); break;
    case Kw::Endash: textUnit(0x2013); break;
    case Kw::Emspace: textUnit(0x2003); break;
    case Kw::Enspace: textUnit(0x2002); break;
    case Kw::Qmspace: textUnit(0x2005); break;
    case Kw::Bullet: textUnit(0x2022); break;
    case Kw::Lquote: textUnit(0x2018); break;
    case Kw::Rquote: textUnit(0x2019); break;
    case Kw::Ldblquote: textUnit(0x201C); break;
    case Kw::Rdblquote: textUnit(0x201D); break;
    case Kw::Zwj: textUnit(0x200D); break;
    case Kw::Zwnj: textUnit(0x200C); break;
    case Kw::Ltrmark: textUnit(0x200E); break;
    case Kw::Rtlmark: textUnit(0x200F); break;
    case Kw::Zwbo: textUnit(0x200B); break;
    case Kw::Zwnbo: textUnit(0xFEFF); break;
    case Kw::Chftn:
        // The automatic number of a note reference, as the document shows it; the note's own
        // text is skipped.
        if (s.dest == Dest::Body) {
            NoteNumbering &notes = nextNoteIsEndnote() ? endnotes_ : footnotes_;
            for (char16_t c : formatNumber(notes.style, notes.next))
                textUnit(c);
            if (notes.next < 0x7FFFFFFF)
                ++notes.next;
        }
        break;
    case Kw::Ftnstart: footnotes_.next = std::max(param, 1); break;
    case Kw::Aftnstart: endnotes_.next = std::max(param, 1); break;
    case Kw::FtnStyle:
    case Kw::AftnStyle: {
        const std::string_view style = name.substr(kw == Kw::FtnStyle ? 4 : 5);
        (kw == Kw::FtnStyle ? footnotes_ : endnotes_).style =
            style == "alc"   ? ListStyle::LowerLetter
            : style == "auc" ? ListStyle::UpperLetter
            : style == "rlc" ? ListStyle::LowerRoman
            : style == "ruc" ? ListStyle::UpperRoman
                             : ListStyle::Arabic;
        break;
    }
    case Kw::Page: break;
    }
}

Result<ReadOutcome> Reader::run() {
    // What the input is, when it is not RTF.
    const std::size_t size = static_cast<std::size_t>(end_ - begin_);
    if (size == 0)
        return Error{"the file is empty", 0};
    if (size >= 2 &&
        ((begin_[0] == 0xFF && begin_[1] == 0xFE) || (begin_[0] == 0xFE && begin_[1] == 0xFF) ||
         (size >= 4 && (begin_[1] == 0 || begin_[0] == 0) && begin_[2] != 0)))
        return Error{"the file is UTF-16 text, not RTF", 0};
    if (size >= 4 && begin_[0] == 'P' && begin_[1] == 'K' && begin_[2] == 3 && begin_[3] == 4)
        return Error{"the file is a ZIP archive (such as a .docx document), not RTF", 0};
    if (size >= 4 && begin_[0] == 0xD0 && begin_[1] == 0xCF && begin_[2] == 0x11 &&
        begin_[3] == 0xE0)
        return Error{"the file is a binary Word document, not RTF", 0};
    if (size >= 3 && begin_[0] == 0xEF && begin_[1] == 0xBB && begin_[2] == 0xBF)
        p_ += 3;
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n'))
        ++p_;
    const std::string_view start(reinterpret_cast<const char *>(p_),
                                 std::min<std::size_t>(6, static_cast<std::size_t>(end_ - p_)));
    if (start.substr(0, 5) != "{\\rtf" && start.substr(0, 6) != "{\\urtf")
        return Error{"the file is not RTF: it does not start with {\\rtf", offset()};

    doc_.paragraphs.clear();
    stack_.reserve(64);
    stack_.emplace_back(); // a root below the document group, never popped
    ++p_;
    stack_.push_back(top());

    nextProgress_ = progress_ ? begin_ + progressStep : end_ + 1;
    while (p_ < end_ && !done_ && !fatal_) {
        if (p_ >= nextProgress_) {
            progress_(offset());
            nextProgress_ = p_ + progressStep;
        }
        const std::uint8_t c = *p_;
        if (plainBytes.plain[c]) {
            const Dest d = top().dest;
            if (d == Dest::Picture) {
                // Hex digits of the picture data.
                const bool keep = pictDepth_ == stack_.size();
                while (p_ < end_ && plainBytes.plain[*p_]) {
                    const int v = hexValue(*p_++);
                    if (v < 0 || !keep)
                        continue;
                    if (pictNibble_ < 0) {
                        pictNibble_ = v;
                    } else {
                        pictBytes_.push_back(static_cast<std::uint8_t>(pictNibble_ * 16 + v));
                        pictNibble_ = -1;
                    }
                }
                continue;
            }
            if (d == Dest::ObjectData) {
                while (p_ < end_ && plainBytes.plain[*p_]) {
                    const int v = hexValue(*p_++);
                    if (v < 0)
                        continue;
                    if (objectNibble_ < 0) {
                        objectNibble_ = v;
                    } else {
                        objectData_.push_back(static_cast<std::uint8_t>(objectNibble_ * 16 + v));
                        objectNibble_ = -1;
                    }
                }
                continue;
            }
            if (d == Dest::ObjectClass) {
                if (objectClass_.size() < 256)
                    objectClass_ += static_cast<char>(c);
                ++p_;
                continue;
            }
            if (d == Dest::Body && skipCount_ == 0 && pendingLead_ == 0 &&
                !((top().chr.flags & fHidden) && !hiddenWarned_) &&
                currentDecoder()->number() != symbolCodePage) {
                ensureRunFormat();
                const std::uint8_t *q = p_;
                while (q < end_ && plainBytes.plain[*q])
                    ++q;
                // Widening copy of ASCII, without the temporary string that an append of
                // byte iterators would build.
                const std::size_t at = runText_.size();
                runText_.resize(at + static_cast<std::size_t>(q - p_));
                std::copy(p_, q, runText_.begin() + static_cast<std::ptrdiff_t>(at));
                p_ = q;
                continue;
            }
            ++p_;
            if (skipCount_ > 0) {
                --skipCount_;
                continue;
            }
            if (d == Dest::ColorTable) {
                if (c == ';') {
                    if (colors_.size() < 100000) {
                        if (red_ < 0 && green_ < 0 && blue_ < 0)
                            colors_.emplace_back();
                        else
                            colors_.push_back(Rgb{static_cast<std::uint8_t>(std::max(red_, 0)),
                                                  static_cast<std::uint8_t>(std::max(green_, 0)),
                                                  static_cast<std::uint8_t>(std::max(blue_, 0))});
                    }
                    red_ = green_ = blue_ = -1;
                }
                continue;
            }
            textByte(c);
            continue;
        }
        switch (c) {
        case '{':
            ++p_;
            pushGroup();
            break;
        case '}':
            ++p_;
            popGroup();
            break;
        case '\\': {
            if (bodyUnicodeEscape())
                break;
            ++p_;
            if (p_ >= end_)
                break;
            if (!isLetter(*p_)) {
                const std::uint8_t sym = *p_++;
                controlSymbol(sym);
                break;
            }
            const std::uint8_t *nameStart = p_;
            while (p_ < end_ && isLetter(*p_))
                ++p_;
            std::string_view name(reinterpret_cast<const char *>(nameStart),
                                  static_cast<std::size_t>(p_ - nameStart));
            if (name.size() > 32)
                name = "unknown-too-long";
            bool hasParam = false;
            bool negative = false;
            long long value = 0;
            if (p_ < end_ && *p_ == '-' && end_ - p_ > 1 && p_[1] >= '0' && p_[1] <= '9') {
                negative = true;
                ++p_;
            }
            int digits = 0;
            while (p_ < end_ && *p_ >= '0' && *p_ <= '9') {
                if (digits < 10)
                    value = value * 10 + (*p_ - '0');
                ++digits;
                ++p_;
                hasParam = true;
            }
            if (p_ < end_ && *p_ == ' ')
                ++p_;
            value = std::min<long long>(value, 0x7FFFFFFF);
            controlWord(name, hasParam, static_cast<int>(negative ? -value : value));
            break;
        }
        case '\r':
        case '\n': ++p_; break;
        case '\t':
            ++p_;
            if (skipCount_ > 0) {
                --skipCount_;
                break;
            }
            textUnit(u'\t');
            break;
        default:
            ++p_;
            if (c < 0x20)
                break; // other control bytes carry nothing
            if (skipCount_ > 0) {
                --skipCount_;
                break;
            }
            if (top().dest == Dest::Picture)
                break;
            textByte(c);
            break;
        }
    }
    if (fatal_)
        return *fatal_;
    if (!done_)
        warn("the file ends inside " + std::to_string(stack_.size() - 1) +
             " open groups; the text so far was read");
    flushLead();
    // The text after the last paragraph mark is the last paragraph; when there is none, the
    // last paragraph mark ended the document.
    const bool trailingEmpty = para_.runs.empty() && runText_.empty();
    if (!trailingEmpty || doc_.paragraphs.empty()) {
        if (!endParagraph(false))
            return *fatal_;
    }
    if (fatal_)
        return *fatal_;
    if (progress_)
        progress_(static_cast<std::size_t>(end_ - begin_));
    doc_.normalize();
    return ReadOutcome{std::move(doc_), std::move(warnings_)};
}

} // namespace

Result<ReadOutcome> readRtf(std::span<const std::uint8_t> rtf, const RtfReadLimits &limits,
                            const ReadProgress &progress) {
    Reader reader(rtf, limits, progress);
    return reader.run();
}

} // namespace tarvellite

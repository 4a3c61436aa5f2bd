#include "core/document/rtf_writer.h"

#include "core/app/unicode.h"
#include "core/document/legacy_fonts.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string>
#include <tuple>

namespace tarvellite {

namespace {

struct ListKey {
    ListStyle style;
    NumberSuffix suffix;
    int start;
    int tab;
    auto operator<=>(const ListKey &) const = default;
};

ListKey keyOf(const ParagraphFormat &f) {
    return ListKey{f.listStyle, f.numberSuffix, f.numberingStart, f.numberingTabTwips};
}

int nfcOf(ListStyle s) {
    switch (s) {
    case ListStyle::Arabic: return 0;
    case ListStyle::UpperRoman: return 1;
    case ListStyle::LowerRoman: return 2;
    case ListStyle::UpperLetter: return 3;
    case ListStyle::LowerLetter: return 4;
    case ListStyle::Bullet: return 23;
    case ListStyle::None: break;
    }
    return 255;
}

class Writer {
  public:
    Writer(const RichDocument &doc, OutputSink &sink) : doc_(doc), sink_(sink) {
        out_.reserve(blockSize + 4096);
    }
    Status build();

  private:
    // The RTF is handed on in blocks of about this size, so that a large document is never
    // held twice.
    static constexpr std::size_t blockSize = 1 << 16;
    void spill() {
        if (out_.size() >= blockSize)
            flush();
    }
    void flush() {
        if (!out_.empty() && !failed_)
            failed_ = !sink_.write(
                std::span(reinterpret_cast<const std::uint8_t *>(out_.data()), out_.size()));
        out_.clear();
    }

    void num(const char *word, long long v) {
        out_ += word;
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        out_.append(digits, end);
    }
    void text(std::u16string_view t, bool legacy, bool symbol = false);
    void picture(const Picture &p);
    int fontIndex(const CharFormat &f) const {
        return fonts_.at(std::make_pair(f.faceName, f.charset));
    }
    int colorIndex(const std::optional<Rgb> &c) const {
        if (!c)
            return 0;
        return colors_.at(std::make_tuple(c->red, c->green, c->blue));
    }

    const RichDocument &doc_;
    OutputSink &sink_;
    bool failed_ = false;
    std::string out_;
    std::map<std::pair<std::u16string, std::uint8_t>, int> fonts_;
    std::map<std::tuple<std::uint8_t, std::uint8_t, std::uint8_t>, int> colors_;
    std::map<ListKey, int> lists_;
};

void Writer::text(std::u16string_view t, bool legacy, bool symbol) {
    static const char hex[] = "0123456789abcdef";
    // At most 12 bytes for one unit ("\\u-32768\\'xx"): each chunk is written through a
    // pointer into room made for it, and the string cut to what was written.
    constexpr std::size_t chunkUnits = 4096, maxBytesPerUnit = 12;
    while (!t.empty()) {
        const std::u16string_view chunk = t.substr(0, chunkUnits);
        t.remove_prefix(chunk.size());
        const std::size_t start = out_.size();
        out_.resize(start + chunk.size() * maxBytesPerUnit);
        char *o = out_.data() + start;
        const auto unicode = [&o](char16_t c) {
            *o++ = '\\';
            *o++ = 'u';
            o = std::to_chars(o, o + 6,
                              c > 0x7FFF ? static_cast<int>(c) - 65536 : static_cast<int>(c))
                    .ptr;
        };
        const auto byte = [&o](unsigned b) {
            *o++ = '\\';
            *o++ = '\'';
            *o++ = hex[(b >> 4) & 15];
            *o++ = hex[b & 15];
        };
        for (char16_t c : chunk) {
            // A symbol font reads byte b as U+F000 + b: such characters go back as their
            // bytes, and anything else in the run as \uN so that it is not read as a symbol.
            if (symbol && c != u'\t' && c != lineSeparator) {
                if (c >= 0xF020 && c <= 0xF0FF) {
                    byte(c & 0xFF);
                } else {
                    unicode(c);
                    *o++ = '?';
                }
                continue;
            }
            if (c == u'\\' || c == u'{' || c == u'}') {
                *o++ = '\\';
                *o++ = static_cast<char>(c);
            } else if (c == u'\t') {
                o = std::copy_n("\\tab ", 5, o);
            } else if (c == lineSeparator) {
                o = std::copy_n("\\line ", 6, o);
            } else if (c >= 0x20 && c < 0x80) {
                *o++ = static_cast<char>(c);
            } else {
                unsigned char b = 0;
                // Windows-1252 has nothing between U+0300 and U+2000, where the Indic
                // scripts lie.
                const bool hasByte = (c < 0x0300 || c >= 0x2000) && unitToCp1252(c, b);
                if (legacy && hasByte) {
                    byte(b);
                    continue;
                }
                unicode(c);
                if (hasByte && b >= 0x80)
                    byte(b);
                else
                    *o++ = '?';
            }
        }
        out_.resize(static_cast<std::size_t>(o - out_.data()));
        spill();
    }
}

void Writer::picture(const Picture &p) {
    static const char hex[] = "0123456789abcdef";
    const auto hexLines = [this](const std::vector<std::uint8_t> &bytes) {
        std::size_t col = 0;
        for (std::uint8_t b : bytes) {
            out_ += hex[b >> 4];
            out_ += hex[b & 15];
            if (++col == 64) {
                out_ += '\n';
                col = 0;
                spill();
            }
        }
    };
    // An embedded object: its class and data, and the picture of it as its result.
    if (p.isObject()) {
        out_ += "{\\object\\objemb";
        num("\\objw", p.widthTwips);
        num("\\objh", p.heightTwips);
        out_ += "{\\*\\objclass ";
        for (char c : p.objectClass)
            if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F &&
                c != '\\' && c != '{' && c != '}' && c != ';')
                out_ += c;
        out_ += "}{\\*\\objdata\n";
        hexLines(p.objectData);
        out_ += "}{\\result ";
    }
    out_ += "{\\pict";
    switch (p.format) {
    case PictureFormat::Png: out_ += "\\pngblip"; break;
    case PictureFormat::Jpeg: out_ += "\\jpegblip"; break;
    case PictureFormat::Dib: out_ += "\\dibitmap0"; break;
    case PictureFormat::Emf: out_ += "\\emfblip"; break;
    case PictureFormat::Wmf: out_ += "\\wmetafile8"; break;
    }
    num("\\picw", p.pixelWidth);
    num("\\pich", p.pixelHeight);
    num("\\picwgoal", p.widthTwips);
    num("\\pichgoal", p.heightTwips);
    out_ += "\n";
    hexLines(p.bytes);
    out_ += "}";
    if (p.isObject())
        out_ += "}}";
}

Status Writer::build() {
    // Tables first: fonts, colours, lists, in order of first use.
    for (const Paragraph &p : doc_.paragraphs) {
        for (const Run &r : p.runs) {
            fonts_.emplace(std::make_pair(r.format.faceName, r.format.charset),
                           static_cast<int>(fonts_.size()));
            for (const auto &c : {r.format.textColor, r.format.backColor})
                if (c)
                    colors_.emplace(std::make_tuple(c->red, c->green, c->blue),
                                    static_cast<int>(colors_.size()) + 1);
        }
        if (p.format.listStyle != ListStyle::None)
            lists_.emplace(keyOf(p.format), static_cast<int>(lists_.size()) + 1);
    }
    if (fonts_.empty())
        fonts_.emplace(std::make_pair(std::u16string(), std::uint8_t{0}), 0);

    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    std::vector<const std::pair<const std::pair<std::u16string, std::uint8_t>, int> *> byIndex(
        fonts_.size());
    for (const auto &e : fonts_)
        byIndex[static_cast<std::size_t>(e.second)] = &e;
    for (const auto *e : byIndex) {
        num("{\\f", e->second);
        out_ += "\\fnil";
        num("\\fcharset", e->first.second);
        out_ += ' ';
        text(e->first.first, false);
        out_ += ";}";
    }
    out_ += "}\n{\\colortbl;";
    std::vector<std::tuple<std::uint8_t, std::uint8_t, std::uint8_t>> colorList(colors_.size());
    for (const auto &[rgb, i] : colors_)
        colorList[static_cast<std::size_t>(i - 1)] = rgb;
    for (const auto &[r, g, b] : colorList) {
        num("\\red", r);
        num("\\green", g);
        num("\\blue", b);
        out_ += ';';
    }
    out_ += "}\n";
    if (!lists_.empty()) {
        out_ += "{\\*\\listtable";
        for (const auto &[key, id] : lists_) {
            out_ += "\n{\\list\\listtemplateid";
            out_ += std::to_string(id);
            for (int level = 0; level < 9; ++level) {
                num("{\\listlevel\\levelnfc", nfcOf(key.style));
                num("\\levelnfcn", nfcOf(key.style));
                out_ += "\\leveljc0\\leveljcn0\\levelfollow0";
                num("\\levelstartat", key.start);
                num("\\levelspace", key.tab);
                out_ += "\\levelindent0{\\leveltext";
                if (key.style == ListStyle::Bullet) {
                    out_ += "\\'01\\u8226 ?;}{\\levelnumbers;}";
                } else {
                    const std::string number = std::string("\\'0") + static_cast<char>('0' + level);
                    switch (key.suffix) {
                    case NumberSuffix::Period: out_ += "\\'02" + number + "."; break;
                    case NumberSuffix::Parenthesis: out_ += "\\'02" + number + ")"; break;
                    case NumberSuffix::Parentheses: out_ += "\\'03(" + number + ")"; break;
                    case NumberSuffix::Plain: out_ += "\\'01" + number; break;
                    }
                    out_ += key.suffix == NumberSuffix::Parentheses ? ";}{\\levelnumbers\\'02;}"
                                                                    : ";}{\\levelnumbers\\'01;}";
                }
                num("\\fi-360\\li", 720 * (level + 1));
                out_ += "}";
            }
            num("\\listid", id);
            out_ += "}";
        }
        out_ += "}\n{\\*\\listoverridetable";
        for (const auto &[key, id] : lists_) {
            num("{\\listoverride\\listid", id);
            num("\\listoverridecount0\\ls", id);
            out_ += "}";
        }
        out_ += "}\n";
    }

    const std::vector<std::u16string> labels = doc_.listLabels();
    const std::size_t count = doc_.paragraphs.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Paragraph &p = doc_.paragraphs[i];
        const ParagraphFormat &f = p.format;
        out_ += "\\pard";
        switch (f.alignment) {
        case Alignment::Left: out_ += "\\ql"; break;
        case Alignment::Center: out_ += "\\qc"; break;
        case Alignment::Right: out_ += "\\qr"; break;
        case Alignment::Justify: out_ += "\\qj"; break;
        }
        if (f.startIndentTwips)
            num("\\li", f.startIndentTwips);
        if (f.rightIndentTwips)
            num("\\ri", f.rightIndentTwips);
        if (f.firstLineIndentTwips)
            num("\\fi", f.firstLineIndentTwips);
        for (const TabStop &t : f.tabStops) {
            switch (t.alignment) {
            case TabAlignment::Left: break;
            case TabAlignment::Center: out_ += "\\tqc"; break;
            case TabAlignment::Right: out_ += "\\tqr"; break;
            case TabAlignment::Decimal: out_ += "\\tqdec"; break;
            }
            num("\\tx", t.positionTwips);
        }
        if (f.listStyle != ListStyle::None) {
            const int id = lists_.at(keyOf(f));
            num("\\ls", id);
            num("\\ilvl", f.listLevel);
            out_ += "{\\listtext ";
            text(labels[i], false);
            out_ += "\\tab}";
        } else {
            out_ += ' ';
        }
        for (const Run &r : p.runs) {
            const CharFormat &c = r.format;
            num("{\\f", fontIndex(c));
            num("\\fs", (c.sizeTwips + 5) / 10);
            if (c.bold)
                out_ += "\\b";
            if (c.italic)
                out_ += "\\i";
            if (c.underline)
                out_ += "\\ul";
            if (c.strikeOut)
                out_ += "\\strike";
            if (c.textColor)
                num("\\cf", colorIndex(c.textColor));
            if (c.backColor)
                num("\\highlight", colorIndex(c.backColor));
            out_ += ' ';
            if (r.isPicture() && static_cast<std::size_t>(r.pictureIndex) < doc_.pictures.size())
                picture(doc_.pictures[static_cast<std::size_t>(r.pictureIndex)]);
            else
                text(r.text, legacyKindOfFace(c.faceName) != 0,
                     c.charset == 2 && legacyKindOfFace(c.faceName) == 0);
            out_ += "}";
            spill();
        }
        // Every paragraph but the last ends with \par; a last paragraph that is empty gets one
        // too, so that readers keep it.
        if (i + 1 < count || (p.runs.empty() && count > 1))
            out_ += "\\par\n";
    }
    out_ += "}\n";
    flush();
    if (failed_)
        return Error{"the RTF could not be written"};
    return {};
}

} // namespace

Status writeRtf(const RichDocument &doc, OutputSink &out) {
    return Writer(doc, out).build();
}

Bytes writeRtf(const RichDocument &doc) {
    Bytes out;
    BytesSink sink(out);
    writeRtf(doc, sink);
    return out;
}

} // namespace tarvellite

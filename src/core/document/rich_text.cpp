#include "core/document/rich_text.h"

#include <array>

namespace tarvellite {

void RichDocument::normalize() {
    // In place: readers mostly hand over documents that already keep the invariants, and a
    // large document should not be copied run by run to find that out.
    for (Paragraph &p : paragraphs) {
        std::vector<Run> &runs = p.runs;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            Run &r = runs[i];
            if (r.isPicture()) {
                if (static_cast<std::size_t>(r.pictureIndex) >= pictures.size())
                    continue;
                if (r.text.size() != 1 || r.text[0] != objectReplacementCharacter)
                    r.text = std::u16string(1, objectReplacementCharacter);
            } else if (r.text.empty()) {
                continue;
            } else if (kept > 0 && !runs[kept - 1].isPicture() &&
                       runs[kept - 1].format == r.format) {
                runs[kept - 1].text += r.text;
                continue;
            }
            if (kept != i)
                runs[kept] = std::move(r);
            ++kept;
        }
        runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(kept), runs.end());
    }
    if (paragraphs.empty())
        paragraphs.emplace_back();
}

bool RichDocument::empty() const {
    for (const Paragraph &p : paragraphs)
        if (!p.runs.empty())
            return false;
    return true;
}

std::u16string RichDocument::plainText(std::u16string_view paragraphBreak,
                                       std::u16string_view lineBreak, bool dropPictures) const {
    std::u16string out;
    bool first = true;
    for (const Paragraph &p : paragraphs) {
        if (!first)
            out += paragraphBreak;
        first = false;
        for (const Run &r : p.runs) {
            if (r.isPicture()) {
                if (!dropPictures)
                    out += objectReplacementCharacter;
                continue;
            }
            for (char16_t c : r.text) {
                if (c == lineSeparator)
                    out += lineBreak;
                else if (c == objectReplacementCharacter && dropPictures)
                    continue;
                else
                    out += c;
            }
        }
    }
    return out;
}

namespace {

std::u16string ascii(const std::string &s) {
    return std::u16string(s.begin(), s.end());
}

std::string roman(int n) {
    static const std::pair<int, const char *> table[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    if (n <= 0 || n > 3999)
        return std::to_string(n);
    std::string out;
    for (const auto &[v, s] : table)
        for (; n >= v; n -= v)
            out += s;
    return out;
}

std::string letters(int n) {
    if (n <= 0)
        return std::to_string(n);
    std::string out;
    for (; n > 0; n /= 26) {
        --n;
        out.insert(out.begin(), static_cast<char>('a' + n % 26));
    }
    return out;
}

std::string upper(std::string s) {
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::u16string label(const ParagraphFormat &f, int n) {
    const std::u16string s = formatNumber(f.listStyle, n);
    if (f.listStyle == ListStyle::None || f.listStyle == ListStyle::Bullet)
        return s;
    switch (f.numberSuffix) {
    case NumberSuffix::Period: return s + u".";
    case NumberSuffix::Parenthesis: return s + u")";
    case NumberSuffix::Parentheses: return u"(" + s + u")";
    case NumberSuffix::Plain: break;
    }
    return s;
}

} // namespace

std::u16string formatNumber(ListStyle style, int n) {
    switch (style) {
    case ListStyle::None: return {};
    case ListStyle::Bullet: return u"\u2022";
    case ListStyle::Arabic: return ascii(std::to_string(n));
    case ListStyle::LowerLetter: return ascii(letters(n));
    case ListStyle::UpperLetter: return ascii(upper(letters(n)));
    case ListStyle::LowerRoman: return ascii(roman(n));
    case ListStyle::UpperRoman: return ascii(upper(roman(n)));
    }
    return {};
}

std::vector<std::u16string> RichDocument::listLabels() const {
    std::vector<std::u16string> labels(paragraphs.size());
    struct Level {
        bool active = false;
        ListStyle style = ListStyle::None;
        NumberSuffix suffix = NumberSuffix::Period;
        int number = 0;
    };
    std::array<Level, 9> levels{};
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const ParagraphFormat &f = paragraphs[i].format;
        if (f.listStyle == ListStyle::None) {
            levels = {};
            continue;
        }
        const std::size_t l = static_cast<std::size_t>(f.listLevel < 0   ? 0
                                                       : f.listLevel > 8 ? 8
                                                                         : f.listLevel);
        Level &lv = levels[l];
        if (lv.active && lv.style == f.listStyle && lv.suffix == f.numberSuffix)
            ++lv.number;
        else
            lv = Level{true, f.listStyle, f.numberSuffix, f.numberingStart};
        for (std::size_t d = l + 1; d < levels.size(); ++d)
            levels[d] = Level{};
        labels[i] = label(f, lv.number);
    }
    return labels;
}

RichDocument RichDocument::fromPlainText(std::u16string_view text, const CharFormat &format) {
    RichDocument doc;
    doc.paragraphs.clear();
    std::u16string current;
    auto endParagraph = [&] {
        Paragraph p;
        if (!current.empty())
            p.runs.push_back(Run{format, std::move(current), -1});
        current.clear();
        doc.paragraphs.push_back(std::move(p));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endParagraph();
        } else if (c == u'\n' || c == u'\u2029') {
            endParagraph();
        } else if (c == u'\v') {
            current += lineSeparator;
        } else {
            current += c;
        }
    }
    endParagraph();
    return doc;
}

} // namespace tarvellite

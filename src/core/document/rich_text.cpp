#include "core/document/rich_text.h"

namespace tarvellite {

void RichDocument::normalize() {
    for (Paragraph &p : paragraphs) {
        std::vector<Run> runs;
        runs.reserve(p.runs.size());
        for (Run &r : p.runs) {
            if (r.isPicture()) {
                if (static_cast<std::size_t>(r.pictureIndex) >= pictures.size())
                    continue;
                r.text = std::u16string(1, objectReplacementCharacter);
                runs.push_back(std::move(r));
                continue;
            }
            if (r.text.empty())
                continue;
            if (!runs.empty() && !runs.back().isPicture() && runs.back().format == r.format)
                runs.back().text += r.text;
            else
                runs.push_back(std::move(r));
        }
        p.runs = std::move(runs);
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

#include "core/document/plain_text.h"

#include "core/app/unicode.h"
#include "core/document/code_page.h"
#include "core/document/rich_text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tarvellite {

namespace {

bool isIndicTextUnit(char16_t u) {
    return (u >= 0x0900 && u <= 0x0DFF) || u == 0x200C || u == 0x200D || u == 0xFEFF;
}

bool looksLikeZerolessUtf16(std::span<const std::uint8_t> body) {
    if (body.size() < 2 || body.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < body.size(); i += 2)
        if (!isIndicTextUnit(static_cast<char16_t>(body[i] | (body[i + 1] << 8))))
            return false;
    const std::string_view asChars(reinterpret_cast<const char *>(body.data()), body.size());
    return !isValidUtf8(asChars);
}

} // namespace

PlainTextEncoding detectPlainTextEncoding(std::span<const std::uint8_t> body) {
    if (body.size() >= 3 && body[0] == 0xEF && body[1] == 0xBB && body[2] == 0xBF)
        return PlainTextEncoding::Utf8;
    if (body.size() > 1 && std::memchr(body.data(), 0, body.size() - 1) != nullptr)
        return PlainTextEncoding::Utf16Le;
    if (looksLikeZerolessUtf16(body))
        return PlainTextEncoding::Utf16Le;
    // Text files on this platform are UTF-8 without a signature; Windows-1252 text with any
    // letter outside ASCII is almost never valid UTF-8. ASCII alone reads the same either way.
    const std::string_view asChars(reinterpret_cast<const char *>(body.data()), body.size());
    const bool ascii =
        std::all_of(body.begin(), body.end(), [](std::uint8_t b) { return b < 0x80; });
    if (!ascii && isValidUtf8(asChars))
        return PlainTextEncoding::Utf8;
    return PlainTextEncoding::Ansi;
}

std::u16string decodePlainText(std::span<const std::uint8_t> body) {
    switch (detectPlainTextEncoding(body)) {
    case PlainTextEncoding::Utf8:
        return utf8ToUtf16(
            std::string_view(reinterpret_cast<const char *>(body.data()), body.size()));
    case PlainTextEncoding::Utf16Le: {
        std::u16string out;
        out.reserve(body.size() / 2);
        for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
            const auto u = static_cast<char16_t>(body[i] | (body[i + 1] << 8));
            if (u == 0)
                break;
            out.push_back(u);
        }
        return out;
    }
    case PlainTextEncoding::Ansi: break;
    }
    return decomposeComposites(CodePage::get(ansiCodePage)->decode(body));
}

bool forEachTextPiece(const RichDocument &doc, std::u16string_view paragraphBreak,
                      std::u16string_view lineBreak,
                      const std::function<bool(std::u16string_view)> &put) {
    const std::vector<std::u16string> labels = doc.listLabels();
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        if (i > 0 && !put(paragraphBreak))
            return false;
        if (!labels[i].empty() && (!put(labels[i]) || !put(u"\t")))
            return false;
        for (const Run &r : doc.paragraphs[i].runs) {
            if (r.isPicture())
                continue;
            std::u16string_view text = r.text;
            while (!text.empty()) {
                const std::size_t stop = text.find_first_of(u"\u2028\uFFFC");
                if (!put(text.substr(0, stop)))
                    return false;
                if (stop == std::u16string_view::npos)
                    break;
                if (text[stop] == lineSeparator && !put(lineBreak))
                    return false;
                text.remove_prefix(stop + 1);
            }
        }
    }
    return true;
}

std::u16string documentText(const RichDocument &doc, std::u16string_view paragraphBreak,
                            std::u16string_view lineBreak) {
    std::u16string out;
    forEachTextPiece(doc, paragraphBreak, lineBreak, [&out](std::u16string_view piece) {
        out += piece;
        return true;
    });
    return out;
}

namespace {

// Collects bytes and hands them on in blocks.
class BlockWriter {
  public:
    explicit BlockWriter(OutputSink &out) : out_(out) { buffer_.reserve(blockSize + 64); }
    Bytes &buffer() { return buffer_; }
    bool spill() {
        if (buffer_.size() < blockSize)
            return true;
        return flush();
    }
    bool flush() {
        const bool ok = buffer_.empty() || out_.write(buffer_);
        buffer_.clear();
        return ok;
    }

  private:
    static constexpr std::size_t blockSize = 1 << 16;
    OutputSink &out_;
    Bytes buffer_;
};

} // namespace

Status writePlainText(const RichDocument &doc, OutputSink &out) {
    BlockWriter block(out);
    const bool ok = forEachTextPiece(doc, u"\r\n", u"\r\n", [&block](std::u16string_view piece) {
        // At most four bytes a unit (a break as CR LF), written through a pointer into room
        // made for the piece.
        Bytes &b = block.buffer();
        const std::size_t start = b.size();
        b.resize(start + piece.size() * 4);
        std::uint8_t *o = b.data() + start;
        for (std::size_t i = 0; i < piece.size(); ++i) {
            const char16_t c = piece[i];
            if (c == u'\r' || c == u'\n' || c == u'\u2029') {
                if (c == u'\r' && i + 1 < piece.size() && piece[i + 1] == u'\n')
                    ++i;
                *o++ = '\r';
                *o++ = 0;
                *o++ = '\n';
                *o++ = 0;
            } else {
                *o++ = static_cast<std::uint8_t>(c & 0xFF);
                *o++ = static_cast<std::uint8_t>(c >> 8);
            }
        }
        b.resize(static_cast<std::size_t>(o - b.data()));
        return block.spill();
    });
    if (!ok || !block.flush())
        return Error{"the text could not be written"};
    return {};
}

Status writeUtf8Text(const RichDocument &doc, OutputSink &out, std::string_view lineEnd) {
    BlockWriter block(out);
    const std::u16string end(lineEnd.begin(), lineEnd.end());
    const bool ok = forEachTextPiece(doc, end, end, [&block](std::u16string_view piece) {
        // At most three bytes a unit: a pair of surrogates makes four from two.
        Bytes &b = block.buffer();
        const std::size_t start = b.size();
        b.resize(start + piece.size() * 3);
        std::uint8_t *o = b.data() + start;
        for (std::size_t i = 0; i < piece.size(); ++i) {
            char32_t cp = piece[i];
            if (cp < 0x80) {
                *o++ = static_cast<std::uint8_t>(cp);
                continue;
            }
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < piece.size() && piece[i + 1] >= 0xDC00 &&
                piece[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (piece[++i] - 0xDC00);
            } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                cp = 0xFFFD;
            }
            if (cp < 0x800) {
                *o++ = static_cast<std::uint8_t>(0xC0 | (cp >> 6));
            } else if (cp < 0x10000) {
                *o++ = static_cast<std::uint8_t>(0xE0 | (cp >> 12));
                *o++ = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
            } else {
                *o++ = static_cast<std::uint8_t>(0xF0 | (cp >> 18));
                *o++ = static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F));
                *o++ = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
            }
            *o++ = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
        }
        b.resize(static_cast<std::size_t>(o - b.data()));
        return block.spill();
    });
    if (!ok || !block.flush())
        return Error{"the text could not be written"};
    return {};
}

Bytes encodePlainText(std::u16string_view text) {
    Bytes out;
    out.reserve(text.size() * 2 + 16);
    auto put = [&out](char16_t u) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n' || c == u'\u2029' || c == lineSeparator) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            put(u'\r');
            put(u'\n');
        } else if (c != objectReplacementCharacter) {
            put(c);
        }
    }
    return out;
}

} // namespace tarvellite

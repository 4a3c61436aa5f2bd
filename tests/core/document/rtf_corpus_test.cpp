// Every file of the RTF corpus read to text and compared, after white space is
// normalised, with the texts two established readers make of it. Files where both references
// are wrong stay in the table below with the reason, and are checked against our own reading
// of the RTF instead.

#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "core/document/rtf_reader.h"
#include "core/document/rtf_writer.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>

#ifndef TARVELLITE_CORPUS_DIR
#define TARVELLITE_CORPUS_DIR ""
#endif

namespace tarvellite {
namespace {

namespace fs = std::filesystem;

// Collapses every run of white space (including the no-break space and the six-per-em space
// one reference writes) to one space, and trims both ends.
std::u16string normalise(std::u16string_view text) {
    std::u16string out;
    bool space = true;
    for (char16_t c : text) {
        const bool ws = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' ||
                        c == u'\v' || c == u'\u00A0' || c == u'\u2006' || c == u'\u2028' ||
                        c == u'\u2029' || c == u'\uFEFF';
        if (ws) {
            space = true;
            continue;
        }
        if (space && !out.empty())
            out += u' ';
        space = false;
        out += c;
    }
    return out;
}

// The reference texts without the banner one of the readers writes above the text.
std::u16string referenceText(const fs::path &path) {
    Result<Bytes> bytes = readWholeFile(path.string(), 64u << 20);
    if (!bytes)
        return u"<missing>";
    std::string s(bytes->begin(), bytes->end());
    if (s.starts_with("###  Translation from RTF performed by UnRTF")) {
        const std::size_t rule = s.find("-----------------\n");
        s = rule == std::string::npos ? std::string() : s.substr(rule + 18);
        while (s.starts_with("### ")) {
            const std::size_t eol = s.find('\n');
            s = eol == std::string::npos ? std::string() : s.substr(eol + 1);
        }
    }
    return utf8ToUtf16(s);
}

// Files on which both references are wrong, and why. The reason is checked by the
// `expectedExcerpt`: text our reading must contain.
struct KnownDifference {
    const char *reason;
    const char16_t *expectedExcerpt;
};

const std::map<std::string, KnownDifference> &knownDifferences() {
    static const std::map<std::string, KnownDifference> table = {
        {"repo__RtfPipe__rtf2xml-old3_from_web",
         {"LibreOffice continues an earlier \\pn list across ordinary paragraphs, so its second "
          "list starts at 2 although the file's own \\pntext and \\pnstart say 1; unrtf drops "
          "the character of every \\rquote",
          u"analyzed as 14 events: 1 time from start of mandible depression"}},
    };
    return table;
}

// The text with each bullet or number in front of its paragraph, as the references show them.
std::u16string textWithLabels(const RichDocument &doc) {
    const std::vector<std::u16string> labels = doc.listLabels();
    std::u16string out;
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        RichDocument one;
        one.paragraphs = {doc.paragraphs[i]};
        if (i)
            out += u'\n';
        if (!labels[i].empty())
            out += labels[i] + u' ';
        out += one.plainText(u"\n", u"\n", true);
    }
    return out;
}

// Where two documents first differ, for failure messages.
std::string documentDifference(const RichDocument &a, const RichDocument &b) {
    if (a.paragraphs.size() != b.paragraphs.size())
        return std::to_string(a.paragraphs.size()) + " paragraphs became " +
               std::to_string(b.paragraphs.size());
    for (std::size_t i = 0; i < a.paragraphs.size(); ++i) {
        const Paragraph &p = a.paragraphs[i], &q = b.paragraphs[i];
        if (!(p.format == q.format))
            return "format of paragraph " + std::to_string(i) + ": align " +
                   std::to_string(int(p.format.alignment)) + "/" +
                   std::to_string(int(q.format.alignment)) + " indents " +
                   std::to_string(p.format.startIndentTwips) + "," +
                   std::to_string(p.format.rightIndentTwips) + "," +
                   std::to_string(p.format.firstLineIndentTwips) + " / " +
                   std::to_string(q.format.startIndentTwips) + "," +
                   std::to_string(q.format.rightIndentTwips) + "," +
                   std::to_string(q.format.firstLineIndentTwips) + " tabs " +
                   std::to_string(p.format.tabStops.size()) + "/" +
                   std::to_string(q.format.tabStops.size()) + " list " +
                   std::to_string(int(p.format.listStyle)) + "," +
                   std::to_string(int(p.format.numberSuffix)) + "," +
                   std::to_string(p.format.numberingStart) + "," +
                   std::to_string(p.format.listLevel) + "," +
                   std::to_string(p.format.numberingTabTwips) + " / " +
                   std::to_string(int(q.format.listStyle)) + "," +
                   std::to_string(int(q.format.numberSuffix)) + "," +
                   std::to_string(q.format.numberingStart) + "," +
                   std::to_string(q.format.listLevel) + "," +
                   std::to_string(q.format.numberingTabTwips);
        if (p.runs.size() != q.runs.size())
            return "runs of paragraph " + std::to_string(i) + ": " + std::to_string(p.runs.size()) +
                   " became " + std::to_string(q.runs.size()) + " (" +
                   utf16ToUtf8(a.paragraphs[i].runs.empty() ? u"" : p.runs[0].text) + ")";
        for (std::size_t k = 0; k < p.runs.size(); ++k)
            if (!(p.runs[k] == q.runs[k]))
                return "run " + std::to_string(k) + " of paragraph " + std::to_string(i) + ": " +
                       hexUnits(p.runs[k].text.substr(0, 20)) + " / " +
                       hexUnits(q.runs[k].text.substr(0, 20)) + " face " +
                       utf16ToUtf8(p.runs[k].format.faceName) + " / " +
                       utf16ToUtf8(q.runs[k].format.faceName);
    }
    return a.pictures == b.pictures ? "?" : "pictures";
}

std::string firstDifference(const std::u16string &a, const std::u16string &b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const std::size_t from = i > 40 ? i - 40 : 0;
    return "at " + std::to_string(i) + ":\n  ours: " + utf16ToUtf8(a.substr(from, 120)) +
           "\n  ref:  " + utf16ToUtf8(b.substr(from, 120));
}

TEST(RtfCorpus, EveryFileAgreesWithAReference) {
    const fs::path dir = TARVELLITE_CORPUS_DIR;
    if (dir.empty() || !fs::is_directory(dir / "files"))
        GTEST_SKIP() << "the RTF corpus is not at " << dir;
    std::vector<fs::path> files;
    for (const auto &e : fs::directory_iterator(dir / "files"))
        if (e.path().extension() == ".rtf")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    int agreeing = 0, known = 0;
    for (const fs::path &file : files) {
        const std::string stem = file.stem().string();
        SCOPED_TRACE(stem);
        Result<Bytes> bytes = readWholeFile(file.string(), 64u << 20);
        ASSERT_TRUE(bytes);
        Result<ReadOutcome> read = readRtf(*bytes);
        ASSERT_TRUE(read) << read.error().describe();
        const std::u16string ours = normalise(textWithLabels(read->document));
        // What we read, we write and read back unchanged.
        Result<ReadOutcome> again = readRtf(writeRtf(read->document));
        ASSERT_TRUE(again) << again.error().describe();
        EXPECT_TRUE(again->document == read->document)
            << "changed by a write and read: "
            << documentDifference(read->document, again->document);
        const std::u16string lo = normalise(referenceText(dir / "ref-lo" / (stem + ".txt")));
        const std::u16string unrtf = normalise(referenceText(dir / "ref-unrtf" / (stem + ".txt")));
        const auto k = knownDifferences().find(stem);
        if (k != knownDifferences().end()) {
            ++known;
            EXPECT_NE(ours.find(k->second.expectedExcerpt), std::u16string::npos)
                << k->second.reason;
            continue;
        }
        if (ours == lo || ours == unrtf) {
            ++agreeing;
            continue;
        }
        ADD_FAILURE() << "differs from both references\nLibreOffice " << firstDifference(ours, lo)
                      << "\nunrtf " << firstDifference(ours, unrtf);
    }
    std::printf("corpus: %zu files, %d agree with a reference, %d known differences\n",
                files.size(), agreeing, known);
}

} // namespace
} // namespace tarvellite

// Word files whose words cannot be used where they lie (narrow strings, units at odd byte
// offsets) are copied out on loading; they must answer exactly as the usual form does.

#include "core/spelling/dictionary_file.h"
#include "spelling_fixture.h"

namespace tarvellite {
namespace {

using test::TempFolder;

// Every answer of a dictionary for the words of its list, one edit of each and their prefixes.
std::vector<std::string> answers(CDictionary &d) {
    std::vector<std::string> out;
    std::vector<std::u16string> list;
    for (std::size_t p = 0; p < d.wordCount(); ++p) {
        const std::u16string w(d.word(p));
        out.push_back(utf16ToUtf8(w));
        std::u16string edited = w;
        if (edited.size() > 2)
            std::swap(edited[1], edited[2]);
        for (const std::u16string &q : {w, edited, w + w.substr(0, 1), w.substr(1)}) {
            std::int32_t position = 0;
            const bool correct = d.CheckWord(q, position);
            std::string line = utf16ToUtf8(q);
            line.append(correct ? " correct at " : " wrong at ").append(std::to_string(position));
            d.GetSuggestions(list, q, 4);
            line.append(" suggests");
            for (const auto &s : list)
                line.append(" ").append(utf16ToUtf8(s));
            d.LookupPrefix(q.substr(0, 2), 28, list);
            line.append(" continues");
            for (const auto &s : list)
                line.append(" ").append(utf16ToUtf8(s));
            out.push_back(std::move(line));
        }
    }
    return out;
}

class DictionaryLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char *name : {"mini-en", "mini-ta"}) {
            const std::string path = test::buildFixture(folder_, name, name);
            Result<Bytes> bytes = readWholeFile(path, 1 << 20);
            ASSERT_TRUE(bytes.ok());
            DictionaryReadError error;
            ASSERT_TRUE(readDictionaryFile(*bytes, data_[name], error));
        }
    }

    // Loads `bytes` as NAME.dic beside the fixture's rule file.
    std::vector<std::string> answersOf(const std::string &name, const Bytes &bytes) {
        const std::string path = folder_.file(name + ".dic");
        test::writeBytes(path, bytes);
        CDictionary d;
        EXPECT_TRUE(d.Load(path, folder_.path().string(), false));
        return answers(d);
    }

    TempFolder folder_;
    std::map<std::string, DictionaryFileData> data_;
};

TEST_F(DictionaryLayout, NarrowWordsAnswerAsWideOnes) {
    DictionaryFileData data = data_["mini-en"];
    const std::vector<std::string> usual = answersOf("mini-en", writeDictionaryFile(data));
    // The same file with the word list written as one-byte strings.
    const std::vector<std::u16string> words = data.words;
    data.words.clear();
    Bytes bytes = writeDictionaryFile(data);
    bytes.resize(bytes.size() - 2); // the empty list's count
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(words.size()));
    for (const std::u16string &word : words) {
        w.u8(static_cast<std::uint8_t>(word.size()));
        for (char16_t c : word) {
            ASSERT_LT(c, 0x80);
            w.u8(static_cast<std::uint8_t>(c));
        }
    }
    bytes.insert(bytes.end(), w.data().begin(), w.data().end());
    EXPECT_EQ(answersOf("mini-en", bytes), usual);
}

TEST_F(DictionaryLayout, WordsAtOddOffsetsAnswerAsAlignedOnes) {
    for (const char *name : {"mini-en", "mini-ta"}) {
        SCOPED_TRACE(name);
        DictionaryFileData data = data_[name];
        data.extras[0].clear();
        const Bytes aligned = writeDictionaryFile(data);
        const std::vector<std::string> usual = answersOf(name, aligned);
        // The first unused string written as an empty one-byte string: one byte instead of
        // four, so every later unit lies at an odd offset.
        std::size_t at = 20;
        for (const std::u16string &c : data.classes) {
            ASSERT_LT(c.size(), 255u);
            at += 4 + 2 * c.size();
        }
        Bytes odd = aligned;
        ASSERT_EQ(Bytes(odd.begin() + at, odd.begin() + at + 4), (Bytes{0xFF, 0xFE, 0xFF, 0x00}));
        odd.erase(odd.begin() + at + 1, odd.begin() + at + 4);
        odd[at] = 0x00;
        EXPECT_EQ(answersOf(name, odd), usual);
    }
}

} // namespace
} // namespace tarvellite

#pragma once

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/spelling/dictionary.h"
#include "core/spelling/dictionary_builder.h"
#include "core/spelling/rule_file.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace tarvellite::test {

inline std::string spellingDataPath(const std::string &name) {
    return std::string(TARVELLITE_SOURCE_DIR) + "/tests/data/spelling/" + name;
}

inline std::string readText(const std::string &path) {
    Result<Bytes> b = readWholeFile(path, 1 << 20);
    EXPECT_TRUE(b.ok()) << path;
    return b ? std::string(b->begin(), b->end()) : std::string();
}

inline void writeBytes(const std::filesystem::path &path, const Bytes &bytes) {
    ASSERT_TRUE(writeFileAtomically(path.string(), bytes).ok()) << path;
}

/// A fresh folder below the system's temporary folder, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("tarvellite-spelling-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path &path() const { return path_; }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

/// Builds the word file and rule file `name`.dic/.tdh in `folder` from a source and a list.
inline std::string buildDictionary(const TempFolder &folder, const std::string &name,
                                   const std::string &sourceText, const std::string &wordList) {
    Result<DictionarySource> source = parseDictionarySource(utf8ToUtf16(sourceText));
    EXPECT_TRUE(source.ok()) << (source ? "" : source.error().describe());
    DictionaryBuilder builder(*source);
    builder.addWordList(wordList);
    const std::string path = folder.file(name + ".dic");
    writeBytes(path, writeDictionaryFile(builder.build()));
    writeBytes(folder.file(name + ".tdh"), ruleFileBytes(*source));
    return path;
}

/// Builds one of the committed fixture dictionaries (tests/data/spelling/NAME.rules/.txt).
inline std::string buildFixture(const TempFolder &folder, const std::string &fixture,
                                const std::string &name) {
    return buildDictionary(folder, name, readText(spellingDataPath(fixture + ".rules")),
                           readText(spellingDataPath(fixture + ".txt")));
}

/// Records the messages shown while it lives.
class MessageLog {
  public:
    MessageLog()
        : scope_([this](const Message &m) {
              texts.push_back(m.text);
              return m.defaultAnswer;
          }) {
        setMessageEcho(false);
    }
    ~MessageLog() { setMessageEcho(true); }
    std::vector<std::string> texts;

  private:
    ScopedMessagePresenter scope_;
};

inline std::vector<std::string> utf8List(const std::vector<std::u16string> &words) {
    std::vector<std::string> out;
    for (const auto &w : words)
        out.push_back(utf16ToUtf8(w));
    return out;
}

} // namespace tarvellite::test

// tarvellite-cli convert run as a person runs it: ordinary Linux text files, RTF with lists and
// notes to text, warnings, refused inputs, and an output left whole when a conversion fails.

#include "core/app/file_io.h"
#include "run_program.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tarvellite {
namespace {

namespace fs = std::filesystem;

const std::string cli = TARVELLITE_PROGRAM_DIR "/tarvellite-cli";

class ConvertTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("convert-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string &name, const std::string &content) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(writeFileAtomically(path, Bytes(content.begin(), content.end())));
        return path;
    }
    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    static std::string contents(const std::string &path) {
        Result<Bytes> bytes = readWholeFile(path, 1 << 20);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
    }

    fs::path dir_;
};

TEST_F(ConvertTest, Utf8TextFileWithoutSignature) {
    const std::string tamil = "\xE0\xAE\xB5\xE0\xAE\xA3\xE0\xAE\x95\xE0\xAE\xAE\xE0\xAF\x8D";
    const std::string in = file("notes.txt", tamil + " caf\xC3\xA9\n");
    testing::ProgramRun run = testing::runProgram({cli, "convert", in, "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, tamil + " caf\xC3\xA9\n\n");

    // Written as UTF-16LE text, then read back: the same text.
    ASSERT_EQ(testing::runProgram({cli, "convert", in, path("copy.txt")}).status, 0);
    run = testing::runProgram({cli, "convert", path("copy.txt"), "-"});
    EXPECT_EQ(run.out, tamil + " caf\xC3\xA9\n\n");
}

TEST_F(ConvertTest, ListsAndNotesToText) {
    const std::string in = file(
        "list.rtf", "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
                    "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
                    "Intro{\\super\\chftn}{\\footnote\\chftn n}\\par\\pard\\ls1 one\\par two}");
    testing::ProgramRun run = testing::runProgram({cli, "convert", in, "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Intro1\n1.\tone\n2.\ttwo\n");

    ASSERT_EQ(testing::runProgram({cli, "convert", in, path("list.txt")}).status, 0);
    const std::u16string expected = u"Intro1\r\n1.\tone\r\n2.\ttwo";
    const std::string bytes = contents(path("list.txt"));
    ASSERT_EQ(bytes.size(), expected.size() * 2);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char>(bytes[2 * i]) | (bytes[2 * i + 1] << 8), expected[i]);
}

TEST_F(ConvertTest, WarningsAndRefusals) {
    const std::string big = file("big.rtf", "{\\rtf1\\fs2000000000 big}");
    testing::ProgramRun run = testing::runProgram({cli, "convert", big, "-"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "big\n");
    EXPECT_NE(run.err.find("font size"), std::string::npos) << run.err;

    // A text file named .tvl is not a document of ours; an existing output stays as it was.
    const std::string out = file("out.txt", "earlier");
    const std::string fake = file("fake.tvl", "just some text\n");
    run = testing::runProgram({cli, "convert", fake, out});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a TarvelLite document"), std::string::npos) << run.err;
    EXPECT_EQ(contents(out), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 3);
}

} // namespace
} // namespace tarvellite

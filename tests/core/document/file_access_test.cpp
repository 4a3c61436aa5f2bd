// Mapped input released as it is read, and output that replaces its target only when whole.

#include "core/app/file_io.h"
#include "core/document/file_access.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvellite {
namespace {

namespace fs = std::filesystem;

class FileAccess : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("file-access-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char *name) const { return (dir_ / name).string(); }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}));
    }
    static std::string contents(const std::string &p) {
        Result<Bytes> b = readWholeFile(p, 64u << 20);
        return b ? std::string(b->begin(), b->end()) : "<unreadable>";
    }
    fs::path dir_;
};

TEST_F(FileAccess, MappedBytesStayReadableAfterRelease) {
    std::string data(3 << 20, 'x');
    for (std::size_t i = 0; i < data.size(); i += 4096)
        data[i] = static_cast<char>('a' + i / 4096 % 26);
    ASSERT_TRUE(writeFileAtomically(path("in"), Bytes(data.begin(), data.end())));
    Result<MappedFile> file = MappedFile::open(path("in"), 64u << 20);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->bytes().size(), data.size());
    file->release(2 << 20);
    file->release(1 << 20); // going back is ignored
    file->release(data.size() + 100);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), file->bytes().begin()));

    ASSERT_TRUE(writeFileAtomically(path("empty"), Bytes{}));
    Result<MappedFile> empty = MappedFile::open(path("empty"), 10);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->bytes().empty());
    EXPECT_FALSE(MappedFile::open(path("in"), 1000));      // larger than allowed
    EXPECT_FALSE(MappedFile::open(path("missing"), 1000)); // absent
    EXPECT_FALSE(MappedFile::open(dir_.string(), 1000));   // a folder
}

TEST_F(FileAccess, OutputReplacesItsTargetOnlyWhenCommitted) {
    ASSERT_TRUE(writeFileAtomically(path("doc"), Bytes{'o', 'l', 'd'}));
    const Bytes part(5 << 20, 'n'); // past the point where writing back starts early
    {
        AtomicFileSink sink(path("doc"));
        ASSERT_TRUE(sink.open());
        ASSERT_TRUE(sink.write(part));
        EXPECT_EQ(entries(), 2u);
        // Destroyed without a commit: the target is as it was, the temporary file gone.
    }
    EXPECT_EQ(contents(path("doc")), "old");
    EXPECT_EQ(entries(), 1u);

    AtomicFileSink sink(path("doc"));
    ASSERT_TRUE(sink.open());
    ASSERT_TRUE(sink.write(part));
    ASSERT_TRUE(sink.write(Bytes{'!'}));
    ASSERT_TRUE(sink.commit());
    EXPECT_EQ(contents(path("doc")), std::string(5 << 20, 'n') + "!");
    EXPECT_EQ(entries(), 1u);
    EXPECT_FALSE(sink.write(Bytes{'x'})); // nothing after the commit

    // The replaced file's permissions stay: a private document is not made readable to all.
    ASSERT_EQ(::chmod(path("doc").c_str(), 0600), 0);
    AtomicFileSink again(path("doc"));
    ASSERT_TRUE(again.open());
    ASSERT_TRUE(again.write(Bytes{'p'}));
    ASSERT_TRUE(again.commit());
    struct stat st {};
    ASSERT_EQ(::stat(path("doc").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    AtomicFileSink nowhere(path("no-such-folder/doc"));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.write(Bytes{'x'}));
    EXPECT_FALSE(nowhere.commit());
}

} // namespace
} // namespace tarvellite

// Writing files whole or not at all: a process killed at any point of a write leaves either the
// old file or the new one; a failed write leaves the old file byte for byte and no temporary
// file; the replaced file keeps its permissions and its symbolic link.

#include "core/app/file_io.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tarvellite;

namespace {

class Folder {
  public:
    Folder() {
        std::string name = (fs::temp_directory_path() / "tarvellite-file-io-XXXXXX").string();
        path_ = ::mkdtemp(name.data());
    }
    ~Folder() { fs::remove_all(path_); }
    fs::path operator/(const std::string &name) const { return path_ / name; }
    /// Names in the folder other than `except`.
    std::vector<std::string> others(const std::string &except) const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(path_))
            if (entry.path().filename() != except)
                names.push_back(entry.path().filename().string());
        return names;
    }

  private:
    fs::path path_;
};

Bytes filled(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 31 + (i >> 12));
    return bytes;
}

Bytes contents(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// A child process writes two large versions of a file in turn, and is killed at a random moment,
// many times. The file is always one of the two versions, whole.
TEST(AtomicFile, KilledDuringAWriteLeavesTheOldOrTheNewFile) {
    Folder folder;
    const fs::path target = folder / "large.tvl";
    const Bytes first = filled(6 << 20, 1);
    const Bytes second = filled(5 << 20, 2);
    ASSERT_TRUE(writeFileAtomically(target.string(), first));
    std::mt19937 random(20240307);
    int interrupted = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                (void)writeFileAtomically(target.string(), i % 2 ? first : second);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const Bytes now = contents(target);
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": " << now.size();
        // What a killed write leaves is its temporary file, never a part of the target.
        for (const std::string &left : folder.others("large.tvl")) {
            EXPECT_EQ(left.rfind("large.tvl.", 0), 0u) << left;
            fs::remove(folder / left);
            ++interrupted;
        }
    }
    // The kills landed inside writes, not only between them.
    EXPECT_GT(interrupted, 0);
}

// The file-size limit makes writes fail as a full disk does (without the signal).
TEST(AtomicFile, AFailedWriteLeavesTheOldFileAndNothingElse) {
    Folder folder;
    const fs::path target = folder / "notes.txt";
    const Bytes old = filled(10000, 7);
    ASSERT_TRUE(writeFileAtomically(target.string(), old));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Status s = writeFileAtomically(target.string(), filled(3 << 20, 9));
        const bool named =
            !s && s.error().message.find("larger than this system allows") != std::string::npos;
        std::_Exit(named ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail with its reason";
    EXPECT_EQ(contents(target), old);
    EXPECT_TRUE(folder.others("notes.txt").empty());

    // A folder that does not exist: the reason, and no file.
    const Status missing = writeFileAtomically((folder / "gone/notes.txt").string(), old);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message.find("gone"), std::string::npos);
}

TEST(AtomicFile, TheReplacedFileKeepsItsPermissionsAndItsLink) {
    Folder folder;
    const fs::path target = folder / "private.tvl";
    ASSERT_TRUE(writeFileAtomically(target.string(), filled(100, 1)));
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    ASSERT_TRUE(writeFileAtomically(target.string(), filled(200, 2)));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    // A new file: the usual permissions less the umask.
    const mode_t mask = ::umask(027);
    const fs::path fresh = folder / "fresh.tvl";
    ASSERT_TRUE(writeFileAtomically(fresh.string(), filled(10, 3)));
    ::umask(mask);
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Through a relative symbolic link: the file it names is replaced, the link stays.
    fs::create_directory(folder / "real");
    const fs::path real = folder / "real/letter.tvl";
    ASSERT_TRUE(writeFileAtomically(real.string(), filled(10, 4)));
    fs::create_symlink("real/letter.tvl", folder / "letter.tvl");
    ASSERT_TRUE(writeFileAtomically((folder / "letter.tvl").string(), filled(30, 5)));
    EXPECT_TRUE(fs::is_symlink(folder / "letter.tvl"));
    EXPECT_EQ(contents(real), filled(30, 5));
}

TEST(AtomicFile, NamesAsLongAsAFolderAllows) {
    Folder folder;
    // 250 bytes of Tamil letters (three bytes each) and ".tvl": the temporary name must be cut.
    std::string name;
    while (name.size() + 3 <= 250)
        name += "\xE0\xAE\x95";
    name += ".tvl";
    ASSERT_LE(name.size(), 255u);
    const fs::path target = folder / name;
    ASSERT_TRUE(writeFileAtomically(target.string(), filled(1000, 6)));
    EXPECT_EQ(contents(target), filled(1000, 6));
    EXPECT_TRUE(folder.others(name).empty());
}

TEST(AtomicFile, AFileNeverCommittedLeavesNoTrace) {
    Folder folder;
    const fs::path target = folder / "draft.tvl";
    {
        AtomicFile file(target.string());
        ASSERT_TRUE(file.open());
        EXPECT_TRUE(file.write(filled(100, 1)));
        EXPECT_TRUE(fs::exists(file.temporary()));
    }
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(folder.others("").empty());
}

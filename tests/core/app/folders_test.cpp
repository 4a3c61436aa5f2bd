// Where the program's data files are found: beside the executable in a build or a copied folder,
// in share/tarvellite in an installation.

#include "core/app/folders.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tarvellite;
namespace fs = std::filesystem;

namespace {

struct Tree {
    fs::path root =
        fs::temp_directory_path() /
        ("tarvellite-folders-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Tree() { fs::create_directories(root / "bin"); }
    ~Tree() { fs::remove_all(root); }
    void put(const fs::path &file) {
        fs::create_directories((root / file).parent_path());
        std::ofstream(root / file) << "x";
    }
};

} // namespace

TEST(ProgramDataFolder, BesideTheExecutableFirst) {
    Tree t;
    t.put("bin/Kbdentry.dat");
    t.put("share/tarvellite/Kbdentry.dat");
    EXPECT_EQ(programDataFolder((t.root / "bin").string() + "/"), (t.root / "bin").string());
}

TEST(ProgramDataFolder, TheInstalledShareFolder) {
    Tree t;
    t.put("share/tarvellite/Kbdentry.dat");
    EXPECT_EQ(programDataFolder((t.root / "bin").string()),
              (t.root / "share" / "tarvellite").string());
}

TEST(ProgramDataFolder, NeitherMeansBesideTheExecutable) {
    Tree t;
    // A folder of that name is not the data file.
    fs::create_directories(t.root / "share/tarvellite/Kbdentry.dat");
    EXPECT_EQ(programDataFolder((t.root / "bin").string()), (t.root / "bin").string());
}

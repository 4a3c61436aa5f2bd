// Folders typed in the preferences: full paths of folders that exist or can be made one level
// deep are taken; anything else keeps the old folder and says why.

#include "core/preferences/folder_choice.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tarvellite;
namespace fs = std::filesystem;

class FolderChoiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("tarvellite-prefs-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "old");
        std::ofstream(root_ / "a-file") << "x";
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string at(const std::string &name) const { return (root_ / name).string(); }
    std::string old() const { return at("old") + "/"; }

    fs::path root_;
};

TEST_F(FolderChoiceTest, ExistingAndNewFoldersAreTaken) {
    EXPECT_EQ(chooseFolder(at("old"), old()).path, old());
    EXPECT_EQ(chooseFolder(at("."), old()).path, root_.string() + "/");
    const FolderChoice made = chooseFolder(at("new") + "/", old());
    EXPECT_EQ(made.path, at("new") + "/");
    EXPECT_TRUE(made.refusal.empty());
    EXPECT_TRUE(fs::is_directory(at("new")));
}

TEST_F(FolderChoiceTest, RefusedEntriesKeepTheOldFolder) {
    for (const std::string &entered :
         {std::string(), std::string("   "), std::string("relative/docs"), at("a-file"),
          at("missing/deeper/docs")}) {
        const FolderChoice choice = chooseFolder(entered, old());
        EXPECT_EQ(choice.path, old()) << entered;
        EXPECT_FALSE(choice.refusal.empty()) << entered;
    }
    EXPECT_FALSE(fs::exists(at("missing")));
}

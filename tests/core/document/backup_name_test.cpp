// Backup names: the suffix of each naming, extensions from the file name only, and a number
// after the suffix instead of overwriting an earlier backup.

#include "core/document/backup_name.h"

#include <gtest/gtest.h>
#include <set>

using namespace tarvellite;

struct BackupCase {
    const char *name;
    const char *path;
    BackupNaming naming;
    const char *expected;
};

class BackupNames : public ::testing::TestWithParam<BackupCase> {};

TEST_P(BackupNames, FromTheFileName) {
    const BackupCase &c = GetParam();
    const LocalTime march7{2024, 3, 7, 13, 5, 9};
    EXPECT_EQ(backupFileName(c.path, c.naming, march7, 0x1A2B, {}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Backup, BackupNames,
    ::testing::ValuesIn(std::vector<BackupCase>{
        {"Copy", "/home/u/Letter.tvl", {false, 0}, "Letter(copy).tvl"},
        {"DateAndTimeUnpadded", "/home/u/Letter.tvl", {true, 1}, "Letter2024371359.tvl"},
        {"UniqueNumber", "/home/u/Letter.tvl", {true, 0}, "Letter1A2B.tvl"},
        {"DotInAFolderOnly", "/home/u/v1.2/notes", {false, 0}, "notes(copy)"},
        {"LastFullStop", "/d/archive.tar.rtf", {false, 0}, "archive.tar(copy).rtf"},
        {"HiddenFileHasNoExtension", "/d/.profile", {false, 0}, ".profile(copy)"},
        {"TamilName", "/d/கடிதம்.tvl", {false, 0}, "கடிதம்(copy).tvl"},
    }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Backup, TakenNamesGetANumber) {
    std::set<std::string> taken{"Letter(copy).tvl", "Letter(copy)-2.tvl"};
    const auto exists = [&](const std::string &n) { return taken.count(n) > 0; };
    EXPECT_EQ(backupFileName("/h/Letter.tvl", {false, 0}, {}, 0, exists), "Letter(copy)-3.tvl");
}

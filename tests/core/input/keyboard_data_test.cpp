#include "core/input/keyboard_data.h"

#include <gtest/gtest.h>

namespace tarvellite {
namespace {

TEST(CharToKeyTable, BothCharactersOfAKeyShareItsPosition) {
    EXPECT_EQ(charToKeyTable('`'), 0);
    EXPECT_EQ(charToKeyTable('~'), 0);
    EXPECT_EQ(charToKeyTable('q'), 13);
    EXPECT_EQ(charToKeyTable('Q'), 13);
    EXPECT_EQ(charToKeyTable('|'), 25);
    EXPECT_EQ(charToKeyTable('"'), 36);
    EXPECT_EQ(charToKeyTable('?'), 46);
    EXPECT_EQ(charToKeyTable(' '), -1);
    EXPECT_EQ(charToKeyTable(0x7F), -1);
}

} // namespace
} // namespace tarvellite

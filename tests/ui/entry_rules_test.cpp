#include <gtest/gtest.h>

#include "ui/EntryRules.h"

TEST(EntryRules, Brackets) {
    std::string s = "kim[1]][";
    ReplaceBrackets(s);
    EXPECT_EQ(s, "kim(1))(");
}

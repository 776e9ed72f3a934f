#include "wheels/format_text.h"
#include "wheels/wheel_shared.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using ::testing::ElementsAre;

TEST(FormatText, TenRotatingBuffersEachCutAt4095Characters) {
    const char* first = formatText("%s-%u", "a", 10u);
    for (int i = 0; i < 9; ++i)
        formatText("%d", i);
    EXPECT_STREQ(first, "a-10");
    EXPECT_EQ(formatText("eleventh"), first);
    EXPECT_STREQ(first, "eleventh");
    const std::string longText(10000, 'y');
    EXPECT_EQ(std::string(formatText("%s", longText.c_str())), std::string(4095, 'y'));
}

TEST(NameTable, EachCommaEndsANameAndTheTableTakesWhatFits) {
    std::array<std::string, 4> table{"w", "x", "y", "z"};
    fillNameTable("Fist, Bat ,Caf\xE9", table); // text after the last comma is no name
    EXPECT_THAT(table, ElementsAre("Fist", " Bat ", "y", "z"));
    fillNameTable("a,,c,d,e,f,", table);
    EXPECT_THAT(table, ElementsAre("a", "", "c", "d"));
    EXPECT_EQ(nameAt(table, 3), "d");
    EXPECT_EQ(nameAt(table, 4), "");
    EXPECT_EQ(nameAt(table, -1), "");
}

} // namespace

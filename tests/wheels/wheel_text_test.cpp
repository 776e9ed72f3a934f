#include "wheels/format_text.h"
#include "wheels/wheel_shared.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using ::testing::ElementsAre;

TEST(FormatText, FormatsLikePrintf) {
    EXPECT_STREQ(formatText("%u", 10u), "10");
    EXPECT_STREQ(formatText("%s-%d", "a", 3), "a-3");
    EXPECT_STREQ(formatText("sring"), "sring");
}

TEST(FormatText, AResultStaysValidForNineFurtherCallsAndTheEleventhCallReusesItsBuffer) {
    const char* first = formatText("first");
    for (int i = 0; i < 9; ++i)
        formatText("%d", i);
    EXPECT_STREQ(first, "first");
    const char* eleventh = formatText("eleventh");
    EXPECT_EQ(eleventh, first);
    EXPECT_STREQ(first, "eleventh");
}

TEST(FormatText, CutsAt4095Characters) {
    const std::string longText(10000, 'y');
    EXPECT_EQ(std::string(formatText("%s", longText.c_str())), std::string(4095, 'y'));
}

TEST(NameTable, EachCommaEndsTheNextName) {
    std::array<std::string, 4> table;
    fillNameTable("Fist,Bat,,Pistol,", table);
    EXPECT_THAT(table, ElementsAre("Fist", "Bat", "", "Pistol"));
}

TEST(NameTable, TextAfterTheLastCommaIsNoName) {
    std::array<std::string, 4> table{"w", "x", "y", "z"};
    fillNameTable("Fist,Bat,Pistol", table);
    EXPECT_THAT(table, ElementsAre("Fist", "Bat", "y", "z"));
    fillNameTable("Nullss", table);
    EXPECT_THAT(table, ElementsAre("Fist", "Bat", "y", "z"));
}

TEST(NameTable, NamesBeyondTheTableAreDropped) {
    std::array<std::string, 3> table;
    fillNameTable("a,b,c,d,e,", table);
    EXPECT_THAT(table, ElementsAre("a", "b", "c"));
}

TEST(NameTable, KeepsSpacesAndHighBytes) {
    std::array<std::string, 2> table;
    fillNameTable(" Sniper Rifle ,Caf\xE9,", table);
    EXPECT_THAT(table, ElementsAre(" Sniper Rifle ", "Caf\xE9"));
}

TEST(NameTable, AnIndexOutsideTheTableNamesNothing) {
    const std::array<std::string, 2> table{"a", "b"};
    EXPECT_EQ(nameAt(table, 1), "b");
    EXPECT_EQ(nameAt(table, 2), "");
    EXPECT_EQ(nameAt(table, -1), "");
}

TEST(Deadline, WrapsWithTheClock) {
    EXPECT_EQ(deadlineAfter(5, 1000), 1005);
    EXPECT_EQ(deadlineAfter(0x7FFFFF00, 0x200), static_cast<int32_t>(0x80000100u));
}

} // namespace

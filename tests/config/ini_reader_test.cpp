#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/ini_reader.h"
#include "config_test_support.h"

namespace {

// The entry of the line "K=<value>": the separator phase skips nothing of the value itself.
IniReader lineWithValue(std::string_view value) {
    return readerOf("K=" + std::string(value));
}

struct ExpectedEntry {
    std::string key;
    std::string value;
    bool quoted;
};

// An .expected file lists the entries of its .ini in order, one a line: "q " for a quoted
// value or "- " otherwise, then key=value (keys hold no '='). Lines starting with # are notes.
std::vector<ExpectedEntry> readExpected(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<ExpectedEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t equals = line.find('=');
        if (line.size() < 2 || (line[0] != 'q' && line[0] != '-') || line[1] != ' ' ||
            equals == std::string::npos) {
            ADD_FAILURE() << path << ": malformed line " << line;
            continue;
        }
        entries.push_back({line.substr(2, equals - 2), line.substr(equals + 1), line[0] == 'q'});
    }
    return entries;
}

TEST(IniCaseFiles, EveryFileGivesTheEntriesItsExpectedFileLists) {
    for (const auto& input : caseFilesIn("cases")) {
        SCOPED_TRACE(input.string());
        std::filesystem::path expectedPath = input;
        expectedPath.replace_extension(".expected");
        ASSERT_TRUE(std::filesystem::exists(expectedPath));
        const std::vector<ExpectedEntry> expected = readExpected(expectedPath);

        IniReader reader;
        reader.load(input.string().c_str());
        ASSERT_EQ(reader.entries().size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const IniEntry& entry = reader.entries()[i];
            EXPECT_EQ(entry.key, expected[i].key) << "entry " << i;
            EXPECT_EQ(entry.value, expected[i].value) << "entry " << i;
            EXPECT_EQ(entry.quoted, expected[i].quoted) << "entry " << i;
            EXPECT_FALSE(entry.absent) << "entry " << i;
        }
    }
}

TEST(IniReaderLoad, MissingFileGivesNoEntriesAndEveryDefault) {
    IniReader reader = readerOf("RADAR_TYPE = 1\n");
    reader.load("cases/no_such_file.ini");
    EXPECT_TRUE(reader.entries().empty());
    const IniEntry entry = reader.find("RADAR_TYPE");
    EXPECT_TRUE(entry.absent);
    EXPECT_EQ(entry.asInt(4), 4);
    EXPECT_EQ(entry.asString("Nullss"), "Nullss");
    EXPECT_EQ(entry.asColor({1, 2, 3, 4}), (Rgba{1, 2, 3, 4}));
}

TEST(IniReaderLoad, AByteOrderMarkBeforeAKeyIsPassedOverAndNoted) {
    const IniReader reader = readerOf("\xEF\xBB\xBFRADAR_TYPE = 1\n\xEF\xBB\xBFKEY = 2\n");
    EXPECT_EQ(reader.find("RADAR_TYPE").asInt(4), 1);
    EXPECT_FALSE(reader.find("RADAR_TYPE").markSkipped) << "the file's own mark";
    EXPECT_EQ(reader.find("KEY").asInt(0), 2);
    EXPECT_TRUE(reader.find("KEY").markSkipped) << "a mark where two files were joined";
    EXPECT_TRUE(readerOf("\xEF\xBB\xBF").entries().empty());
    EXPECT_EQ(readerOf("\xEF\xBB").entries().size(), 1u);
}

TEST(IniReaderLoad, BytesNoTextHoldsGiveNoEntries) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        TextForm form;
    } cases[] = {
        {"A\0B = 1\nC = x\0y # z\n\0\n"s, TextForm::NotText},
        {"\0\0\0\0"s, TextForm::NotText},
        {"\xFF\xFE\0\0R\0\0\0=\0\0\0\x31\0\0\0"s, TextForm::Utf32},
        {"\xFF\xFER\0=\0\0\0\x31\0"s, TextForm::NotText},
    };
    for (const auto& c : cases) {
        const IniReader reader = readerOf(c.bytes);
        EXPECT_TRUE(reader.entries().empty()) << c.bytes;
        EXPECT_EQ(reader.form(), c.form) << c.bytes;
    }
}

TEST(IniReaderFind, FirstLineOfAKeyWins) {
    const IniReader reader = readerOf("BAR_THICKNESS = 12\nBAR_THICKNESS = 13\n");
    EXPECT_EQ(reader.find("BAR_THICKNESS").asFloat(10.0f), 12.0f);
}

TEST(IniReaderFind, KeysAreCaseSensitive) {
    const IniReader reader = readerOf("hud_scale = 1 1\n");
    EXPECT_TRUE(reader.find("HUD_SCALE").absent);
    EXPECT_EQ(reader.find("HUD_SCALE").asFloatPair(0.44f, 0.859f), (FloatPair{0.44f, 0.859f}));
    EXPECT_FALSE(reader.find("hud_scale").absent);
}

TEST(IniReaderFind, KeyMustMatchInFullLength) {
    const IniReader reader = readerOf("MONEY_POS = 1\nMONEY_POS_TOP_X = 2\n");
    EXPECT_TRUE(reader.find("MONEY_POS_TOP").absent);
    EXPECT_TRUE(reader.find("MONEY").absent);
}

TEST(IniEntryString, QuotesAreRemovedOnlyFromAQuotedValue) {
    EXPECT_EQ(lineWithValue("\"Fist\"").find("K").asString("d"), "Fist");
    EXPECT_EQ(lineWithValue("\"").find("K").asString("d"), "\"");
    EXPECT_EQ(lineWithValue("\"\"").find("K").asString("d"), "");
    EXPECT_EQ(lineWithValue("\"Fist").find("K").asString("d"), "\"Fist");
    EXPECT_EQ(lineWithValue("Fist\"").find("K").asString("d"), "Fist\"");
    EXPECT_EQ(lineWithValue("Fist,Bat,").find("K").asString("d"), "Fist,Bat,");
}

TEST(IniEntryNoValue, OnlyTheTextConversionTellsAnEmptyValueFromAnAbsentKey) {
    const IniReader reader = readerOf("WEAPON_NAMES\n");
    const IniEntry empty = reader.find("WEAPON_NAMES");
    const IniEntry absent = reader.find("RADIO_NAMES");
    EXPECT_FALSE(empty.absent);
    EXPECT_TRUE(absent.absent);
    EXPECT_EQ(empty.asString("Nullss"), "");
    EXPECT_EQ(absent.asString("Nullss"), "Nullss");
    for (const IniEntry& entry : {empty, absent}) {
        SCOPED_TRACE(entry.absent ? "absent key" : "empty value");
        EXPECT_EQ(entry.asInt(7), 7);
        EXPECT_EQ(entry.asFloat(2.5f), 2.5f);
        EXPECT_FALSE(entry.asBool());
        EXPECT_TRUE(entry.asIntList().empty());
        EXPECT_TRUE(entry.asFloatList().empty());
        EXPECT_EQ(entry.asFloatPair(1.5f, 2.5f), (FloatPair{1.5f, 2.5f}));
        EXPECT_EQ(entry.asColor({9, 8, 7, 6}), (Rgba{9, 8, 7, 6}));
    }
}

TEST(IniEntryInt, ReadsTheDecimalIntegerAtTheStart) {
    const struct {
        const char* value;
        std::int32_t expected;
    } cases[] = {
        {"1", 1},
        {"1.9", 1},
        {"0x10", 0},
        {"+7", 7},
        {"-12", -12},
        {"007", 7},
        {"12 # thicker", 12},
        {"12abc", 12},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"00000000000000000000042", 42},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lineWithValue(c.value).find("K").asInt(4), c.expected) << c.value;
}

TEST(IniEntryInt, AnythingElseGivesTheDefault) {
    const char* cases[] = {"99999999999",
                           "2147483648",
                           "-2147483649",
                           "\"1\"",
                           "-",
                           "+",
                           "+-1",
                           "abc",
                           ".5",
                           "x1",
                           "99999999999999999999999"};
    for (const char* value : cases)
        EXPECT_EQ(lineWithValue(value).find("K").asInt(4), 4) << value;
}

TEST(IniEntryFloat, ReadsTheDecimalNumberAtTheStart) {
    const struct {
        const char* value;
        float expected;
    } cases[] = {
        {"0.44", 0.44f},     {"0.859", 0.859f},   {"33.33", 33.33f}, {".5", 0.5f},
        {"5.", 5.0f},        {"-2.5e-1", -0.25f}, {"+1.5", 1.5f},    {"1E3", 1000.0f},
        {"1e", 1.0f},        {"1e+", 1.0f},       {"2e-x", 2.0f},    {"3.5.1", 3.5f},
        {"0x1p3", 0.0f},     {"12;13", 12.0f},    {"-0", -0.0f},     {"1e-3 2", 0.001f},
        {"3.4e38", 3.4e38f}, {"1e-45", 1e-45f},   {"0e99999", 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lineWithValue(c.value).find("K").asFloat(-7.0f), c.expected) << c.value;
}

TEST(IniEntryFloat, AnythingElseGivesTheDefault) {
    // 1e-46 is closer to 0 than to the smallest float: outside the range like 1e39.
    const char* cases[] = {"1e39", "1e-46", "-1e39",    "nan", "NaN",
                           "inf",  "-inf",  "infinity", ".",   "-.",
                           "e5",   "",      "\"1\"",    "+-1", "1e99999999999"};
    for (const char* value : cases)
        EXPECT_EQ(lineWithValue(value).find("K").asFloat(-7.0f), -7.0f) << value;
}

TEST(IniEntryBool, OnlyTheListedWordsAreFalse) {
    for (const char* value : {"yes", "1", "true", "False", "off", "\"0\"", "00", "No"})
        EXPECT_TRUE(lineWithValue(value).find("K").asBool()) << value;
    for (const char* value : {"no", "NO", "0", "false", "FALSE", ""})
        EXPECT_FALSE(lineWithValue(value).find("K").asBool()) << value;
}

TEST(IniEntryLists, ReadNumbersUntilTheFirstFailure) {
    const auto ints = [](std::string_view value) {
        return lineWithValue(value).find("K").asIntList();
    };
    EXPECT_EQ(ints("1 2\t3"), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(ints("300 -1 0"), (std::vector<std::int32_t>{300, -1, 0}));
    EXPECT_EQ(ints("255,0,0"), (std::vector<std::int32_t>{255}));
    EXPECT_EQ(ints("1 99999999999 3"), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(ints("1.9 2"), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(ints("x 1"), (std::vector<std::int32_t>{}));

    const auto floats = [](std::string_view value) {
        return lineWithValue(value).find("K").asFloatList();
    };
    EXPECT_EQ(floats("0.5 1e2\t-3"), (std::vector<float>{0.5f, 100.0f, -3.0f}));
    EXPECT_EQ(floats("0.5 1e39 2"), (std::vector<float>{0.5f}));
    EXPECT_EQ(floats("1,2"), (std::vector<float>{1.0f}));
    EXPECT_EQ(floats("nan 1"), (std::vector<float>{}));
}

TEST(IniEntryFloatPair, MissingNumbersKeepTheirDefaults) {
    const auto pair = [](std::string_view value) {
        return lineWithValue(value).find("K").asFloatPair(0.44f, 0.859f);
    };
    EXPECT_EQ(pair("0.5"), (FloatPair{0.5f, 0.859f}));
    EXPECT_EQ(pair("0.5 0.25"), (FloatPair{0.5f, 0.25f}));
    EXPECT_EQ(pair("1 2 3"), (FloatPair{1.0f, 2.0f}));
    EXPECT_EQ(pair("1,2"), (FloatPair{1.0f, 0.859f}));
    EXPECT_EQ(pair("x 2"), (FloatPair{0.44f, 0.859f}));
    EXPECT_EQ(pair("1 1e39"), (FloatPair{1.0f, 0.859f}));
}

TEST(IniEntryColor, ComponentsTakeLowBitsAndMissingOnesKeepTheDefault) {
    const Rgba fallback{89, 115, 150, 255};
    const auto color = [&](std::string_view value) {
        return lineWithValue(value).find("K").asColor(fallback);
    };
    EXPECT_EQ(color("300 -1 0"), (Rgba{44, 255, 0, 255}));
    EXPECT_EQ(color("255,0,0"), (Rgba{255, 115, 150, 255}));
    EXPECT_EQ(color("0 255 0"), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(color("1 2 3 4 5"), (Rgba{1, 2, 3, 4}));
    EXPECT_EQ(color("10 20 x 40"), (Rgba{10, 20, 150, 255}));
    EXPECT_EQ(color("256 512 -256 1.5"), (Rgba{0, 0, 0, 1}));
}

// Whatever bytes a file holds, the reader gives entries that obey the line grammar and
// conversions that never produce a value outside their type's sense.
TEST(IniReaderRobustness, ArbitraryBytesGiveWellFormedEntries) {
    const std::string alphabet("  \t\t==##;;\"\"\r\n\n\n0123456789.-+eExAZaz\xEF\xBB\xBF\x80\xFF");
    std::mt19937 random(20240607u);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 160, '\0');
        for (char& byte : bytes) {
            const std::uint32_t pick = random();
            byte = (pick & 7) == 0 ? static_cast<char>(pick >> 8)
                                   : alphabet[(pick >> 8) % alphabet.size()];
        }
        const IniReader reader = readerOf(bytes);
        ASSERT_LE(reader.entries().size(),
                  static_cast<std::size_t>(std::count_if(
                      bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; })) +
                      1);
        for (const IniEntry& entry : reader.entries()) {
            ASSERT_FALSE(entry.key.empty()) << bytes;
            ASSERT_EQ(entry.key.find_first_of(std::string_view(" \t=#;\n")), std::string_view::npos)
                << bytes;
            ASSERT_EQ(entry.value.find_first_of(std::string_view("#;\n")), std::string_view::npos)
                << bytes;
            ASSERT_TRUE(entry.value.empty() ||
                        (entry.value.back() != ' ' && entry.value.back() != '\t'))
                << bytes;
            ASSERT_EQ(entry.quoted, entry.value.size() >= 2 && entry.value.front() == '"' &&
                                        entry.value.back() == '"')
                << bytes;
            ASSERT_EQ(reader.find(entry.key).key, entry.key);
            ASSERT_TRUE(std::isfinite(entry.asFloat(0.0f))) << bytes;
            for (float f : entry.asFloatList())
                ASSERT_TRUE(std::isfinite(f)) << bytes;
            const FloatPair pair = entry.asFloatPair(0.0f, 0.0f);
            ASSERT_TRUE(std::isfinite(pair.x) && std::isfinite(pair.y)) << bytes;
            ASSERT_LE(entry.asString("").size(), entry.value.size());
        }
    }
}

} // namespace

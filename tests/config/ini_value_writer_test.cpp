#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/ini_value_writer.h"
#include "config_test_support.h"

namespace {

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Shows bytes a line at a time with control bytes escaped, so a mismatch points at its place.
std::string readable(std::string_view bytes) {
    std::ostringstream out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out << c;
        } else {
            out << "\\x"
                << "0123456789ABCDEF"[byte >> 4] << "0123456789ABCDEF"[byte & 15];
            if (c == '\n' || c == '\r') out << '\n';
        }
    }
    return out.str();
}

} // namespace

// Each NAME.ini in edit_cases is a settings file; NAME.change holds three lines: the key, the
// value (UTF-8), and replaced, added or refused. NAME.expected holds the file after the write,
// byte for byte; a refused write leaves the file's bytes as they were.
TEST(IniValueWriter, EachEditCaseGivesItsExpectedBytes) {
    for (const auto& input : caseFilesIn("edit_cases")) {
        SCOPED_TRACE(input.string());
        std::filesystem::path changePath = input;
        std::istringstream change(bytesOf(changePath.replace_extension(".change")));
        std::string key, value, outcome;
        ASSERT_TRUE(std::getline(change, key) && std::getline(change, value) &&
                    std::getline(change, outcome));
        const std::string before = bytesOf(input);
        std::filesystem::path expectedPath = input;
        expectedPath.replace_extension(".expected");
        const std::string expected = outcome == "refused" ? before : bytesOf(expectedPath);
        ASSERT_FALSE(expected.empty());

        const IniWrite write = withIniValue(before, key, value);
        const char* done = write.outcome == IniWriteOutcome::Replaced ? "replaced"
                           : write.outcome == IniWriteOutcome::Added  ? "added"
                                                                      : "refused";
        EXPECT_EQ(done, outcome) << describe(write.outcome);
        EXPECT_EQ(readable(write.bytes), readable(expected));
        if (applied(write)) {
            EXPECT_EQ(readerOf(write.bytes).find(key).line, write.line);
        }
    }
}

TEST(IniValueWriter, NumbersAreWrittenShortAndReadBackTheSame) {
    EXPECT_EQ(numberText(312.5f), "312.5");
    EXPECT_EQ(numberText(0.44f), "0.44");
    EXPECT_EQ(numberText(-3.0f), "-3");
    EXPECT_EQ(numberText(33.33f), "33.33");
    EXPECT_EQ(numberText(-0.0f), "0");
    EXPECT_EQ(numberText(0.0000001f), "0.0000001");

    std::mt19937 random(38);
    std::uniform_real_distribution<float> layoutValues(-2000.0f, 2000.0f);
    for (int i = 0; i < 1000; ++i) {
        const float value = layoutValues(random);
        const std::string text = numberText(value);
        EXPECT_EQ(readerOf("K = " + text).find("K").asFloat(0.0f), value) << text;
    }
}

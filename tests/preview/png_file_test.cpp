// Frames written as PNG files, whole or not at all.
#include "preview/preview_support.h"
#include "support/plugin_session.h"
#include "tools/preview/render/png_file.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace preview;
using namespace preview_testing::colours;

TEST(PngFiles, AFrameReadsBackPixelForPixel) {
    const std::string path = testing_support::gameDirectory() + "round_trip.png";
    Image frame(3, 2, black);
    frame.set(0, 0, red);
    frame.set(2, 1, {10, 20, 30, 40});
    std::string error;
    ASSERT_TRUE(writePng(path, frame, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path + ".part")) << "the temporary name is gone";
    Image back;
    ASSERT_TRUE(readPng(path, back));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, frame.pixels);
    // Writing again replaces the file.
    ASSERT_TRUE(writePng(path, Image(1, 1, white), error)) << error;
    ASSERT_TRUE(readPng(path, back));
    EXPECT_EQ(back.width, 1);
    std::filesystem::remove(path);
}

TEST(PngFiles, AFailedWriteLeavesNothingBehind) {
    const std::string folder = testing_support::gameDirectory() + "no such folder\\";
    std::string error;
    EXPECT_FALSE(writePng(folder + "frame.png", Image(2, 2, red), error));
    EXPECT_EQ(error, "cannot write " + folder + "frame.png");
    const std::string path = testing_support::gameDirectory() + "empty.png";
    EXPECT_FALSE(writePng(path, Image(), error)) << "an empty image is no frame";
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST(PngFiles, AMissingOrBrokenFileReadsAsNoImage) {
    Image image(1, 1, red);
    EXPECT_FALSE(readPng(testing_support::gameDirectory() + "missing.png", image));
    EXPECT_TRUE(image.empty());
}

// The PPM text of a screenshot, byte for byte, without an OpenGL context:
// the header, the "%3d " cells, the top-row-first order and odd widths.
#include "framework/screenshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

// What writePpm writes for `pixels` (bottom row first).
std::string ppmText(const std::vector<std::uint8_t>& pixels, std::uint32_t width,
                    std::uint32_t height) {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        ADD_FAILURE() << "no temporary file";
        return "";
    }
    writePpm(file, pixels.data(), width, height);
    const long size = std::ftell(file);
    std::rewind(file);
    std::string text(static_cast<std::size_t>(size), '\0');
    const std::size_t read = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    text.resize(read);
    return text;
}

// The reference: one formatted write per pixel, as the format describes.
std::string referencePpm(const std::vector<std::uint8_t>& pixels, std::uint32_t width,
                         std::uint32_t height) {
    char cell[32];
    std::snprintf(cell, sizeof cell, "P3\n%d %d\n%d\n", static_cast<int>(width),
                  static_cast<int>(height), 255);
    std::string text = cell;
    for (std::uint32_t i = 0; i < height; ++i) {
        const std::size_t row = std::size_t{height - 1 - i} * width * 3;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &pixels[row + std::size_t{x} * 3];
            std::snprintf(cell, sizeof cell, "%3d %3d %3d ", p[0], p[1], p[2]);
            text += cell;
        }
        text += "\n";
    }
    return text;
}

TEST(PpmText, OneRedAndOneBluePixel) {
    EXPECT_EQ(ppmText({255, 0, 0, 0, 0, 255}, 2, 1), "P3\n2 1\n255\n255   0   0   0   0 255 \n");
}

TEST(PpmText, ValuesAreRightAlignedInThreeCharacters) {
    EXPECT_EQ(ppmText({7, 42, 100}, 1, 1), "P3\n1 1\n255\n  7  42 100 \n");
    EXPECT_EQ(ppmText({0, 9, 10}, 1, 1), "P3\n1 1\n255\n  0   9  10 \n");
    EXPECT_EQ(ppmText({99, 109, 255}, 1, 1), "P3\n1 1\n255\n 99 109 255 \n");
}

TEST(PpmText, TopRowComesFirst) {
    // Buffer row 0 is the bottom of the picture.
    EXPECT_EQ(ppmText({1, 2, 3, 4, 5, 6}, 1, 2), "P3\n1 2\n255\n  4   5   6 \n  1   2   3 \n");
}

TEST(PpmText, EveryByteValueMatchesTheFormattedWrite) {
    std::vector<std::uint8_t> pixels(256 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i / 3);
    }
    EXPECT_EQ(ppmText(pixels, 256, 1), referencePpm(pixels, 256, 1));
}

TEST(PpmText, OddWidthsHaveNoSkewOrPadding) {
    std::mt19937 random(1234);
    for (const std::uint32_t width : {1366u, 37u, 1u}) {
        const std::uint32_t height = 5;
        std::vector<std::uint8_t> pixels(std::size_t{width} * height * 3);
        for (auto& value : pixels) {
            value = static_cast<std::uint8_t>(random());
        }
        const std::string text = ppmText(pixels, width, height);
        EXPECT_EQ(text, referencePpm(pixels, width, height)) << width;
        const std::string header = "P3\n" + std::to_string(width) + " 5\n255\n";
        EXPECT_EQ(text.size(), header.size() + height * (std::size_t{width} * 12 + 1));
    }
}

TEST(PpmText, ZeroWidthGivesEmptyLinesAndZeroHeightTheHeaderAlone) {
    EXPECT_EQ(ppmText({}, 0, 3), "P3\n0 3\n255\n\n\n\n");
    EXPECT_EQ(ppmText({}, 4, 0), "P3\n4 0\n255\n");
    EXPECT_EQ(ppmText({}, 0, 0), "P3\n0 0\n255\n");
}

}  // namespace

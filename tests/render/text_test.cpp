// The HUD text's triangles and measures, against Debian's build of the font
// (its quad counts differ from older copies of it).
#include "render/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <glm/vec4.hpp>

namespace {

constexpr std::size_t kFloatsPerQuad = 12;

std::size_t quadCount(const std::vector<float>& vertices) {
    return vertices.size() / kFloatsPerQuad;
}

TEST(TextVertices, QuadCountsOfTheGameTexts) {
    EXPECT_EQ(buildTextVertices("PAUSED", 0, 0).size(), 26 * kFloatsPerQuad);  // 156 vertices
    EXPECT_EQ(quadCount(buildTextVertices("Press ESC to exit to the Menu", 0, 0)), 92u);
    EXPECT_TRUE(buildTextVertices("", 5, 5).empty());
}

// Twice the signed area of a triangle in clip space: positive when it is
// counter-clockwise there, that is front-facing.
float clipSpaceArea(const float* a, const float* b, const float* c) {
    const glm::mat4 projection = textProjection(1280, 720);
    const glm::vec4 p = projection * glm::vec4(a[0], a[1], 0, 1);
    const glm::vec4 q = projection * glm::vec4(b[0], b[1], 0, 1);
    const glm::vec4 r = projection * glm::vec4(c[0], c[1], 0, 1);
    return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
}

TEST(TextVertices, EachQuadIsTwoFrontFacingTrianglesOneFourThreeAndThreeTwoOne) {
    const std::vector<float> v = buildTextVertices("GAME OVER!", 3, 4);
    ASSERT_FALSE(v.empty());
    for (std::size_t q = 0; q < quadCount(v); ++q) {
        const float* t = &v[q * kFloatsPerQuad];
        SCOPED_TRACE(q);
        // Triangle vertices 1 4 3 | 3 2 1 of the font's quad (x0,y0) (x1,y0) (x1,y1) (x0,y1).
        EXPECT_EQ(t[4], t[6]);  // third vertex repeated
        EXPECT_EQ(t[5], t[7]);
        EXPECT_EQ(t[0], t[10]);  // first vertex closes the second triangle
        EXPECT_EQ(t[1], t[11]);
        EXPECT_EQ(t[2], t[0]);  // fourth and first share the left edge
        EXPECT_EQ(t[3], t[5]);  // fourth and third the bottom edge
        EXPECT_EQ(t[8], t[4]);  // second and third the right edge
        EXPECT_EQ(t[9], t[1]);  // second and first the top edge
        EXPECT_LT(t[0], t[4]);
        EXPECT_LT(t[1], t[5]);
        EXPECT_GT(clipSpaceArea(t, t + 2, t + 4), 0.0f);
        EXPECT_GT(clipSpaceArea(t + 6, t + 8, t + 10), 0.0f);
    }
}

TEST(TextVertices, CoordinatesAndOriginAreDoubled) {
    const std::vector<float> atOrigin = buildTextVertices("PAUSED", 0, 0);
    const std::vector<float> moved = buildTextVertices("PAUSED", 20, 30);
    ASSERT_EQ(atOrigin.size(), moved.size());
    for (std::size_t i = 0; i < moved.size(); i += 2) {
        EXPECT_EQ(moved[i], atOrigin[i] + 40.0f);
        EXPECT_EQ(moved[i + 1], atOrigin[i + 1] + 60.0f);
    }
    // The glyphs fill the doubled measured box, 2 x width by 2 x 12.
    float maxX = 0;
    float maxY = 0;
    for (std::size_t i = 0; i < atOrigin.size(); i += 2) {
        EXPECT_GE(atOrigin[i], 0.0f);
        EXPECT_GE(atOrigin[i + 1], 0.0f);
        maxX = std::max(maxX, atOrigin[i]);
        maxY = std::max(maxY, atOrigin[i + 1]);
    }
    EXPECT_LE(maxX, 2.0f * static_cast<float>(textWidth("PAUSED")));
    EXPECT_GT(maxX, 2.0f * static_cast<float>(textWidth("PAUSE")));
    EXPECT_LE(maxY, 24.0f);
    EXPECT_GE(maxY, 14.0f);
}

TEST(TextVertices, TextsPastTheScratchAreaAreCutAfter156Quads) {
    const std::string longText(60, 'W');
    const std::vector<float> cut = buildTextVertices(longText, 0, 0);
    ASSERT_EQ(quadCount(cut), static_cast<std::size_t>(kMaxTextQuads));
    // The quads kept are the text's first ones, mid-glyph if need be.
    const std::vector<float> prefix = buildTextVertices(longText.substr(0, 10), 0, 0);
    ASSERT_LT(quadCount(prefix), static_cast<std::size_t>(kMaxTextQuads));
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), cut.begin()));
}

TEST(TextVertices, LineFeedsStartALineTwelveUnitsLower) {
    const std::vector<float> one = buildTextVertices("AB", 0, 0);
    const std::vector<float> two = buildTextVertices("AB\nAB", 0, 0);
    ASSERT_EQ(two.size(), 2 * one.size());
    for (std::size_t i = 0; i < one.size(); i += 2) {
        EXPECT_EQ(two[one.size() + i], one[i]);
        EXPECT_EQ(two[one.size() + i + 1], one[i + 1] + 24.0f);
    }
}

TEST(TextVertices, CharactersWithoutAGlyphDrawAsBlanks) {
    EXPECT_EQ(buildTextVertices("A\tB\x7f", 0, 0), buildTextVertices("A B ", 0, 0));
    EXPECT_EQ(buildTextVertices("caf\xc3\xa9", 0, 0), buildTextVertices("caf  ", 0, 0));
    EXPECT_EQ(textWidth("A\x01"), textWidth("A "));
    EXPECT_EQ(textHeight("\x01"), 12);
}

TEST(TextVertices, EveryByteValueIsDrawnOrBlankedAndNothingOverruns) {
    std::string everyByte;
    for (int c = 1; c < 256; ++c) {
        everyByte += static_cast<char>(c);
    }
    std::string blanked = everyByte;
    std::replace_if(
        blanked.begin(), blanked.end(), [](char c) { return c != '\n' && (c < 32 || c > 126); },
        ' ');
    EXPECT_EQ(buildTextVertices(everyByte, 1, 2), buildTextVertices(blanked, 1, 2));
    EXPECT_EQ(textWidth(everyByte), textWidth(blanked));
    EXPECT_EQ(textHeight(everyByte), textHeight(blanked));
    // An embedded NUL is a blank too, not the end of the text.
    EXPECT_EQ(buildTextVertices(std::string("AB\0CD", 5), 0, 0), buildTextVertices("AB CD", 0, 0));
}

TEST(TextVertices, AMegabyteOfTextIsCutAt156QuadsAndMeasuredWhole) {
    const std::string huge(1 << 20, 'M');
    EXPECT_EQ(quadCount(buildTextVertices(huge, 0, 0)), static_cast<std::size_t>(kMaxTextQuads));
    EXPECT_EQ(textWidth(huge), static_cast<int>(huge.size()) * textWidth("M"));
    EXPECT_EQ(textHeight(std::string(1000, '\n')), 12000);
}

TEST(TextMeasures, WidthAndHeightInFontUnits) {
    EXPECT_EQ(textWidth("GAME OVER!"), 60);
    EXPECT_EQ(textHeight("GAME OVER!"), 12);
    EXPECT_EQ(textHeight("Score: 12"), 12);
    EXPECT_EQ(textWidth(""), 0);
    EXPECT_EQ(textHeight(""), 0);
    EXPECT_EQ(textHeight("a\nb"), 24);
    EXPECT_EQ(textHeight("a\n"), 12);
    EXPECT_EQ(textWidth("GAME OVER!\nA"), 60);
}

TEST(TextProjection, MapsWindowPixelsWithTheOriginTopLeft) {
    const glm::mat4 projection = textProjection(1280, 720);
    const glm::vec4 topRight = projection * glm::vec4(1280, 0, 0, 1);
    EXPECT_FLOAT_EQ(topRight.x, 1.0f);
    EXPECT_FLOAT_EQ(topRight.y, 1.0f);
    const glm::vec4 bottomLeft = projection * glm::vec4(0, 720, 0, 1);
    EXPECT_FLOAT_EQ(bottomLeft.x, -1.0f);
    EXPECT_FLOAT_EQ(bottomLeft.y, -1.0f);
    glm::mat4 expected(0.0f);
    expected[0][0] = 2.0f / 1280;
    expected[1][1] = -2.0f / 720;
    expected[2][2] = -1;
    expected[3] = glm::vec4(-1, 1, 0, 1);
    EXPECT_EQ(projection, expected);
}

}  // namespace

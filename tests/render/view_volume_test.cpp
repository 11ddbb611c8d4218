// The visibility test against the clip test it stands in for: what it
// rejects must be wholly outside the clip volume, what is near or inside it
// must be kept, and views or boxes that are not finite keep everything.
#include "render/view_volume.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>
#include <random>

#include "view/camera.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

BoundingBox cube(const glm::vec3& centre, float half) {
    return {centre - glm::vec3(half), centre + glm::vec3(half)};
}

// The game's camera at the start: behind and above the player, 20 away.
glm::mat4 startView(float zoom = 20.0f, float yaw = 3.14159f, float pitch = -0.6f) {
    Camera camera(60.0f, 1280.0f / 768.0f, 0.1f, 100.0f);
    camera.setYaw(yaw);
    camera.setPitch(pitch);
    camera.update(0, 0, zoom, false, false, false, glm::vec3(0.0f));
    return camera.getViewProjectionMatrix();
}

bool inClipVolume(const glm::mat4& viewProjection, const glm::vec3& point) {
    const glm::vec4 clip = viewProjection * glm::vec4(point, 1.0f);
    return std::abs(clip.x) <= clip.w && std::abs(clip.y) <= clip.w && std::abs(clip.z) <= clip.w;
}

TEST(BoundingBox, HoldsEveryPointAndIsEmptyForNone) {
    const BoundingBox box = boundsOf({{1, -2, 3}, {-1, 5, 0}, {0, 0, 7}});
    EXPECT_EQ(box.min, glm::vec3(-1, -2, 0));
    EXPECT_EQ(box.max, glm::vec3(1, 5, 7));
    const BoundingBox none = boundsOf({});
    EXPECT_GT(none.min.x, none.max.x);
}

TEST(BoundingBox, MovesWithTranslationRotationAndScale) {
    const BoundingBox log{{-1, -0.5f, -0.5f}, {1, 0.5f, 0.5f}};
    const BoundingBox moved = transformBounds(log, glm::translate(glm::mat4(1), {30, -1, 12}));
    EXPECT_EQ(moved.min, glm::vec3(29, -1.5f, 11.5f));
    EXPECT_EQ(moved.max, glm::vec3(31, -0.5f, 12.5f));
    // A quarter turn about y swaps the x and z extents.
    const BoundingBox turned =
        transformBounds(log, glm::rotate(glm::mat4(1), glm::radians(90.0f), {0, 1, 0}));
    EXPECT_NEAR(turned.min.x, -0.5f, 1e-6f);
    EXPECT_NEAR(turned.max.z, 1.0f, 1e-6f);
    const BoundingBox scaled = transformBounds(log, glm::scale(glm::mat4(1), {2, 3, 4}));
    EXPECT_EQ(scaled.max, glm::vec3(2, 1.5f, 2));
    // The game-over player matrix (-1 on the diagonal) is not affine.
    const BoundingBox projective = transformBounds(log, glm::mat4(-1.0f));
    EXPECT_EQ(projective.min, glm::vec3(-kInfinity));
    EXPECT_EQ(projective.max, glm::vec3(kInfinity));
}

TEST(ViewVolume, KeepsWhatIsInFrontAndRejectsWhatIsBehindBeyondOrBeside) {
    const ViewVolume view = ViewVolume::of(startView());
    EXPECT_TRUE(view.mayContain(cube({0, 0, 0}, 0.5f)));              // the player
    EXPECT_TRUE(view.mayContain({{-50, -1.5f, 5}, {50, -0.5f, 6}}));  // a row ahead
    EXPECT_FALSE(view.mayContain(cube({0, 0, -30}, 0.5f)));           // behind the eye
    EXPECT_FALSE(view.mayContain(cube({0, 0, 150}, 0.5f)));           // past the far plane
    EXPECT_FALSE(view.mayContain(cube({60, -1, 5}, 1.0f)));           // far to one side
    EXPECT_FALSE(view.mayContain(cube({-60, -1, 5}, 1.0f)));          // and the other
    EXPECT_FALSE(view.mayContain(cube({0, 60, 5}, 1.0f)));            // above the picture
    // A box across a plane is kept, however little of it is inside.
    EXPECT_TRUE(view.mayContain({{-200, -1, 5}, {200, 0, 5.5f}}));
}

TEST(ViewVolume, KeepsBoxesWithinTheMarginOfAPlane) {
    // Straight down the z axis: the far plane is z = -100 in eye space.
    const glm::mat4 viewProjection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
    const ViewVolume view = ViewVolume::of(viewProjection);
    EXPECT_TRUE(view.mayContain({{-1, -1, -100.2f}, {1, 1, -100.1f}}));
    EXPECT_FALSE(view.mayContain({{-1, -1, -102.0f}, {1, 1, -101.0f}}));
    // Just behind the near plane, closer than the margin: kept.
    EXPECT_TRUE(view.mayContain({{-0.01f, -0.01f, 0.0f}, {0.01f, 0.01f, 0.05f}}));
}

// Random boxes against orbited, panned and zoomed cameras: whatever is
// rejected has no corner or inner point inside the clip volume.
TEST(ViewVolume, RejectsOnlyBoxesWhollyOutsideTheClipVolume) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const auto within = [&](float low, float high) { return low + (high - low) * unit(random); };
    int rejected = 0;
    for (int camera = 0; camera < 40; ++camera) {
        const glm::mat4 viewProjection =
            startView(within(-30, 40), within(-4, 4), within(-1.5f, 1.5f));
        const ViewVolume view = ViewVolume::of(viewProjection);
        for (int boxIndex = 0; boxIndex < 200; ++boxIndex) {
            const glm::vec3 low(within(-120, 120), within(-10, 10), within(-60, 200));
            const BoundingBox box{low, low + glm::vec3(within(0, 100), within(0, 3), within(0, 3))};
            if (view.mayContain(box)) {
                continue;
            }
            ++rejected;
            for (int sample = 0; sample < 64; ++sample) {
                // The eight corners, then points inside.
                const glm::vec3 t =
                    sample < 8 ? glm::vec3(sample & 1, (sample >> 1) & 1, (sample >> 2) & 1)
                               : glm::vec3(unit(random), unit(random), unit(random));
                ASSERT_FALSE(inClipVolume(viewProjection, box.min + t * (box.max - box.min)))
                    << "camera " << camera << " box " << boxIndex;
            }
        }
    }
    EXPECT_GT(rejected, 1000);  // the test does reject, or it would save nothing
}

TEST(ViewVolume, ViewsOrBoxesThatAreNotFiniteKeepEverything) {
    const BoundingBox behind = cube({0, 0, -30}, 0.5f);
    // At zoom 0 the eye sits below the point it looks at: the matrix is NaN.
    const glm::mat4 zoomZero = startView(0.0f);
    ASSERT_TRUE(std::isnan(zoomZero[0][0]));
    EXPECT_TRUE(ViewVolume::of(zoomZero).mayContain(behind));
    glm::mat4 infinite = startView();
    infinite[2][1] = kInfinity;
    EXPECT_TRUE(ViewVolume::of(infinite).mayContain(behind));
    EXPECT_TRUE(ViewVolume::everything().mayContain(behind));

    const ViewVolume view = ViewVolume::of(startView());
    ASSERT_FALSE(view.mayContain(behind));
    EXPECT_TRUE(view.mayContain({{kNaN, 0, -30}, {0, 0, -29}}));
    EXPECT_TRUE(view.mayContain({{-kInfinity, 0, -30}, {0, 0, -29}}));
    EXPECT_TRUE(view.mayContain(boundsOf({})));
    // A negative zoom puts the eye in front of the player, looking back.
    const ViewVolume reversed = ViewVolume::of(startView(-20.0f));
    EXPECT_TRUE(reversed.mayContain(cube({0, 0, 0}, 0.5f)));
    EXPECT_TRUE(reversed.mayContain(cube({0, 0, -30}, 0.5f)));
    EXPECT_FALSE(reversed.mayContain(cube({0, 0, 40}, 0.5f)));
}

}  // namespace

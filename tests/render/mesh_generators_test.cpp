// The three mesh generators: counts, vertex and index layouts, winding of
// every triangle against its normals, and the sphere's limits.
#include "render/mesh_generators.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

namespace {

constexpr float kTolerance = 1e-5f;

glm::vec3 triangleNormal(const GeometryData& mesh, std::size_t triangle) {
    const glm::vec3& a = mesh.positions[mesh.indices[3 * triangle]];
    const glm::vec3& b = mesh.positions[mesh.indices[3 * triangle + 1]];
    const glm::vec3& c = mesh.positions[mesh.indices[3 * triangle + 2]];
    return glm::cross(b - a, c - a);
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectParallelArrays(const GeometryData& mesh) {
    EXPECT_EQ(mesh.normals.size(), mesh.positions.size());
    EXPECT_EQ(mesh.uvs.size(), mesh.positions.size());
    EXPECT_EQ(mesh.indices.size() % 3, 0u);
    for (const std::uint32_t index : mesh.indices) {
        ASSERT_LT(index, mesh.positions.size());
    }
}

TEST(BoxGeometry, FacesInOrderWithTheirCornersNormalsAndUvs) {
    const GeometryData box = createBoxGeometry(2, 4, 6);
    ASSERT_EQ(box.positions.size(), 24u);
    ASSERT_EQ(box.indices.size(), 36u);
    expectParallelArrays(box);
    const glm::vec3 normals[6] = {{0, 0, 1},  {0, 0, -1}, {1, 0, 0},
                                  {-1, 0, 0}, {0, 1, 0},  {0, -1, 0}};
    for (std::size_t f = 0; f < 6; ++f) {
        for (std::size_t v = 0; v < 4; ++v) {
            EXPECT_EQ(box.normals[4 * f + v], normals[f]) << f;
        }
        const auto first = static_cast<std::uint32_t>(4 * f);
        const std::vector<std::uint32_t> expected = {first,     first + 1, first + 2,
                                                     first + 2, first + 3, first};
        EXPECT_EQ(std::vector<std::uint32_t>(box.indices.begin() + 6 * static_cast<long>(f),
                                             box.indices.begin() + 6 * static_cast<long>(f) + 6),
                  expected);
    }
    EXPECT_EQ(box.positions[0], glm::vec3(-1, -2, 3));   // front
    EXPECT_EQ(box.positions[4], glm::vec3(1, -2, -3));   // back
    EXPECT_EQ(box.positions[10], glm::vec3(1, 2, -3));   // right
    EXPECT_EQ(box.positions[15], glm::vec3(-1, 2, -3));  // left
    EXPECT_EQ(box.positions[16], glm::vec3(-1, 2, -3));  // top
    EXPECT_EQ(box.positions[23], glm::vec3(-1, -2, 3));  // bottom
    const glm::vec2 frontUvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const glm::vec2 backUvs[4] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
    const glm::vec2 topUvs[4] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (std::size_t v = 0; v < 4; ++v) {
        EXPECT_EQ(box.uvs[v], frontUvs[v]);
        EXPECT_EQ(box.uvs[4 + v], backUvs[v]);
        EXPECT_EQ(box.uvs[16 + v], topUvs[v]);
        EXPECT_EQ(box.uvs[20 + v], frontUvs[v]);
    }
}

TEST(BoxGeometry, EveryTriangleWindsOutwardAlongItsFaceNormal) {
    const GeometryData box = createBoxGeometry(1, 1, 1);
    for (std::size_t t = 0; t < 12; ++t) {
        SCOPED_TRACE(t);
        expectNear(glm::normalize(triangleNormal(box, t)), box.normals[box.indices[3 * t]]);
        // Every corner is half a unit out along the normal.
        EXPECT_NEAR(glm::dot(box.positions[box.indices[3 * t]], box.normals[box.indices[3 * t]]),
                    0.5f, kTolerance);
    }
}

TEST(BoxGeometry, AFlatBoxStillHas24VerticesWithCoincidingFaces) {
    const GeometryData flat = createBoxGeometry(3, 0, 1);
    EXPECT_EQ(flat.positions.size(), 24u);
    EXPECT_EQ(flat.indices.size(), 36u);
    for (std::size_t v = 0; v < 4; ++v) {
        EXPECT_EQ(flat.positions[16 + v].y, 0.0f);  // top
        EXPECT_EQ(flat.positions[20 + v].y, 0.0f);  // bottom
    }
}

TEST(StripGeometry, ThousandSegmentsWhateverTheSize) {
    for (const glm::vec2& size : {glm::vec2(100, 1), glm::vec2(3, 7)}) {
        const GeometryData strip = createStripGeometry(size.x, size.y);
        ASSERT_EQ(strip.positions.size(), 2002u);
        ASSERT_EQ(strip.indices.size(), 6000u);
        expectParallelArrays(strip);
        expectNear(strip.positions.front(), {-size.x / 2, 0, -size.y / 2});
        expectNear(strip.positions.back(), {size.x / 2, 0, size.y / 2}, 1e-4f);
        EXPECT_EQ(strip.uvs[1], glm::vec2(0, 1));
        EXPECT_EQ(strip.uvs[2000], glm::vec2(1, 0));
        EXPECT_NEAR(strip.uvs[1001].x, 0.5f, kTolerance);
    }
}

TEST(StripGeometry, IndexPatternAndUpwardWinding) {
    const GeometryData strip = createStripGeometry(100, 1);
    EXPECT_EQ(std::vector<std::uint32_t>(strip.indices.begin(), strip.indices.begin() + 6),
              (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(std::vector<std::uint32_t>(strip.indices.end() - 6, strip.indices.end()),
              (std::vector<std::uint32_t>{1998, 1999, 2000, 2000, 1999, 2001}));
    for (std::size_t t = 0; t < 2000; ++t) {
        const glm::vec3 n = triangleNormal(strip, t);
        ASSERT_GT(n.y, 0.0f) << t;
        ASSERT_NEAR(n.x, 0.0f, kTolerance);
        ASSERT_NEAR(n.z, 0.0f, kTolerance);
    }
    for (const glm::vec3& normal : strip.normals) {
        ASSERT_EQ(normal, glm::vec3(0, 1, 0));
    }
}

TEST(SphereGeometry, TheSceneSphereCountsAndCapsFirst) {
    const GeometryData sphere = createSphereGeometry(18, 8, 0.24f);
    ASSERT_EQ(sphere.positions.size(), 128u);
    ASSERT_EQ(sphere.indices.size(), 756u);
    expectParallelArrays(sphere);
    const std::uint32_t lastRing = 2 + 6 * 18;
    // North and south cap triangles alternate, first of all.
    EXPECT_EQ(std::vector<std::uint32_t>(sphere.indices.begin(), sphere.indices.begin() + 6),
              (std::vector<std::uint32_t>{0, 3, 2, lastRing, lastRing + 1, 1}));
    EXPECT_EQ(
        std::vector<std::uint32_t>(sphere.indices.begin() + 102, sphere.indices.begin() + 108),
        (std::vector<std::uint32_t>{0, 2, 19, lastRing + 17, lastRing, 1}));
    // The first band triangles join ring 2 (vertex 20 on) to ring 1.
    EXPECT_EQ(
        std::vector<std::uint32_t>(sphere.indices.begin() + 108, sphere.indices.begin() + 114),
        (std::vector<std::uint32_t>{20, 3, 21, 3, 20, 2}));
    expectNear(sphere.positions[0], {0, 0.24f, 0});
    expectNear(sphere.positions[1], {0, -0.24f, 0});
    EXPECT_EQ(sphere.uvs[0], glm::vec2(0, 0));
    EXPECT_EQ(sphere.uvs[1], glm::vec2(0, 1));
    // Ring i, column j: uv (j / S, i / N).
    const glm::vec2 uv = sphere.uvs[2 + 2 * 18 + 9];
    EXPECT_NEAR(uv.x, 0.5f, kTolerance);
    EXPECT_NEAR(uv.y, 3.0f / 8.0f, kTolerance);
}

TEST(SphereGeometry, UnitNormalsRadiusAndOutwardWinding) {
    for (const float radius : {0.24f, 5.0f}) {
        const GeometryData sphere = createSphereGeometry(18, 8, radius);
        for (std::size_t v = 0; v < sphere.positions.size(); ++v) {
            EXPECT_NEAR(glm::length(sphere.normals[v]), 1.0f, kTolerance);
            EXPECT_NEAR(glm::length(sphere.positions[v]), radius, radius * kTolerance);
            expectNear(sphere.normals[v], sphere.positions[v] / radius);
        }
        for (std::size_t t = 0; t < sphere.indices.size() / 3; ++t) {
            const glm::vec3 centroid = sphere.positions[sphere.indices[3 * t]] +
                                       sphere.positions[sphere.indices[3 * t + 1]] +
                                       sphere.positions[sphere.indices[3 * t + 2]];
            ASSERT_GT(glm::dot(triangleNormal(sphere, t), centroid), 0.0f) << t;
        }
    }
    const GeometryData point = createSphereGeometry(6, 4, 0.0f);
    for (const glm::vec3& normal : point.normals) {
        EXPECT_NEAR(glm::length(normal), 1.0f, kTolerance);
    }
}

TEST(SphereGeometry, TwoLatitudeSegmentsShareOneRingAndHaveNoBands) {
    const GeometryData sphere = createSphereGeometry(5, 2, 1.0f);
    ASSERT_EQ(sphere.positions.size(), 2u + 5u);
    ASSERT_EQ(sphere.indices.size(), 6u * 5u);
    expectParallelArrays(sphere);
    // Both caps use the single ring that starts at vertex 2.
    EXPECT_EQ(std::vector<std::uint32_t>(sphere.indices.begin(), sphere.indices.begin() + 6),
              (std::vector<std::uint32_t>{0, 3, 2, 2, 3, 1}));
    for (std::size_t v = 2; v < 7; ++v) {
        EXPECT_NEAR(sphere.positions[v].y, 0.0f, kTolerance);
    }
}

TEST(SphereGeometry, FewerThanTwoLatitudeSegmentsGiveAnEmptyMesh) {
    for (const std::uint32_t latitude : {0u, 1u}) {
        const GeometryData sphere = createSphereGeometry(18, latitude, 1.0f);
        EXPECT_TRUE(sphere.positions.empty());
        EXPECT_TRUE(sphere.indices.empty());
        EXPECT_TRUE(sphere.normals.empty());
        EXPECT_TRUE(sphere.uvs.empty());
    }
    EXPECT_TRUE(createSphereGeometry(0, 8, 1.0f).indices.empty());
}

}  // namespace

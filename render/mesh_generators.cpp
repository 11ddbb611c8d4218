#include "render/mesh_generators.h"

#include <cmath>
#include <glm/geometric.hpp>

namespace {

constexpr std::uint32_t kStripSegments = 1000;
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;

struct BoxFace {
    glm::vec3 corners[4];  // multiples of the half extents (a, b, c)
    glm::vec3 normal;
    glm::vec2 uvs[4];
};

// Corner signs, normals and texture coordinates of the six faces, in order.
// The back face's uvs are the front pattern turned by half a turn.
const BoxFace kBoxFaces[6] = {
    {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}, {0, 0, 1}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {{{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
     {0, 0, -1},
     {{1, 1}, {0, 1}, {0, 0}, {1, 0}}},
    {{{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}, {1, 0, 0}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {{{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
     {-1, 0, 0},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {{{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}, {0, 1, 0}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
    {{{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
     {0, -1, 0},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
};

// Room for the final vertex and index counts, so no array grows twice.
void reserve(GeometryData& mesh, std::size_t vertices, std::size_t indices) {
    mesh.positions.reserve(vertices);
    mesh.normals.reserve(vertices);
    mesh.uvs.reserve(vertices);
    mesh.indices.reserve(indices);
}

void appendVertex(GeometryData& mesh, const glm::vec3& position, const glm::vec3& normal,
                  const glm::vec2& uv) {
    mesh.positions.push_back(position);
    mesh.normals.push_back(normal);
    mesh.uvs.push_back(uv);
}

void appendTriangle(GeometryData& mesh, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    mesh.indices.insert(mesh.indices.end(), {a, b, c});
}

}  // namespace

GeometryData createBoxGeometry(float width, float height, float depth) {
    const glm::vec3 half(width / 2.0f, height / 2.0f, depth / 2.0f);
    GeometryData mesh;
    reserve(mesh, 24, 36);
    std::uint32_t first = 0;
    for (const BoxFace& face : kBoxFaces) {
        for (int corner = 0; corner < 4; ++corner) {
            appendVertex(mesh, face.corners[corner] * half, face.normal, face.uvs[corner]);
        }
        appendTriangle(mesh, first, first + 1, first + 2);
        appendTriangle(mesh, first + 2, first + 3, first);
        first += 4;
    }
    return mesh;
}

GeometryData createStripGeometry(float length, float width) {
    GeometryData mesh;
    reserve(mesh, 2 * (kStripSegments + 1), 6 * kStripSegments);
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    const float segmentLength = length / static_cast<float>(kStripSegments);
    for (std::uint32_t k = 0; k <= kStripSegments; ++k) {
        const float x = static_cast<float>(k) * segmentLength - length * 0.5f;
        const float u = static_cast<float>(k) / static_cast<float>(kStripSegments);
        appendVertex(mesh, {x, 0.0f, -width / 2.0f}, up, {u, 0.0f});
        appendVertex(mesh, {x, 0.0f, width / 2.0f}, up, {u, 1.0f});
    }
    for (std::uint32_t k = 0; k < kStripSegments; ++k) {
        appendTriangle(mesh, 2 * k, 2 * k + 1, 2 * k + 2);
        appendTriangle(mesh, 2 * k + 2, 2 * k + 1, 2 * k + 3);
    }
    return mesh;
}

GeometryData createSphereGeometry(std::uint32_t longitudeSegments, std::uint32_t latitudeSegments,
                                  float radius) {
    GeometryData mesh;
    const std::uint32_t S = longitudeSegments;
    const std::uint32_t N = latitudeSegments;
    if (N < 2 || S == 0) {
        return mesh;
    }
    reserve(mesh, 2 + S * (N - 1), 6 * S * (N - 1));
    appendVertex(mesh, {0.0f, radius, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f});
    appendVertex(mesh, {0.0f, -radius, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 1.0f});

    const std::uint32_t lastRing = 2 + (N - 2) * S;
    for (std::uint32_t j = 0; j < S; ++j) {
        const std::uint32_t next = (j + 1) % S;
        appendTriangle(mesh, 0, 2 + next, 2 + j);
        appendTriangle(mesh, lastRing + j, lastRing + next, 1);
    }
    for (std::uint32_t i = 1; i < N; ++i) {
        const float theta = static_cast<float>(i) * kPi / static_cast<float>(N);
        for (std::uint32_t j = 0; j < S; ++j) {
            const float phi = 2.0f * static_cast<float>(j) * kPi / static_cast<float>(S);
            const glm::vec3 direction(std::sin(theta) * std::cos(phi), std::cos(theta),
                                      std::sin(theta) * std::sin(phi));
            const glm::vec3 position = radius * direction;
            const float length = glm::length(position);
            // A sphere of radius 0 still gets unit normals.
            const glm::vec3 normal = length > 0.0f ? position / length : direction;
            appendVertex(mesh, position, normal, {phi / kTwoPi, theta / kPi});
        }
    }
    for (std::uint32_t i = 2; i < N; ++i) {
        const std::uint32_t ring = 2 + (i - 1) * S;
        const std::uint32_t above = ring - S;
        for (std::uint32_t j = 0; j < S; ++j) {
            const std::uint32_t next = (j + 1) % S;
            appendTriangle(mesh, ring + j, above + next, ring + next);
            appendTriangle(mesh, above + next, ring + j, above + j);
        }
    }
    return mesh;
}

// CPU-side meshes and the three generators that make them.
//
// Every mesh is centred on the origin; callers place it with a model matrix.
// Triangles are counter-clockwise seen from outside. The layouts (vertex
// order, index order) are fixed, so tests and texture coordinates can rely on
// them.
#pragma once

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <vector>

struct GeometryData {
    std::vector<glm::vec3> positions;
    std::vector<std::uint32_t> indices;  // three per triangle
    std::vector<glm::vec3> normals;      // unit length, one per position
    std::vector<glm::vec2> uvs;          // one per position
};

// Box spanning ±width/2, ±height/2, ±depth/2: 24 vertices (four per face, so
// every face has flat normals) and 36 indices; faces front, back, right,
// left, top, bottom.
GeometryData createBoxGeometry(float width, float height, float depth);

// Flat upward strip in y = 0, x from -length/2 to +length/2, z from
// -width/2 to +width/2, cut into 1000 segments along x: 2002 vertices and
// 6000 indices whatever the size (the flowing water needs the vertices).
GeometryData createStripGeometry(float length, float width);

// Sphere with poles on the y axis: 2 pole vertices, latitudeSegments - 1
// rings of longitudeSegments vertices, no duplicated seam; cap triangles
// first. Fewer than 2 latitude segments (or no longitude segments) give an
// empty mesh, since the caps would index vertices that do not exist.
GeometryData createSphereGeometry(std::uint32_t longitudeSegments, std::uint32_t latitudeSegments,
                                  float radius);

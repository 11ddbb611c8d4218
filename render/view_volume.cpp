#include "render/view_volume.h"

#include <cmath>
#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>
#include <limits>

namespace {

// World units a box may lie outside a plane and still be drawn. The river's
// vertex stage lifts the water up to 0.04 off its strip; this is ample.
constexpr float kMarginUnits = 0.25f;
// Rounding allowed in one plane test, relative to the magnitudes summed:
// some 30 times a float's precision, for the GPU's two matrix products and
// this test's own sums.
constexpr float kRoundingAllowance = 2e-6f;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

bool isFinite(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool isFinite(const glm::mat4& m) {
    for (int column = 0; column < 4; ++column) {
        if (!isFinite(glm::vec3(m[column])) || !std::isfinite(m[column][3])) {
            return false;
        }
    }
    return true;
}

glm::vec4 rowOf(const glm::mat4& m, int row) {
    return {m[0][row], m[1][row], m[2][row], m[3][row]};
}

}  // namespace

BoundingBox boundsOf(const std::vector<glm::vec3>& points) {
    BoundingBox box{glm::vec3(kInfinity), glm::vec3(-kInfinity)};
    for (const glm::vec3& point : points) {
        box.min = glm::min(box.min, point);
        box.max = glm::max(box.max, point);
    }
    return box;
}

BoundingBox transformBounds(const BoundingBox& box, const glm::mat4& modelMatrix) {
    if (rowOf(modelMatrix, 3) != glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)) {
        return {glm::vec3(-kInfinity), glm::vec3(kInfinity)};
    }
    // Centre and half size: the half size grows by the magnitudes of the
    // linear part, which covers every rotated corner.
    const glm::vec3 centre = (box.min + box.max) * 0.5f;
    const glm::vec3 halfSize = (box.max - box.min) * 0.5f;
    const glm::mat3 linear(modelMatrix);
    const glm::vec3 movedCentre = linear * centre + glm::vec3(modelMatrix[3]);
    glm::vec3 movedHalfSize(0.0f);
    for (int column = 0; column < 3; ++column) {
        movedHalfSize += glm::abs(linear[column]) * halfSize[column];
    }
    return {movedCentre - movedHalfSize, movedCentre + movedHalfSize};
}

ViewVolume ViewVolume::of(const glm::mat4& viewProjection) {
    ViewVolume volume;
    if (!isFinite(viewProjection)) {
        return volume;
    }
    // Clip coordinates are rows of the matrix times (p, 1), so each of the
    // six conditions -w <= x, x <= w (and y, z) is a plane in world space.
    const glm::vec4 w = rowOf(viewProjection, 3);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const glm::vec4 r = rowOf(viewProjection, static_cast<int>(axis));
        const glm::vec4 size = glm::abs(w) + glm::abs(r);
        volume.planes_[2 * axis] = w + r;
        volume.planes_[2 * axis + 1] = w - r;
        volume.planeSizes_[2 * axis] = size;
        volume.planeSizes_[2 * axis + 1] = size;
    }
    volume.keepsEverything_ = false;
    return volume;
}

ViewVolume ViewVolume::everything() {
    return ViewVolume();
}

bool ViewVolume::mayContain(const BoundingBox& box) const {
    if (keepsEverything_ || !isFinite(box.min) || !isFinite(box.max)) {
        return true;
    }
    for (std::size_t i = 0; i < planes_.size(); ++i) {
        const glm::vec4& plane = planes_[i];
        // The corner furthest in along the plane's normal: if even it is
        // outside, the whole box is.
        const glm::vec4 corner(plane.x >= 0.0f ? box.max.x : box.min.x,
                               plane.y >= 0.0f ? box.max.y : box.min.y,
                               plane.z >= 0.0f ? box.max.z : box.min.z, 1.0f);
        const float inside = glm::dot(plane, corner);
        const float slack = kMarginUnits * glm::length(glm::vec3(plane)) +
                            kRoundingAllowance * glm::dot(planeSizes_[i], glm::abs(corner));
        if (std::isfinite(inside) && std::isfinite(slack) && inside < -slack) {
            return false;
        }
    }
    return true;
}

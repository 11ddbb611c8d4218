// Conservative visibility: world-space boxes around objects and the volume a
// camera's view-projection matrix keeps, so that draws which cannot put a
// single fragment on screen can be skipped.
//
// The test errs on the side of drawing. It rejects a box only when the
// whole box is outside one of the six clip planes (-w <= x, y, z <= w) by
// more than a margin that covers the river's wave lift and rounding, and it
// rejects nothing for a view that is not a finite matrix (a zoom of 0 makes
// the camera's matrix NaN) or for a box that is not finite. A box can still
// be kept although it is invisible (near a frustum corner, say); only the
// other mistake matters.
#pragma once

#include <array>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <vector>

// Axis-aligned box, world or model units. Empty (min > max) when made from
// no points.
struct BoundingBox {
    glm::vec3 min;
    glm::vec3 max;
};

// The smallest box holding every point.
BoundingBox boundsOf(const std::vector<glm::vec3>& points);

// The box around `box` once `modelMatrix` moves it (exact for the affine
// matrices objects are placed with; a matrix that is not affine gives an
// infinite box, which is always kept).
BoundingBox transformBounds(const BoundingBox& box, const glm::mat4& modelMatrix);

class ViewVolume {
  public:
    // The world-space volume that `viewProjection` maps into the clip volume.
    static ViewVolume of(const glm::mat4& viewProjection);
    // A volume that keeps every box (culling switched off).
    static ViewVolume everything();

    // False only when nothing inside `box` can be seen.
    bool mayContain(const BoundingBox& box) const;

  private:
    ViewVolume() = default;

    // Inside where dot(plane, (p, 1)) >= 0; the sizes are the same sums over
    // the matrix entries' magnitudes, to bound the rounding of that dot.
    std::array<glm::vec4, 6> planes_{};
    std::array<glm::vec4, 6> planeSizes_{};
    bool keepsEverything_ = true;
};

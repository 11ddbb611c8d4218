// One placed object: an indexed triangle mesh, a model matrix that places
// it, and, when it is drawn, GPU buffers and a shared material that shades it.
//
// The mesh never changes; objects move by having their model matrix
// replaced (the player) or their translation moved (the drifting logs). The
// rules read an object's place from its model matrix, so a run checked
// without a window builds the same objects without a material: they place
// and bound exactly like drawn ones, but own no GPU part and are never drawn.
// The normal matrix and the world bounds only serve drawing, so they are
// worked out when first asked for after a move, not at every move. Drawn
// objects keep positions, normals and texture coordinates in separate
// tightly packed buffers at attribute locations 0, 1 and 2, which every
// world shader reads.
#pragma once

#include <cstdint>
#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>

#include "render/gl_object.h"
#include "render/material.h"
#include "render/mesh_generators.h"
#include "render/view_volume.h"

class Geometry {
  public:
    // With a material, uploads `mesh` (needs the context); without one, the
    // object has no GPU part. The caller may discard the mesh afterwards.
    Geometry(const glm::mat4& modelMatrix, const GeometryData& mesh,
             std::shared_ptr<Material> material);

    static std::shared_ptr<Geometry> create(const glm::mat4& modelMatrix, const GeometryData& mesh,
                                            std::shared_ptr<Material> material);

    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    // Makes the material's shader current, sets "modelMatrix" and
    // "normalMatrix", lets the material send its uniforms, draws, and leaves
    // vertex array 0 bound. Per-frame uniforms ("viewProjMatrix") are the
    // caller's. Only for an object with a material.
    void draw();

    const std::shared_ptr<Material>& getMaterial() const { return material_; }
    const glm::mat4& getModelMatrix() const { return modelMatrix_; }
    void setModelMatrix(const glm::mat4& modelMatrix);
    // Moves the translation's x to `x` (world units), the rest kept: for an
    // object placed by a translation alone, the same matrix as
    // setModelMatrix(glm::translate(glm::mat4(1.0f), {x, y, z})). Inline:
    // the rules move every log this way every frame.
    void setTranslationX(float x) {
        modelMatrix_[3].x = x;
        placedIsCurrent_ = false;
    }
    // The mesh's box placed by the model matrix, in world units.
    const BoundingBox& getWorldBounds() const;
    std::uint32_t indexCount() const { return indexCount_; }

  private:
    // The buffers of a drawn object. Members are destroyed in reverse
    // order: the position, normal, texcoord and index buffers go first,
    // then the vertex array.
    struct GpuMesh {
        GlVertexArray vertexArray;
        GlBuffer indexBuffer;
        GlBuffer uvBuffer;
        GlBuffer normalBuffer;
        GlBuffer positionBuffer;
    };

    // Worked out from the model matrix when asked for after a move.
    struct Placed {
        glm::mat3 normalMatrix;   // transpose(inverse(model)) restricted to 3x3
        BoundingBox worldBounds;  // meshBounds_ moved by the model matrix
    };
    const Placed& placed() const;

    std::shared_ptr<Material> material_;  // outlives gpu_, declared first
    std::optional<GpuMesh> gpu_;          // none without a material
    std::uint32_t indexCount_ = 0;        // entries in the index buffer, not triangles
    glm::mat4 modelMatrix_;               // translation in the fourth column
    BoundingBox meshBounds_;              // model units, from the mesh's positions
    mutable Placed placed_;
    mutable bool placedIsCurrent_ = false;  // placed_ was worked out since the last move
};

// One drawable object: an indexed triangle mesh in GPU buffers, a model
// matrix that places it, and a shared material that shades it.
//
// The mesh is uploaded once and never changes; objects move by having their
// model matrix replaced whole (the player, the drifting logs). Positions,
// normals and texture coordinates live in separate tightly packed buffers at
// attribute locations 0, 1 and 2, which every world shader reads.
#pragma once

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <memory>

#include "render/gl_object.h"
#include "render/material.h"
#include "render/mesh_generators.h"
#include "render/view_volume.h"

class Geometry {
  public:
    // Uploads `mesh`; the caller may discard it afterwards. Needs the context.
    Geometry(const glm::mat4& modelMatrix, const GeometryData& mesh,
             std::shared_ptr<Material> material);

    static std::shared_ptr<Geometry> create(const glm::mat4& modelMatrix, const GeometryData& mesh,
                                            std::shared_ptr<Material> material);

    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    // Makes the material's shader current, sets "modelMatrix" and
    // "normalMatrix", lets the material send its uniforms, draws, and leaves
    // vertex array 0 bound. Per-frame uniforms ("viewProjMatrix") are the
    // caller's.
    void draw();

    const std::shared_ptr<Material>& getMaterial() const { return material_; }
    glm::mat4 getModelMatrix() const { return modelMatrix_; }
    // Also recomputes the normal matrix and the world bounds, unless the
    // matrix is bit for bit the one already held (a log that did not move).
    void setModelMatrix(const glm::mat4& modelMatrix);
    // The mesh's box placed by the model matrix, in world units.
    const BoundingBox& getWorldBounds() const { return worldBounds_; }
    std::uint32_t indexCount() const { return indexCount_; }

  private:
    // Members are destroyed in reverse order: the position, normal, texcoord
    // and index buffers go first, then the vertex array, then the material.
    std::shared_ptr<Material> material_;
    GlVertexArray vertexArray_;
    GlBuffer indexBuffer_;
    GlBuffer uvBuffer_;
    GlBuffer normalBuffer_;
    GlBuffer positionBuffer_;
    std::uint32_t indexCount_ = 0;  // entries in the index buffer, not triangles
    glm::mat4 modelMatrix_;         // translation in the fourth column
    // transpose(inverse(modelMatrix_)) restricted to 3x3, kept with the model
    // matrix so that objects that never move do not invert it every draw.
    glm::mat3 normalMatrix_;
    BoundingBox meshBounds_;   // model units, from the mesh's positions
    BoundingBox worldBounds_;  // meshBounds_ moved by modelMatrix_
};

#include "render/geometry.h"

#include <cassert>
#include <cstring>
#include <glm/matrix.hpp>
#include <utility>

namespace {

glm::mat3 normalMatrixOf(const glm::mat4& modelMatrix) {
    return glm::transpose(glm::mat3(glm::inverse(modelMatrix)));
}

template <typename Vertex>
GlBuffer uploadAttribute(GLuint location, const std::vector<Vertex>& values) {
    GlBuffer buffer = makeGlBuffer();
    glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size() * sizeof(Vertex)),
                 values.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, static_cast<GLint>(Vertex::length()), GL_FLOAT, GL_FALSE, 0,
                          nullptr);
    return buffer;
}

}  // namespace

Geometry::Geometry(const glm::mat4& modelMatrix, const GeometryData& mesh,
                   std::shared_ptr<Material> material)
    : material_(std::move(material)),
      indexCount_(static_cast<std::uint32_t>(mesh.indices.size())),
      modelMatrix_(modelMatrix),
      meshBounds_(boundsOf(mesh.positions)) {
    if (!material_) {
        return;
    }
    GpuMesh& gpu = gpu_.emplace();
    gpu.vertexArray = makeGlVertexArray();
    glBindVertexArray(gpu.vertexArray.get());
    gpu.positionBuffer = uploadAttribute(0, mesh.positions);
    gpu.normalBuffer = uploadAttribute(1, mesh.normals);
    gpu.uvBuffer = uploadAttribute(2, mesh.uvs);

    // Bound while the vertex array is, so the vertex array records it.
    gpu.indexBuffer = makeGlBuffer();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.indexBuffer.get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(mesh.indices.size() * sizeof(std::uint32_t)),
                 mesh.indices.data(), GL_STATIC_DRAW);

    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

std::shared_ptr<Geometry> Geometry::create(const glm::mat4& modelMatrix, const GeometryData& mesh,
                                           std::shared_ptr<Material> material) {
    return std::make_shared<Geometry>(modelMatrix, mesh, std::move(material));
}

void Geometry::setModelMatrix(const glm::mat4& modelMatrix) {
    if (std::memcmp(&modelMatrix, &modelMatrix_, sizeof modelMatrix) != 0) {
        modelMatrix_ = modelMatrix;
        placedIsCurrent_ = false;
    }
}

const Geometry::Placed& Geometry::placed() const {
    if (!placedIsCurrent_) {
        placed_ = Placed{normalMatrixOf(modelMatrix_), transformBounds(meshBounds_, modelMatrix_)};
        placedIsCurrent_ = true;
    }
    return placed_;
}

const BoundingBox& Geometry::getWorldBounds() const {
    return placed().worldBounds;
}

void Geometry::draw() {
    assert(gpu_ && "an object without a material is never drawn");
    Shader* shader = material_->getShader();
    shader->use();
    shader->setUniform("modelMatrix", modelMatrix_);
    shader->setUniform("normalMatrix", placed().normalMatrix);
    material_->setUniforms();
    glBindVertexArray(gpu_->vertexArray.get());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount_), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

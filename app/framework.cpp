#include "app/framework.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/console.h"
#include "render/gl_object.h"
#include "render/shader.h"

namespace {

constexpr int kLatticeSide = 8;   // 8 x 8 x 8 = 512 positions
constexpr int kQuadsPerSide = 6;  // 6 x 6 quads per layer, 8 layers: 1728 indices

struct BuiltInMesh {
    GlVertexArray vertexArray;
    GlBuffer vertexBuffer;
    GlBuffer indexBuffer;
    int indexCount = 0;
};

std::shared_ptr<Shader> defaultShader;
BuiltInMesh builtInMesh;

// A lattice of points in [-1, 1]^3 with a grid of quads in each z layer.
std::vector<float> latticePositions() {
    std::vector<float> positions;
    const float step = 2.0f / static_cast<float>(kLatticeSide - 1);
    for (int z = 0; z < kLatticeSide; ++z) {
        for (int y = 0; y < kLatticeSide; ++y) {
            for (int x = 0; x < kLatticeSide; ++x) {
                positions.insert(positions.end(), {-1.0f + step * static_cast<float>(x),
                                                   -1.0f + step * static_cast<float>(y),
                                                   -1.0f + step * static_cast<float>(z)});
            }
        }
    }
    return positions;
}

std::vector<std::uint32_t> latticeIndices() {
    std::vector<std::uint32_t> indices;
    const auto at = [](int x, int y, int z) {
        return static_cast<std::uint32_t>((z * kLatticeSide + y) * kLatticeSide + x);
    };
    for (int z = 0; z < kLatticeSide; ++z) {
        for (int y = 0; y < kQuadsPerSide; ++y) {
            for (int x = 0; x < kQuadsPerSide; ++x) {
                indices.insert(indices.end(), {at(x, y, z), at(x + 1, y, z), at(x + 1, y + 1, z),
                                               at(x + 1, y + 1, z), at(x, y + 1, z), at(x, y, z)});
            }
        }
    }
    return indices;
}

void uploadBuiltInMesh() {
    const std::vector<float> positions = latticePositions();
    const std::vector<std::uint32_t> indices = latticeIndices();

    builtInMesh.vertexArray = makeGlVertexArray();
    glBindVertexArray(builtInMesh.vertexArray.get());
    builtInMesh.vertexBuffer = makeGlBuffer();
    glBindBuffer(GL_ARRAY_BUFFER, builtInMesh.vertexBuffer.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(float)),
                 positions.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    builtInMesh.indexBuffer = makeGlBuffer();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, builtInMesh.indexBuffer.get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)), indices.data(),
                 GL_STATIC_DRAW);
    builtInMesh.indexCount = static_cast<int>(indices.size());
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

}  // namespace

bool initFramework() {
    if (glfwGetCurrentContext() == nullptr) {
        printLine("No context available. Exiting.");
        return false;
    }
    if (!GLEW_VERSION_3_0) {
        printLine("GLEW not available. Exiting.");
        return false;
    }
    GLint currentProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &currentProgram);
    if (currentProgram == 0) {
        defaultShader = std::make_shared<Shader>();
        defaultShader->use();
    }
    uploadBuiltInMesh();
    return true;
}

void destroyFramework() {
    builtInMesh.vertexBuffer.reset();
    builtInMesh.indexBuffer.reset();
    builtInMesh.vertexArray.reset();
    builtInMesh.indexCount = 0;
    defaultShader.reset();
}

int builtInMeshIndexCount() {
    return builtInMesh.indexCount;
}

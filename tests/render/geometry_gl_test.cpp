// Geometry against a real context: the upload's calls and the vertex
// array's recorded state, the draw's matrices and the state it leaves, and
// the order of destruction.
#include "render/geometry.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "support/gl_call_log.h"
#include "support/gl_context.h"
#include "support/render_helpers.h"

namespace {

using Lines = std::vector<std::string>;

// The name at the end of a call line such as "bindBuffer ARRAY 7".
std::string lastWord(const std::string& line) {
    return line.substr(line.rfind(' ') + 1);
}

class GeometryTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        shader_ = makeWorldTestShader(folder_);
        material_ = Material::create(shader_, {1.0f, 0.2f, 0.0f}, {0.1f, 0.2f, 0.3f}, 8.0f);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    ScratchFolder folder_ = ScratchFolder::besideTestExecutable();
    std::shared_ptr<Shader> shader_;
    std::shared_ptr<Material> material_;
};

TEST_F(GeometryTest, UploadPutsEachAttributeInItsOwnBufferAndTheIndicesInTheVertexArray) {
    const GeometryData box = createBoxGeometry(1, 1, 1);
    GlCallLog log;
    const Geometry geometry(glm::mat4(1.0f), box, material_);
    const Lines& calls = log.lines();
    ASSERT_EQ(calls.size(), 17u);
    const std::string vao = lastWord(calls[0]);
    const std::string positions = lastWord(calls[1]);
    const std::string normals = lastWord(calls[5]);
    const std::string uvs = lastWord(calls[9]);
    const std::string indices = lastWord(calls[13]);
    EXPECT_EQ(calls, (Lines{"bindVertexArray " + vao, "bindBuffer ARRAY " + positions,
                            "bufferData ARRAY 288 STATIC", "enableVertexAttribArray 0",
                            "vertexAttribPointer 0 3 FLOAT 0 0 0", "bindBuffer ARRAY " + normals,
                            "bufferData ARRAY 288 STATIC", "enableVertexAttribArray 1",
                            "vertexAttribPointer 1 3 FLOAT 0 0 0", "bindBuffer ARRAY " + uvs,
                            "bufferData ARRAY 192 STATIC", "enableVertexAttribArray 2",
                            "vertexAttribPointer 2 2 FLOAT 0 0 0", "bindBuffer ELEMENT " + indices,
                            "bufferData ELEMENT 144 STATIC", "bindVertexArray 0",
                            "bindBuffer ELEMENT 0"}));
    EXPECT_EQ(geometry.indexCount(), 36u);

    // The vertex array remembers the index buffer and one buffer per attribute.
    glBindVertexArray(static_cast<GLuint>(std::stoul(vao)));
    EXPECT_EQ(std::to_string(glInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING)), indices);
    const std::string expected[3] = {positions, normals, uvs};
    for (GLuint location = 0; location < 3; ++location) {
        GLint buffer = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        EXPECT_EQ(std::to_string(buffer), expected[location]);
    }
    glBindVertexArray(0);
}

TEST_F(GeometryTest, DrawSendsModelAndNormalMatricesBeforeTheMaterial) {
    const glm::mat4 model =
        glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), glm::vec3(2, 4, 8));
    Geometry geometry(model, createBoxGeometry(1, 1, 1), material_);
    glUseProgram(0);
    GlCallLog log;
    geometry.draw();
    const std::string program = std::to_string(shader_->programHandle());
    const Lines& calls = log.lines();
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[0], "useProgram " + program);
    EXPECT_EQ(calls[1], "uniformMatrix4fv modelMatrix");
    EXPECT_EQ(calls[2], "uniformMatrix3fv normalMatrix");
    EXPECT_EQ(calls[3], "uniform3f materialCoefficients 0.1 0.2 0.3");
    EXPECT_EQ(calls[5], "uniform3f baseColor 1 0.2 0");
    EXPECT_EQ(calls[6].rfind("bindVertexArray ", 0), 0u);
    EXPECT_EQ(calls[7], "bindVertexArray 0");

    const float* m = glm::value_ptr(model);
    EXPECT_EQ(log.matrix("modelMatrix"), std::vector<float>(m, m + 16));
    // Transposed inverse of the upper 3x3: for a scale, its reciprocal.
    const std::vector<float> normalMatrix = {0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 0.125f};
    const std::vector<float> sent = log.matrix("normalMatrix");
    ASSERT_EQ(sent.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(sent[i], normalMatrix[i], 1e-6f) << i;
    }
    EXPECT_EQ(glInteger(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(shader_->programHandle()));
}

// The normal matrix follows every replacement of the model matrix, also
// back to one held before, and a moved object is drawn with both new.
TEST_F(GeometryTest, NormalMatrixFollowsEachNewModelMatrix) {
    const glm::mat4 identity(1.0f);
    const glm::mat4 scaled = glm::scale(identity, glm::vec3(2, 4, 8));
    Geometry geometry(identity, createBoxGeometry(1, 1, 1), material_);
    const std::vector<float> unit = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const std::vector<float> reciprocal = {0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 0.125f};
    const glm::mat4 models[] = {identity, scaled, scaled, identity, scaled};
    for (const glm::mat4& model : models) {
        geometry.setModelMatrix(model);
        GlCallLog log;
        geometry.draw();
        const float* m = glm::value_ptr(model);
        EXPECT_EQ(log.matrix("modelMatrix"), std::vector<float>(m, m + 16));
        EXPECT_EQ(log.matrix("normalMatrix"), model == identity ? unit : reciprocal);
    }
}

TEST_F(GeometryTest, WorldBoundsAreTheMeshBoxWhereverTheModelMatrixPutsIt) {
    Geometry row(glm::translate(glm::mat4(1.0f), glm::vec3(0, -1, 5)), createBoxGeometry(100, 1, 1),
                 material_);
    EXPECT_EQ(row.getWorldBounds().min, glm::vec3(-50, -1.5f, 4.5f));
    EXPECT_EQ(row.getWorldBounds().max, glm::vec3(50, -0.5f, 5.5f));
    row.setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(3, 0, 0)));
    EXPECT_EQ(row.getWorldBounds().min, glm::vec3(-47, -0.5f, -0.5f));
    EXPECT_EQ(row.getWorldBounds().max, glm::vec3(53, 0.5f, 0.5f));
}

TEST_F(GeometryTest, NormalMatrixOfARotationIsTheRotationItself) {
    const glm::mat4 model = glm::rotate(glm::mat4(1.0f), 0.7f, glm::vec3(0, 1, 0));
    Geometry geometry(model, createBoxGeometry(1, 1, 1), material_);
    GlCallLog log;
    geometry.draw();
    const glm::mat3 rotation(model);
    const float* expected = glm::value_ptr(rotation);
    const std::vector<float> sent = log.matrix("normalMatrix");
    ASSERT_EQ(sent.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(sent[i], expected[i], 1e-6f) << i;
    }
}

TEST_F(GeometryTest, DestructionDeletesTheBuffersThenTheVertexArrayThenReleasesTheMaterial) {
    std::weak_ptr<Material> materialAlive = material_;
    Lines created;
    std::shared_ptr<Geometry> geometry;
    {
        GlCallLog log;
        geometry = Geometry::create(glm::mat4(1.0f), createSphereGeometry(6, 4, 1.0f),
                                    std::move(material_));
        created = log.lines();
    }
    ASSERT_EQ(created.size(), 17u);
    GlCallLog log;
    geometry.reset();
    EXPECT_EQ(log.lines(), (Lines{"deleteBuffers 1 " + lastWord(created[1]),
                                  "deleteBuffers 1 " + lastWord(created[5]),
                                  "deleteBuffers 1 " + lastWord(created[9]),
                                  "deleteBuffers 1 " + lastWord(created[13]),
                                  "deleteVertexArrays 1 " + lastWord(created[0])}));
    EXPECT_TRUE(materialAlive.expired());
}

}  // namespace

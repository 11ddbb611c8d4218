// The framework's start and end: its checks, the default program built only
// when none is current, and the built-in mesh, all of whose OpenGL objects
// the teardown deletes.
#include "app/framework.h"

#include <gtest/gtest.h>

#include "render/shader.h"
#include "support/gl_call_log.h"
#include "support/gl_context.h"

namespace {

using FrameworkTest = GlTest;

TEST_F(FrameworkTest, BuildsTheDefaultProgramWhenNoneIsCurrentAndReleasesIt) {
    glUseProgram(0);
    const GlCallLog log;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(initFramework());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const GLint defaultProgram = glInteger(GL_CURRENT_PROGRAM);
    EXPECT_NE(defaultProgram, 0);
    EXPECT_EQ(builtInMeshIndexCount(), 1728);

    GLint vertexArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(vertexArray, 0);

    destroyFramework();
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(glIsProgram(static_cast<GLuint>(defaultProgram)), GL_FALSE);
    EXPECT_EQ(builtInMeshIndexCount(), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The vertex and index buffers, the vertex array, the program's stages.
    EXPECT_EQ(log.created(GlObjectKind::Buffer).size(), 2u);
    EXPECT_EQ(log.created(GlObjectKind::VertexArray).size(), 1u);
    EXPECT_EQ(log.created(GlObjectKind::ShaderStage).size(), 2u);
    for (const GlObjectKind kind :
         {GlObjectKind::Buffer, GlObjectKind::VertexArray, GlObjectKind::ShaderStage}) {
        EXPECT_EQ(log.undeleted(kind), std::vector<GLuint>{}) << static_cast<int>(kind);
    }
    for (const GLuint buffer : log.created(GlObjectKind::Buffer)) {
        EXPECT_EQ(glIsBuffer(buffer), GL_FALSE) << buffer;
    }
}

TEST_F(FrameworkTest, LeavesAProgramThatIsAlreadyCurrentAlone) {
    const Shader existing;
    existing.use();
    ASSERT_TRUE(initFramework());
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(existing.programHandle()));
    destroyFramework();
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(existing.programHandle()));
}

TEST_F(FrameworkTest, RefusesToStartWithoutACurrentContext) {
    glfwMakeContextCurrent(nullptr);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(initFramework());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No context available. Exiting.\n");
    glfwMakeContextCurrent(window_);
}

}  // namespace

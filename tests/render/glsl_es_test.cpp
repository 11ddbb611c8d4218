// Desktop GLSL to GLSL ES 3.00: the exact text the browser's compiler gets.
#include "render/glsl_es.h"

#include <gtest/gtest.h>

#include "render/shader.h"

namespace {

const std::string kEsHeader = "#version 300 es\nprecision highp float;\nprecision highp int;\n";

TEST(GlslEs, TheVersionLineBecomesEsWithPrecisionsAndLineNumbersKept) {
    EXPECT_EQ(toGlslEs300("#version 430 core\n// water\nin vec2 uv;\nvoid main() {}\n"),
              kEsHeader + "#line 2\n// water\nin vec2 uv;\nvoid main() {}\n");
    EXPECT_EQ(toGlslEs300("void main() {}"), kEsHeader + "#line 1\nvoid main() {}\n");
}

TEST(GlslEs, UniformInitialisersAreDroppedAndNothingElse) {
    EXPECT_EQ(toGlslEs300(defaultFragmentShaderSource),
              kEsHeader +
                  "#line 2\nuniform vec3 fragColor; \nout vec4 color; \nvoid main() {  \n\tcolor = "
                  "vec4(fragColor, 1); \n}\n");
    const std::string kept = "uniform float time; // = seconds\nfloat x = 1.0;\n";
    EXPECT_EQ(toGlslEs300("#version 430 core\n" + kept), kEsHeader + "#line 2\n" + kept);
}

}  // namespace

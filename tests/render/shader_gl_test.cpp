// Shader programs against a real context: building with its console lines,
// the location cache, destruction, and every fatal path, none of which
// leaves a shader stage behind.
#include "render/shader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "support/console_capture.h"
#include "support/gl_call_log.h"
#include "support/gl_context.h"
#include "support/scratch_folder.h"

namespace {

const char* kVertex =
    "#version 430 core\nlayout(location = 0) in vec3 position;\nuniform mat4 modelMatrix;\n"
    "void main() { gl_Position = modelMatrix * vec4(position, 1.0); }\n";
const char* kFragment =
    "#version 430 core\nuniform vec3 baseColor;\nout vec4 color;\n"
    "void main() { color = vec4(baseColor, 1.0); }\n";
// Compiles, but reads an input no vertex stage writes: a link error.
const char* kUnmatchedInput =
    "#version 430 core\nin vec3 neverWritten;\nout vec4 color;\n"
    "void main() { color = vec4(neverWritten, 1.0); }\n";

int locationQueries = 0;
GLint GLAPIENTRY countingGetUniformLocation(GLuint program, const GLchar* name);
GlFunctionOverride<PFNGLGETUNIFORMLOCATIONPROC>* locationOverride = nullptr;

GLint GLAPIENTRY countingGetUniformLocation(GLuint program, const GLchar* name) {
    ++locationQueries;
    return locationOverride->original()(program, name);
}

// Shader files are found by the asset search, so they are written next to
// the test executable and named relative to it.
class ShaderTest : public GlTest {
  protected:
    std::string write(const std::string& name, const std::string& source) {
        tree_.write(name, source);
        return tree_.assetPath(name);
    }
    ScratchFolder tree_ = ScratchFolder::besideTestExecutable();
};

using ShaderDeathTest = ShaderTest;

TEST_F(ShaderTest, FileShaderPrintsOneReadLinePerStageWithThePathsAsGiven) {
    const std::string vertex = write("a.vert", kVertex);
    const std::string fragment = write("a.frag", kFragment);
    testing::internal::CaptureStdout();
    const Shader shader(vertex, fragment);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Read shader: " + vertex + "\nRead shader: " + fragment + "\n");
    EXPECT_EQ(glIsProgram(shader.programHandle()), GL_TRUE);
}

TEST_F(ShaderTest, BuiltInProgramBuildsSilently) {
    testing::internal::CaptureStdout();
    const Shader shader;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(glIsProgram(shader.programHandle()), GL_TRUE);
}

TEST_F(ShaderTest, EveryGamePairCompilesAndLinks) {
    for (const char* name : {"score", "river", "basicTexture", "basicColor"}) {
        const std::string base = std::string("assets/shaders/") + name;
        testing::internal::CaptureStdout();
        const std::shared_ptr<Shader> shader =
            Shader::create((base + ".vert").c_str(), (base + ".frag").c_str());
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "Read shader: " + base + ".vert\nRead shader: " + base + ".frag\n");
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << name;
    }
}

TEST_F(ShaderTest, BothStagesAreDeletedOnceLinked) {
    const std::string vertex = write("a.vert", kVertex);
    const std::string fragment = write("a.frag", kFragment);
    const GlCallLog log;
    testing::internal::CaptureStdout();
    const Shader fromFiles(vertex, fragment);
    const Shader builtIn;
    testing::internal::GetCapturedStdout();
    const std::vector<GLuint> stages = log.created(GlObjectKind::ShaderStage);
    EXPECT_EQ(stages.size(), 4u);
    EXPECT_EQ(log.undeleted(GlObjectKind::ShaderStage), std::vector<GLuint>{});
    for (const GLuint stage : stages) {
        EXPECT_EQ(glIsShader(stage), GL_FALSE) << stage;
    }
}

TEST_F(ShaderTest, AsksOpenGlForEachUniformNameOnceMissingOnesIncluded) {
    Shader shader(write("a.vert", kVertex), write("a.frag", kFragment));
    shader.use();
    GlFunctionOverride<PFNGLGETUNIFORMLOCATIONPROC> counting(__glewGetUniformLocation,
                                                             countingGetUniformLocation);
    locationOverride = &counting;
    locationQueries = 0;
    const GLint first = shader.getUniformLocation("baseColor");
    EXPECT_GE(first, 0);
    EXPECT_EQ(shader.getUniformLocation(std::string("baseColor")), first);
    shader.setUniform("noSuchUniform", 1.0f);
    shader.setUniform("noSuchUniform", 2.0f);
    EXPECT_EQ(shader.getUniformLocation("noSuchUniform"), -1);
    EXPECT_EQ(locationQueries, 2);
    locationOverride = nullptr;
}

TEST_F(ShaderTest, SwapExchangesTheProgramsWithTheirCachedLocations) {
    Shader fromFiles(write("a.vert", kVertex), write("a.frag", kFragment));
    Shader builtIn;
    const GLuint filesProgram = fromFiles.programHandle();
    const GLuint builtInProgram = builtIn.programHandle();
    const GLint baseColor = fromFiles.getUniformLocation("baseColor");
    ASSERT_GE(baseColor, 0);
    fromFiles.swap(builtIn);
    EXPECT_EQ(fromFiles.programHandle(), builtInProgram);
    EXPECT_EQ(builtIn.programHandle(), filesProgram);
    GlFunctionOverride<PFNGLGETUNIFORMLOCATIONPROC> counting(__glewGetUniformLocation,
                                                             countingGetUniformLocation);
    locationOverride = &counting;
    locationQueries = 0;
    EXPECT_EQ(builtIn.getUniformLocation("baseColor"), baseColor);
    EXPECT_EQ(locationQueries, 0);
    EXPECT_EQ(fromFiles.getUniformLocation("baseColor"), -1);
    EXPECT_EQ(locationQueries, 1);
    locationOverride = nullptr;
}

TEST_F(ShaderTest, SettersWriteTheValueIntoTheCurrentProgram) {
    Shader shader(write("a.vert", kVertex), write("a.frag", kFragment));
    shader.use();
    shader.setUniform("baseColor", glm::vec3(0.25f, 0.5f, 0.75f));
    float value[3] = {};
    glGetUniformfv(shader.programHandle(), shader.getUniformLocation("baseColor"), value);
    EXPECT_FLOAT_EQ(value[0], 0.25f);
    EXPECT_FLOAT_EQ(value[1], 0.5f);
    EXPECT_FLOAT_EQ(value[2], 0.75f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderTest, DestroyingAnyShaderLeavesNoProgramCurrent) {
    const Shader kept;
    {
        const Shader doomed;
        kept.use();
        EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(kept.programHandle()));
    }
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
}

TEST_F(ShaderDeathTest, AMissingVertexFileStopsBeforeTheFragmentFile) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            Shader("no/such.vert", write("a.frag", kFragment));
        },
        ::testing::ExitedWithCode(1), "^Could not find shader file: no/such\\.vert\n$");
}

// A death test's child runs the test body again, so its files live in a
// folder of another name; the expected lines match any such folder.
const std::string kTempFolder = "quorland-scratch-[^/]+/";

TEST_F(ShaderDeathTest, ACompileErrorPrintsTheReferenceAndTheLog) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            Shader(write("a.vert", kVertex),
                   write("bad.frag", "#version 430 core\nvoid main() { oops }\n"));
        },
        ::testing::ExitedWithCode(1),
        "^Read shader: " + kTempFolder + "a\\.vert\nFailed to compile shader: " + kTempFolder +
            "bad\\.frag\n.*error.*\n");
}

TEST_F(ShaderDeathTest, AVertexCompileErrorEndsTheProgramBeforeTheFragmentIsRead) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            Shader(write("bad.vert", "#version 430 core\nbroken"), "no/such.frag");
        },
        ::testing::ExitedWithCode(1),
        "^Failed to compile shader: " + kTempFolder + "bad\\.vert\n[^\n]+\n$");
}

TEST_F(ShaderDeathTest, ALinkErrorPrintsTheProgramLog) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            Shader(write("a.vert", kVertex), write("b.frag", kUnmatchedInput));
        },
        ::testing::ExitedWithCode(1),
        "\nRead shader: " + kTempFolder + "b\\.frag\nFailed to link shader program:\n.+");
}

// The stages of a death test's build, reported as its child exits.
GlCallLog* stageLog = nullptr;
void printStagesAtExit() {
    std::fprintf(stderr, "stages created %zu, left %zu\n",
                 stageLog->created(GlObjectKind::ShaderStage).size(),
                 stageLog->undeleted(GlObjectKind::ShaderStage).size());
}

PFNGLCREATESHADERPROC realCreateShader = nullptr;
GLuint GLAPIENTRY refuseFragmentStages(GLenum type) {
    return type == GL_FRAGMENT_SHADER ? 0 : realCreateShader(type);
}

TEST_F(ShaderDeathTest, EveryStageMadeBeforeAFailureIsDeleted) {
    struct Case {
        std::string vertex;
        std::string fragment;
        std::string message;  // the failure's first line, as a regular expression
        int stages;           // created by the build, the failing one included
        bool refuseFragment = false;
    };
    const std::string good = write("a.vert", kVertex);
    std::filesystem::create_symlink("/proc/self/mem", tree_.path() / "io_error.frag");
    const std::vector<Case> cases{
        {write("bad.vert", "#version 430 core\nbroken"), "no/such.frag",
         "Failed to compile shader: ", 1},
        {good, "no/such.frag", "Could not find shader file: ", 1},
        {good, tree_.assetPath("io_error.frag"), "Unable to load file\\[", 1},
        {good, write("a.frag", kFragment), "Failed to create 35632", 1, true},
        {good, write("bad.frag", "#version 430 core\nvoid main() { oops }\n"),
         "Failed to compile shader: ", 2},
        {good, write("b.frag", kUnmatchedInput), "Failed to link shader program:", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EXIT(
            {
                routeConsoleForDeathTest();
                std::optional<GlFunctionOverride<PFNGLCREATESHADERPROC>> refusing;
                if (c.refuseFragment) {
                    refusing.emplace(__glewCreateShader, refuseFragmentStages);
                    realCreateShader = refusing->original();
                }
                stageLog = new GlCallLog;
                std::atexit(printStagesAtExit);
                Shader(c.vertex, c.fragment);
            },
            ::testing::ExitedWithCode(1),
            "(^|\n)" + c.message + ".*\nstages created " + std::to_string(c.stages) +
                ", left 0\n$");
    }
}

// As root no permission keeps a file from being read, so the read error comes
// from a link to a file that opens but cannot be read from its start.
TEST_F(ShaderDeathTest, AFileWhoseReadFailsIsReportedNotThrown) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            std::filesystem::create_symlink("/proc/self/mem", tree_.path() / "io_error.vert");
            Shader(tree_.assetPath("io_error.vert"), write("a.frag", kFragment));
        },
        ::testing::ExitedWithCode(1),
        "^Unable to load file\\[.*/" + kTempFolder + "io_error\\.vert\\]!\n$");
}

TEST_F(ShaderDeathTest, EmptyGarbageAndHugeFilesAreCompileErrors) {
    const std::string huge = "#version 430 core\n" + std::string(4 << 20, 'x') + "\n";
    for (const std::string& source : {std::string(), std::string("\x01\xff\0garbage", 10), huge}) {
        EXPECT_EXIT(
            {
                routeConsoleForDeathTest();
                Shader(write("odd.vert", source), write("a.frag", kFragment));
            },
            ::testing::ExitedWithCode(1),
            "^Failed to compile shader: " + kTempFolder + "odd\\.vert\n");
    }
}

TEST_F(ShaderDeathTest, AFolderNamedLikeTheFileIsAMissingFile) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            tree_.makeFolder("folder.vert");
            Shader(tree_.assetPath("folder.vert"), write("a.frag", kFragment));
        },
        ::testing::ExitedWithCode(1),
        "^Could not find shader file: " + kTempFolder + "folder\\.vert\n$");
}

}  // namespace

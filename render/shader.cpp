#include "render/shader.h"

#include <array>
#include <fstream>
#include <utility>
#include <vector>

#include <glm/gtc/type_ptr.hpp>

#include "framework/asset_path.h"
#include "framework/console.h"
#include "framework/platform.h"

const std::string defaultVertexShaderSource =
    "#version 410\nlayout(location = 0) in vec3 position;\nvoid main() {\n\tgl_Position = "
    "vec4(position.x, position.y, position.z, 1);\n}";
const std::string defaultFragmentShaderSource =
    "#version 410 \nuniform vec3 fragColor = vec3(0.96, 0.663, 0.722); \nout vec4 color; \nvoid "
    "main() {  \n\tcolor = vec4(fragColor, 1); \n}";

namespace {

// Ends the program after a failed build. `builtStage` is the stage already
// compiled for this program (0 when none), deleted first so that no stage
// outlives the build, on any path.
[[noreturn]] void abandonBuild(GLuint builtStage) {
    if (builtStage != 0) {
        glDeleteShader(builtStage);
    }
    exitAfterKeypress();
}

// Reads a shader source file found by the asset search; fatal when it is
// missing, cannot be opened, or a read fails part-way (an I/O error). The
// file is read with istream::read, which turns the file buffer's read error
// into the stream's bad state; reading through the buffer directly would let
// that error escape as an exception and abort the game.
std::string readShaderFile(const std::string& relativePath, GLuint builtStage) {
    const std::string resolved = findAssetFile(relativePath);
    if (resolved.empty()) {
        printFatalLine("Could not find shader file: " + relativePath);
        abandonBuild(builtStage);
    }
    std::ifstream stream(resolved);
    std::string source;
    std::array<char, 4096> chunk{};
    while (stream.good()) {
        stream.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        source.append(chunk.data(), static_cast<std::size_t>(stream.gcount()));
    }
    if (!stream.eof() || stream.bad()) {
        printFatalLine("Unable to load file[" + resolved + "]!");
        abandonBuild(builtStage);
    }
    return source;
}

// An info log fetched into a buffer of exactly the length OpenGL reports.
// Drivers end logs with a line feed; it is dropped so that the log does not
// print as an extra empty line.
std::string fetchLog(GLint length, void (*fetch)(GLsizei, GLchar*, GLuint), GLuint object) {
    std::vector<GLchar> buffer(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    fetch(length, buffer.data(), object);
    std::string log(buffer.data());
    while (!log.empty() && log.back() == '\n') {
        log.pop_back();
    }
    return log;
}

}  // namespace

Shader::Shader(const std::string& vertexPath, const std::string& fragmentPath)
    : vertexReference_(vertexPath), fragmentReference_(fragmentPath), sourcesAreText_(false) {
    buildProgram();
}

Shader::Shader()
    : vertexReference_(defaultVertexShaderSource),
      fragmentReference_(defaultFragmentShaderSource),
      sourcesAreText_(true) {
    buildProgram();
}

std::shared_ptr<Shader> Shader::create(const char* vertexPath, const char* fragmentPath) {
    return std::make_shared<Shader>(vertexPath, fragmentPath);
}

void Shader::swap(Shader& other) noexcept {
    std::swap(program_, other.program_);
    vertexReference_.swap(other.vertexReference_);
    fragmentReference_.swap(other.fragmentReference_);
    std::swap(sourcesAreText_, other.sourcesAreText_);
    // The cache's keys view into the name nodes, which stay where they are.
    uniformNames_.swap(other.uniformNames_);
    uniformLocations_.swap(other.uniformLocations_);
}

void Shader::buildProgram() {
    const GLuint vertexStage = compileStage(vertexReference_, GL_VERTEX_SHADER, 0);
    const GLuint fragmentStage = compileStage(fragmentReference_, GL_FRAGMENT_SHADER, vertexStage);

    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexStage);
    glAttachShader(program, fragmentStage);
    glLinkProgram(program);

    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_FALSE) {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        const std::string log = fetchLog(
            length,
            [](GLsizei size, GLchar* out, GLuint object) {
                glGetProgramInfoLog(object, size, nullptr, out);
            },
            program);
        printFatalLine("Failed to link shader program:");
        printFatalLine(log);
        glDeleteProgram(program);
        glDeleteShader(vertexStage);
        glDeleteShader(fragmentStage);
        exitAfterKeypress();
    }
    glDetachShader(program, vertexStage);
    glDetachShader(program, fragmentStage);
    glDeleteShader(vertexStage);
    glDeleteShader(fragmentStage);
    program_ = GlProgram(program);
}

GLuint Shader::compileStage(const std::string& stageReference, GLenum stageType,
                            GLuint builtStage) const {
    const std::string source = platformShaderSource(
        sourcesAreText_ ? stageReference : readShaderFile(stageReference, builtStage));

    const GLuint stage = glCreateShader(stageType);
    if (stage == 0) {
        printFatalLine("Failed to create " + std::to_string(stageType));
        abandonBuild(builtStage);
    }
    const GLchar* text = source.c_str();
    glShaderSource(stage, 1, &text, nullptr);
    glCompileShader(stage);

    GLint compiled = GL_FALSE;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_FALSE && glIsShader(stage) == GL_TRUE) {
        if (!sourcesAreText_) {
            printLine("Read shader: " + stageReference);
        }
        return stage;
    }
    GLint length = 0;
    glGetShaderiv(stage, GL_INFO_LOG_LENGTH, &length);
    const std::string log = fetchLog(
        length,
        [](GLsizei size, GLchar* out, GLuint object) {
            glGetShaderInfoLog(object, size, nullptr, out);
        },
        stage);
    printFatalLine("Failed to compile shader: " + stageReference);
    printFatalLine(log);
    glDeleteShader(stage);
    abandonBuild(builtStage);
}

void Shader::use() const {
    glUseProgram(program_.get());
}

GLint Shader::getUniformLocation(std::string_view name) {
    const auto cached = uniformLocations_.find(name);
    if (cached != uniformLocations_.end()) {
        return cached->second;
    }
    const std::string& stored = uniformNames_.emplace_front(name);
    const GLint location = glGetUniformLocation(program_.get(), stored.c_str());
    uniformLocations_.emplace(stored, location);
    return location;
}

void Shader::setUniform(std::string_view name, float value) {
    const GLint location = getUniformLocation(name);
    if (location != -1) {
        glUniform1f(location, value);
    }
}

void Shader::setUniform(std::string_view name, GLint value) {
    const GLint location = getUniformLocation(name);
    if (location != -1) {
        glUniform1i(location, value);
    }
}

void Shader::setUniform(std::string_view name, const glm::vec2& value) {
    const GLint location = getUniformLocation(name);
    if (location != -1) {
        glUniform2f(location, value.x, value.y);
    }
}

void Shader::setUniform(std::string_view name, const glm::vec3& value) {
    const GLint location = getUniformLocation(name);
    if (location != -1) {
        glUniform3f(location, value.x, value.y, value.z);
    }
}

void Shader::setUniform(std::string_view name, const glm::mat3& value) {
    const GLint location = getUniformLocation(name);
    if (location != -1) {
        glUniformMatrix3fv(location, 1, GL_FALSE, glm::value_ptr(value));
    }
}

void Shader::setUniform(std::string_view name, const glm::mat4& value) {
    const GLint location = getUniformLocation(name);
    if (location != -1) {
        glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
    }
}

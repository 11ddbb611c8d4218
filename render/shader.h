// A linked GLSL program of one vertex and one fragment stage.
//
// A Shader is built completely in its constructor, and every failure on the
// way (missing file, compile or link error) ends the program with its
// message, so a Shader that exists always holds a valid program. Uniforms are
// set by name every frame; each name's location is asked of OpenGL once per
// program and then served from a cache (a missing uniform, -1, is cached too
// and every setter ignores it). Shaders are shared between materials, the
// text drawer and the frame loop, hence create() returning a shared_ptr.
#pragma once

#include <GL/glew.h>

#include <forward_list>
#include <glm/glm.hpp>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "render/gl_object.h"

// The framework's built-in pair: positions at location 0 passed through, and
// every fragment in the colour of the uniform "fragColor".
extern const std::string defaultVertexShaderSource;
extern const std::string defaultFragmentShaderSource;

class Shader {
  public:
    // Builds from two asset paths ("assets/shaders/x.vert", ".frag"); prints
    // "Read shader: <path>" for each stage that compiles.
    Shader(const std::string& vertexPath, const std::string& fragmentPath);
    // Builds the built-in pair; prints nothing on success.
    Shader();

    static std::shared_ptr<Shader> create(const char* vertexPath, const char* fragmentPath);

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Makes this program current; tracks and unbinds nothing.
    void use() const;

    GLint getUniformLocation(std::string_view name);

    // Each setter writes into whichever program is current (callers use()
    // first) at this program's location for `name`; -1 does nothing.
    void setUniform(std::string_view name, float value);
    void setUniform(std::string_view name, GLint value);
    void setUniform(std::string_view name, const glm::vec2& value);
    void setUniform(std::string_view name, const glm::vec3& value);
    void setUniform(std::string_view name, const glm::mat3& value);
    void setUniform(std::string_view name, const glm::mat4& value);

    GLuint programHandle() const { return program_.get(); }

    // Exchanges the two programs with their location caches, so every holder
    // of either shared pointer draws with the other's program from now on.
    void swap(Shader& other) noexcept;

  private:
    void buildProgram();
    // Every failure is fatal; `builtStage` (0 for none) is the other stage,
    // already compiled, which a failure deletes before ending the program.
    GLuint compileStage(const std::string& stageReference, GLenum stageType,
                        GLuint builtStage) const;

    GlProgram program_;              // destroying it makes no program current first
    std::string vertexReference_;    // asset path, or the source text itself
    std::string fragmentReference_;  // likewise
    bool sourcesAreText_ = false;
    // Location cache. Keys view into uniformNames_, whose nodes never move,
    // so a look-up by string_view allocates nothing.
    std::forward_list<std::string> uniformNames_;
    std::unordered_map<std::string_view, GLint> uniformLocations_;
};

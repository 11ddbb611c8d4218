// Move-only owners of OpenGL object names.
//
// A GL name is a plain integer, so a copyable struct holding one would delete
// the object twice or leak it. GlObject<Deleter> owns exactly one name: it
// cannot be copied, moving it leaves the source empty (name 0), and the
// destructor hands a non-zero name to the deleter. Every owner must die while
// the context that made the name is still current.
#pragma once

#include <GL/glew.h>

#include <utility>

template <typename Deleter>
class GlObject {
  public:
    GlObject() = default;
    explicit GlObject(GLuint name) : name_(name) {}
    ~GlObject() { reset(); }

    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;
    GlObject(GlObject&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
    GlObject& operator=(GlObject&& other) noexcept {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0);
        }
        return *this;
    }

    GLuint get() const { return name_; }
    explicit operator bool() const { return name_ != 0; }

    // Deletes the owned object now (if any) and leaves this owner empty.
    void reset() {
        if (name_ != 0) {
            Deleter{}(name_);
            name_ = 0;
        }
    }

  private:
    GLuint name_ = 0;
};

struct GlBufferDeleter {
    void operator()(GLuint name) const { glDeleteBuffers(1, &name); }
};
struct GlVertexArrayDeleter {
    void operator()(GLuint name) const { glDeleteVertexArrays(1, &name); }
};
struct GlTextureDeleter {
    void operator()(GLuint name) const { glDeleteTextures(1, &name); }
};
struct GlShaderStageDeleter {
    void operator()(GLuint name) const { glDeleteShader(name); }
};
// A program is never deleted while it might still be current: the owner
// first makes no program current at all.
struct GlProgramDeleter {
    void operator()(GLuint name) const {
        glUseProgram(0);
        glDeleteProgram(name);
    }
};

using GlBuffer = GlObject<GlBufferDeleter>;
using GlVertexArray = GlObject<GlVertexArrayDeleter>;
using GlTexture = GlObject<GlTextureDeleter>;
using GlShaderStage = GlObject<GlShaderStageDeleter>;
using GlProgram = GlObject<GlProgramDeleter>;

// Helpers that create one name of a kind and hand it to its owner.
inline GlBuffer makeGlBuffer() {
    GLuint name = 0;
    glGenBuffers(1, &name);
    return GlBuffer(name);
}
inline GlTexture makeGlTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return GlTexture(name);
}
inline GlVertexArray makeGlVertexArray() {
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return GlVertexArray(name);
}

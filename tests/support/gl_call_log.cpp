#include "support/gl_call_log.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <sstream>

namespace {

// Name of the active uniform at `location` in the current program.
std::string uniformName(GLint location) {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    GLint count = 0;
    glGetProgramiv(static_cast<GLuint>(program), GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(static_cast<GLuint>(program), static_cast<GLuint>(i), sizeof name,
                           nullptr, &size, &type, name);
        if (glGetUniformLocation(static_cast<GLuint>(program), name) == location) {
            return name;
        }
    }
    return "location" + std::to_string(location);
}

const char* targetName(GLenum target) {
    return target == GL_ARRAY_BUFFER           ? "ARRAY"
           : target == GL_ELEMENT_ARRAY_BUFFER ? "ELEMENT"
                                               : "OTHER";
}

}  // namespace

class GlCallLog::Recorder : public GlCallObserver {
  public:
    std::vector<std::string> lines;
    std::map<std::string, std::vector<float>> matrices;
    // Per GlObjectKind: every name created, and the ones still alive.
    std::array<std::vector<GLuint>, 3> created;
    std::array<std::vector<GLuint>, 3> alive;

    void useProgram(GLuint program) override { record("useProgram", program); }
    void uniform1f(GLint location, GLfloat value) override {
        record("uniform1f", uniformName(location), value);
    }
    void uniform1i(GLint location, GLint value) override {
        record("uniform1i", uniformName(location), value);
    }
    void uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) override {
        record("uniform3f", uniformName(location), x, y, z);
    }
    void uniformMatrix3fv(GLint location, GLsizei, GLboolean, const GLfloat* value) override {
        recordMatrix("uniformMatrix3fv", location, value, 9);
    }
    void uniformMatrix4fv(GLint location, GLsizei, GLboolean, const GLfloat* value) override {
        recordMatrix("uniformMatrix4fv", location, value, 16);
    }
    void activeTexture(GLenum unit) override { record("activeTexture", unit - GL_TEXTURE0); }
    void bindVertexArray(GLuint array) override { record("bindVertexArray", array); }
    void bindBuffer(GLenum target, GLuint buffer) override {
        record("bindBuffer", targetName(target), buffer);
    }
    void bufferData(GLenum target, GLsizeiptr size, const void*, GLenum usage) override {
        record("bufferData", targetName(target), size,
               usage == GL_STATIC_DRAW    ? "STATIC"
               : usage == GL_DYNAMIC_DRAW ? "DYNAMIC"
                                          : "OTHER");
    }
    void enableVertexAttribArray(GLuint index) override {
        record("enableVertexAttribArray", index);
    }
    void vertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                             GLsizei stride, const void* pointer) override {
        record("vertexAttribPointer", index, size, type == GL_FLOAT ? "FLOAT" : "OTHER",
               static_cast<int>(normalized), stride, reinterpret_cast<std::uintptr_t>(pointer));
    }
    // Tracked only: the names show in the bind lines that follow.
    void genBuffers(GLsizei count, GLuint* buffers) override {
        track(GlObjectKind::Buffer, count, buffers, true);
    }
    void genVertexArrays(GLsizei count, GLuint* arrays) override {
        track(GlObjectKind::VertexArray, count, arrays, true);
    }
    void deleteBuffers(GLsizei count, const GLuint* buffers) override {
        record("deleteBuffers", count, count > 0 ? buffers[0] : 0);
        track(GlObjectKind::Buffer, count, buffers, false);
    }
    void deleteVertexArrays(GLsizei count, const GLuint* arrays) override {
        record("deleteVertexArrays", count, count > 0 ? arrays[0] : 0);
        track(GlObjectKind::VertexArray, count, arrays, false);
    }
    void createShader(GLenum type, GLuint shader) override {
        record("createShader",
               type == GL_VERTEX_SHADER     ? "VERTEX"
               : type == GL_FRAGMENT_SHADER ? "FRAGMENT"
                                            : "OTHER",
               shader);
        track(GlObjectKind::ShaderStage, shader != 0 ? 1 : 0, &shader, true);
    }
    void deleteShader(GLuint shader) override {
        record("deleteShader", shader);
        track(GlObjectKind::ShaderStage, 1, &shader, false);
    }

  private:
    template <typename... Parts>
    void record(const Parts&... parts) {
        std::ostringstream line;
        ((line << parts << ' '), ...);
        std::string text = line.str();
        text.pop_back();
        lines.push_back(text);
    }
    void recordMatrix(const char* call, GLint location, const GLfloat* value, int size) {
        const std::string name = uniformName(location);
        record(call, name);
        matrices[name].assign(value, value + size);
    }
    // `count` names made (`made`) or deleted.
    void track(GlObjectKind kind, GLsizei count, const GLuint* names, bool made) {
        std::vector<GLuint>& living = alive[static_cast<std::size_t>(kind)];
        for (GLsizei i = 0; i < count; ++i) {
            if (made) {
                created[static_cast<std::size_t>(kind)].push_back(names[i]);
                living.push_back(names[i]);
            } else {
                living.erase(std::remove(living.begin(), living.end(), names[i]), living.end());
            }
        }
    }
};

GlCallLog::GlCallLog() : recorder_(std::make_unique<Recorder>()), interceptor_(*recorder_) {}

GlCallLog::~GlCallLog() = default;

const std::vector<std::string>& GlCallLog::lines() const {
    return recorder_->lines;
}

std::vector<float> GlCallLog::matrix(const std::string& name) const {
    const auto found = recorder_->matrices.find(name);
    return found == recorder_->matrices.end() ? std::vector<float>{} : found->second;
}

void GlCallLog::clear() {
    recorder_->lines.clear();
    recorder_->matrices.clear();
    recorder_->created = {};
    recorder_->alive = {};
}

std::vector<GLuint> GlCallLog::created(GlObjectKind kind) const {
    return recorder_->created[static_cast<std::size_t>(kind)];
}

std::vector<GLuint> GlCallLog::undeleted(GlObjectKind kind) const {
    return recorder_->alive[static_cast<std::size_t>(kind)];
}

#include "support/gl_call_log.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>

namespace {

struct Recording {
    std::vector<std::string> lines;
    std::map<std::string, std::vector<float>> matrices;
    // Per GlObjectKind: every name created, and the ones still alive.
    std::array<std::vector<GLuint>, 3> created;
    std::array<std::vector<GLuint>, 3> alive;
};
Recording* recording = nullptr;

// The real entry points, restored when the log goes.
struct RealFunctions {
    PFNGLUSEPROGRAMPROC useProgram;
    PFNGLUNIFORM1FPROC uniform1f;
    PFNGLUNIFORM1IPROC uniform1i;
    PFNGLUNIFORM3FPROC uniform3f;
    PFNGLUNIFORMMATRIX3FVPROC uniformMatrix3fv;
    PFNGLUNIFORMMATRIX4FVPROC uniformMatrix4fv;
    PFNGLACTIVETEXTUREPROC activeTexture;
    PFNGLBINDVERTEXARRAYPROC bindVertexArray;
    PFNGLBINDBUFFERPROC bindBuffer;
    PFNGLBUFFERDATAPROC bufferData;
    PFNGLENABLEVERTEXATTRIBARRAYPROC enableVertexAttribArray;
    PFNGLVERTEXATTRIBPOINTERPROC vertexAttribPointer;
    PFNGLDELETEBUFFERSPROC deleteBuffers;
    PFNGLDELETEVERTEXARRAYSPROC deleteVertexArrays;
    PFNGLGENBUFFERSPROC genBuffers;
    PFNGLGENVERTEXARRAYSPROC genVertexArrays;
    PFNGLCREATESHADERPROC createShader;
    PFNGLDELETESHADERPROC deleteShader;
};
RealFunctions real{};

template <typename... Parts>
void record(const Parts&... parts) {
    std::ostringstream line;
    ((line << parts << ' '), ...);
    std::string text = line.str();
    text.pop_back();
    recording->lines.push_back(text);
}

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

void GLAPIENTRY useProgram(GLuint program) {
    record("useProgram", program);
    real.useProgram(program);
}
void GLAPIENTRY uniform1f(GLint location, GLfloat value) {
    record("uniform1f", uniformName(location), value);
    real.uniform1f(location, value);
}
void GLAPIENTRY uniform1i(GLint location, GLint value) {
    record("uniform1i", uniformName(location), value);
    real.uniform1i(location, value);
}
void GLAPIENTRY uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) {
    record("uniform3f", uniformName(location), x, y, z);
    real.uniform3f(location, x, y, z);
}
void GLAPIENTRY uniformMatrix3fv(GLint location, GLsizei count, GLboolean transpose,
                                 const GLfloat* value) {
    const std::string name = uniformName(location);
    record("uniformMatrix3fv", name);
    recording->matrices[name].assign(value, value + 9);
    real.uniformMatrix3fv(location, count, transpose, value);
}
void GLAPIENTRY uniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                                 const GLfloat* value) {
    const std::string name = uniformName(location);
    record("uniformMatrix4fv", name);
    recording->matrices[name].assign(value, value + 16);
    real.uniformMatrix4fv(location, count, transpose, value);
}
void GLAPIENTRY activeTexture(GLenum unit) {
    record("activeTexture", unit - GL_TEXTURE0);
    real.activeTexture(unit);
}
void GLAPIENTRY bindVertexArray(GLuint array) {
    record("bindVertexArray", array);
    real.bindVertexArray(array);
}
void GLAPIENTRY bindBuffer(GLenum target, GLuint buffer) {
    record("bindBuffer", targetName(target), buffer);
    real.bindBuffer(target, buffer);
}
void GLAPIENTRY bufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    record("bufferData", targetName(target), size,
           usage == GL_STATIC_DRAW    ? "STATIC"
           : usage == GL_DYNAMIC_DRAW ? "DYNAMIC"
                                      : "OTHER");
    real.bufferData(target, size, data, usage);
}
void GLAPIENTRY enableVertexAttribArray(GLuint index) {
    record("enableVertexAttribArray", index);
    real.enableVertexAttribArray(index);
}
void GLAPIENTRY vertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                    GLsizei stride, const void* pointer) {
    record("vertexAttribPointer", index, size, type == GL_FLOAT ? "FLOAT" : "OTHER",
           static_cast<int>(normalized), stride, reinterpret_cast<std::uintptr_t>(pointer));
    real.vertexAttribPointer(index, size, type, normalized, stride, pointer);
}
void trackCreated(GlObjectKind kind, GLuint name) {
    recording->created[static_cast<std::size_t>(kind)].push_back(name);
    recording->alive[static_cast<std::size_t>(kind)].push_back(name);
}
void trackDeleted(GlObjectKind kind, GLuint name) {
    std::vector<GLuint>& alive = recording->alive[static_cast<std::size_t>(kind)];
    alive.erase(std::remove(alive.begin(), alive.end(), name), alive.end());
}

void GLAPIENTRY deleteBuffers(GLsizei count, const GLuint* buffers) {
    record("deleteBuffers", count, count > 0 ? buffers[0] : 0);
    for (GLsizei i = 0; i < count; ++i) {
        trackDeleted(GlObjectKind::Buffer, buffers[i]);
    }
    real.deleteBuffers(count, buffers);
}
void GLAPIENTRY deleteVertexArrays(GLsizei count, const GLuint* arrays) {
    record("deleteVertexArrays", count, count > 0 ? arrays[0] : 0);
    for (GLsizei i = 0; i < count; ++i) {
        trackDeleted(GlObjectKind::VertexArray, arrays[i]);
    }
    real.deleteVertexArrays(count, arrays);
}
// Tracked only: the names show in the bind lines that follow.
void GLAPIENTRY genBuffers(GLsizei count, GLuint* buffers) {
    real.genBuffers(count, buffers);
    for (GLsizei i = 0; i < count; ++i) {
        trackCreated(GlObjectKind::Buffer, buffers[i]);
    }
}
void GLAPIENTRY genVertexArrays(GLsizei count, GLuint* arrays) {
    real.genVertexArrays(count, arrays);
    for (GLsizei i = 0; i < count; ++i) {
        trackCreated(GlObjectKind::VertexArray, arrays[i]);
    }
}
GLuint GLAPIENTRY createShader(GLenum type) {
    const GLuint shader = real.createShader(type);
    record("createShader",
           type == GL_VERTEX_SHADER     ? "VERTEX"
           : type == GL_FRAGMENT_SHADER ? "FRAGMENT"
                                        : "OTHER",
           shader);
    if (shader != 0) {
        trackCreated(GlObjectKind::ShaderStage, shader);
    }
    return shader;
}
void GLAPIENTRY deleteShader(GLuint shader) {
    record("deleteShader", shader);
    trackDeleted(GlObjectKind::ShaderStage, shader);
    real.deleteShader(shader);
}

template <typename Pointer>
void swapIn(Pointer& slot, Pointer& saved, Pointer recorder) {
    saved = std::exchange(slot, recorder);
}

}  // namespace

GlCallLog::GlCallLog() {
    recording = new Recording();
    swapIn(__glewUseProgram, real.useProgram, &useProgram);
    swapIn(__glewUniform1f, real.uniform1f, &uniform1f);
    swapIn(__glewUniform1i, real.uniform1i, &uniform1i);
    swapIn(__glewUniform3f, real.uniform3f, &uniform3f);
    swapIn(__glewUniformMatrix3fv, real.uniformMatrix3fv, &uniformMatrix3fv);
    swapIn(__glewUniformMatrix4fv, real.uniformMatrix4fv, &uniformMatrix4fv);
    swapIn(__glewActiveTexture, real.activeTexture, &activeTexture);
    swapIn(__glewBindVertexArray, real.bindVertexArray, &bindVertexArray);
    swapIn(__glewBindBuffer, real.bindBuffer, &bindBuffer);
    swapIn(__glewBufferData, real.bufferData, &bufferData);
    swapIn(__glewEnableVertexAttribArray, real.enableVertexAttribArray, &enableVertexAttribArray);
    swapIn(__glewVertexAttribPointer, real.vertexAttribPointer, &vertexAttribPointer);
    swapIn(__glewDeleteBuffers, real.deleteBuffers, &deleteBuffers);
    swapIn(__glewDeleteVertexArrays, real.deleteVertexArrays, &deleteVertexArrays);
    swapIn(__glewGenBuffers, real.genBuffers, &genBuffers);
    swapIn(__glewGenVertexArrays, real.genVertexArrays, &genVertexArrays);
    swapIn(__glewCreateShader, real.createShader, &createShader);
    swapIn(__glewDeleteShader, real.deleteShader, &deleteShader);
}

GlCallLog::~GlCallLog() {
    __glewUseProgram = real.useProgram;
    __glewUniform1f = real.uniform1f;
    __glewUniform1i = real.uniform1i;
    __glewUniform3f = real.uniform3f;
    __glewUniformMatrix3fv = real.uniformMatrix3fv;
    __glewUniformMatrix4fv = real.uniformMatrix4fv;
    __glewActiveTexture = real.activeTexture;
    __glewBindVertexArray = real.bindVertexArray;
    __glewBindBuffer = real.bindBuffer;
    __glewBufferData = real.bufferData;
    __glewEnableVertexAttribArray = real.enableVertexAttribArray;
    __glewVertexAttribPointer = real.vertexAttribPointer;
    __glewDeleteBuffers = real.deleteBuffers;
    __glewDeleteVertexArrays = real.deleteVertexArrays;
    __glewGenBuffers = real.genBuffers;
    __glewGenVertexArrays = real.genVertexArrays;
    __glewCreateShader = real.createShader;
    __glewDeleteShader = real.deleteShader;
    delete recording;
    recording = nullptr;
}

const std::vector<std::string>& GlCallLog::lines() const {
    return recording->lines;
}

std::vector<float> GlCallLog::matrix(const std::string& name) const {
    const auto found = recording->matrices.find(name);
    return found == recording->matrices.end() ? std::vector<float>{} : found->second;
}

void GlCallLog::clear() {
    recording->lines.clear();
    recording->matrices.clear();
    recording->created = {};
    recording->alive = {};
}

std::vector<GLuint> GlCallLog::created(GlObjectKind kind) const {
    return recording->created[static_cast<std::size_t>(kind)];
}

std::vector<GLuint> GlCallLog::undeleted(GlObjectKind kind) const {
    return recording->alive[static_cast<std::size_t>(kind)];
}

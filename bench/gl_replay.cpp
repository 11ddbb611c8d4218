#include "gl_replay.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

struct SavedPointers {
    PFNGLUSEPROGRAMPROC useProgram;
    PFNGLUNIFORM1FPROC uniform1f;
    PFNGLUNIFORM1IPROC uniform1i;
    PFNGLUNIFORM2FPROC uniform2f;
    PFNGLUNIFORM3FPROC uniform3f;
    PFNGLUNIFORMMATRIX3FVPROC uniformMatrix3fv;
    PFNGLUNIFORMMATRIX4FVPROC uniformMatrix4fv;
    PFNGLACTIVETEXTUREPROC activeTexture;
    PFNGLBINDVERTEXARRAYPROC bindVertexArray;
    PFNGLBINDBUFFERPROC bindBuffer;
    PFNGLBUFFERDATAPROC bufferData;
    PFNGLENABLEVERTEXATTRIBARRAYPROC enableVertexAttribArray;
    PFNGLVERTEXATTRIBPOINTERPROC vertexAttribPointer;
};

SavedPointers real{};
GlReplay* recording = nullptr;

}  // namespace

// Every hook appends its call, then makes the real one.
struct GlRecorderHooks {
    static GlReplay::Call& add(GlReplay::Op op) {
        recording->calls_.push_back(GlReplay::Call{op, 0, 0, 0, 0, {}});
        return recording->calls_.back();
    }
    static void GLAPIENTRY useProgram(GLuint program) {
        add(GlReplay::Op::UseProgram).name = program;
        real.useProgram(program);
    }
    static void GLAPIENTRY uniform1f(GLint location, GLfloat v) {
        GlReplay::Call& call = add(GlReplay::Op::Uniform1f);
        call.location = location;
        call.values[0] = v;
        real.uniform1f(location, v);
    }
    static void GLAPIENTRY uniform1i(GLint location, GLint v) {
        GlReplay::Call& call = add(GlReplay::Op::Uniform1i);
        call.location = location;
        call.name = static_cast<GLuint>(v);
        real.uniform1i(location, v);
    }
    static void GLAPIENTRY uniform2f(GLint location, GLfloat x, GLfloat y) {
        GlReplay::Call& call = add(GlReplay::Op::Uniform2f);
        call.location = location;
        call.values[0] = x;
        call.values[1] = y;
        real.uniform2f(location, x, y);
    }
    static void GLAPIENTRY uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) {
        GlReplay::Call& call = add(GlReplay::Op::Uniform3f);
        call.location = location;
        call.values[0] = x;
        call.values[1] = y;
        call.values[2] = z;
        real.uniform3f(location, x, y, z);
    }
    static void GLAPIENTRY uniformMatrix3fv(GLint location, GLsizei count, GLboolean transpose,
                                            const GLfloat* value) {
        GlReplay::Call& call = add(GlReplay::Op::UniformMatrix3fv);
        call.location = location;
        std::memcpy(call.values, value, 9 * sizeof(float));
        real.uniformMatrix3fv(location, count, transpose, value);
    }
    static void GLAPIENTRY uniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                                            const GLfloat* value) {
        GlReplay::Call& call = add(GlReplay::Op::UniformMatrix4fv);
        call.location = location;
        std::memcpy(call.values, value, 16 * sizeof(float));
        real.uniformMatrix4fv(location, count, transpose, value);
    }
    static void GLAPIENTRY activeTexture(GLenum unit) {
        add(GlReplay::Op::ActiveTexture).target = unit;
        real.activeTexture(unit);
    }
    // A geometry's vertex array carries its element buffer; its draw is
    // the whole buffer. The text's vertex array has none.
    static void GLAPIENTRY bindVertexArray(GLuint array) {
        add(GlReplay::Op::BindVertexArray).name = array;
        real.bindVertexArray(array);
        GLint elements = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
        if (array != 0 && elements != 0) {
            GLint bytes = 0;
            glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
            add(GlReplay::Op::DrawElements).location =
                bytes / static_cast<GLint>(sizeof(std::uint32_t));
        }
    }
    static void GLAPIENTRY bindBuffer(GLenum target, GLuint buffer) {
        GlReplay::Call& call = add(GlReplay::Op::BindBuffer);
        call.target = target;
        call.name = buffer;
        real.bindBuffer(target, buffer);
    }
    static void GLAPIENTRY bufferData(GLenum target, GLsizeiptr size, const void* data,
                                      GLenum usage) {
        GlReplay::Call& call = add(GlReplay::Op::BufferData);
        call.target = target;
        call.size = size;
        call.name = usage;
        const auto* bytes = static_cast<const unsigned char*>(data);
        recording->uploads_.emplace_back(bytes, bytes + size);
        real.bufferData(target, size, data, usage);
    }
    static void GLAPIENTRY enableVertexAttribArray(GLuint index) {
        add(GlReplay::Op::EnableVertexAttribArray).name = index;
        real.enableVertexAttribArray(index);
    }
    // Only the HUD text sets a pointer while drawing: 2 floats per vertex,
    // drawn over the upload just made.
    static void GLAPIENTRY vertexAttribPointer(GLuint index, GLint size, GLenum type,
                                               GLboolean normalized, GLsizei stride,
                                               const void* pointer) {
        GlReplay::Call& call = add(GlReplay::Op::VertexAttribPointer);
        call.name = index;
        call.location = size;
        call.size = stride;
        real.vertexAttribPointer(index, size, type, normalized, stride, pointer);
        if (recording->uploads_.empty()) {
            return;
        }
        const GLsizeiptr uploaded = static_cast<GLsizeiptr>(recording->uploads_.back().size());
        add(GlReplay::Op::DrawArrays).location =
            static_cast<GLint>(uploaded / (static_cast<GLsizeiptr>(size) * 4));
    }
};

void GlReplay::startRecording(GlReplay& replay) {
    recording = &replay;
    real = {__glewUseProgram,         __glewUniform1f,     __glewUniform1i,
            __glewUniform2f,          __glewUniform3f,     __glewUniformMatrix3fv,
            __glewUniformMatrix4fv,   __glewActiveTexture, __glewBindVertexArray,
            __glewBindBuffer,         __glewBufferData,    __glewEnableVertexAttribArray,
            __glewVertexAttribPointer};
    __glewUseProgram = &GlRecorderHooks::useProgram;
    __glewUniform1f = &GlRecorderHooks::uniform1f;
    __glewUniform1i = &GlRecorderHooks::uniform1i;
    __glewUniform2f = &GlRecorderHooks::uniform2f;
    __glewUniform3f = &GlRecorderHooks::uniform3f;
    __glewUniformMatrix3fv = &GlRecorderHooks::uniformMatrix3fv;
    __glewUniformMatrix4fv = &GlRecorderHooks::uniformMatrix4fv;
    __glewActiveTexture = &GlRecorderHooks::activeTexture;
    __glewBindVertexArray = &GlRecorderHooks::bindVertexArray;
    __glewBindBuffer = &GlRecorderHooks::bindBuffer;
    __glewBufferData = &GlRecorderHooks::bufferData;
    __glewEnableVertexAttribArray = &GlRecorderHooks::enableVertexAttribArray;
    __glewVertexAttribPointer = &GlRecorderHooks::vertexAttribPointer;
}

void GlReplay::stopRecording() {
    __glewUseProgram = real.useProgram;
    __glewUniform1f = real.uniform1f;
    __glewUniform1i = real.uniform1i;
    __glewUniform2f = real.uniform2f;
    __glewUniform3f = real.uniform3f;
    __glewUniformMatrix3fv = real.uniformMatrix3fv;
    __glewUniformMatrix4fv = real.uniformMatrix4fv;
    __glewActiveTexture = real.activeTexture;
    __glewBindVertexArray = real.bindVertexArray;
    __glewBindBuffer = real.bindBuffer;
    __glewBufferData = real.bufferData;
    __glewEnableVertexAttribArray = real.enableVertexAttribArray;
    __glewVertexAttribPointer = real.vertexAttribPointer;
    recording = nullptr;
}

std::size_t GlReplay::drawCount() const {
    return static_cast<std::size_t>(std::count_if(calls_.begin(), calls_.end(), [](const Call& c) {
        return c.op == Op::DrawElements || c.op == Op::DrawArrays;
    }));
}

void GlReplay::replay() const {
    std::size_t upload = 0;
    for (const Call& call : calls_) {
        switch (call.op) {
            case Op::UseProgram:
                glUseProgram(call.name);
                break;
            case Op::Uniform1f:
                glUniform1f(call.location, call.values[0]);
                break;
            case Op::Uniform1i:
                glUniform1i(call.location, static_cast<GLint>(call.name));
                break;
            case Op::Uniform2f:
                glUniform2f(call.location, call.values[0], call.values[1]);
                break;
            case Op::Uniform3f:
                glUniform3f(call.location, call.values[0], call.values[1], call.values[2]);
                break;
            case Op::UniformMatrix3fv:
                glUniformMatrix3fv(call.location, 1, GL_FALSE, call.values);
                break;
            case Op::UniformMatrix4fv:
                glUniformMatrix4fv(call.location, 1, GL_FALSE, call.values);
                break;
            case Op::ActiveTexture:
                glActiveTexture(call.target);
                break;
            case Op::BindVertexArray:
                glBindVertexArray(call.name);
                break;
            case Op::DrawElements:
                glDrawElements(GL_TRIANGLES, call.location, GL_UNSIGNED_INT, nullptr);
                break;
            case Op::BindBuffer:
                glBindBuffer(call.target, call.name);
                break;
            case Op::BufferData:
                glBufferData(call.target, call.size, uploads_[upload++].data(), call.name);
                break;
            case Op::EnableVertexAttribArray:
                glEnableVertexAttribArray(call.name);
                break;
            case Op::VertexAttribPointer:
                glVertexAttribPointer(call.name, call.location, GL_FLOAT, GL_FALSE,
                                      static_cast<GLsizei>(call.size), nullptr);
                break;
            case Op::DrawArrays:
                glDrawArrays(GL_TRIANGLES, 0, call.location);
                break;
        }
    }
}

void GlReplay::writeCalls(const char* path) const {
    std::ofstream out(path);
    std::size_t upload = 0;
    for (const Call& call : calls_) {
        out << static_cast<int>(call.op) << ' ' << call.location << ' ' << call.name << ' '
            << call.target << ' ' << call.size;
        for (const float value : call.values) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            out << ' ' << std::hex << bits << std::dec;
        }
        if (call.op == Op::BufferData) {
            for (const unsigned char byte : uploads_[upload]) {
                out << ' ' << static_cast<int>(byte);
            }
            ++upload;
        }
        out << '\n';
    }
}

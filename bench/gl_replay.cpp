#include "gl_replay.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "support/gl_interceptor/gl_call_interceptor.h"

// Keeps each observed call, and the draws implied by the GL 1.1 calls that
// cannot be observed.
class GlFrameRecorder : public GlCallObserver {
  public:
    explicit GlFrameRecorder(GlReplay& replay) : replay_(replay) {}

    void useProgram(GLuint program) override { add(GlReplay::Op::UseProgram).name = program; }
    void uniform1f(GLint location, GLfloat v) override {
        GlReplay::Call& call = add(GlReplay::Op::Uniform1f, location);
        call.values[0] = v;
    }
    void uniform1i(GLint location, GLint v) override {
        add(GlReplay::Op::Uniform1i, location).name = static_cast<GLuint>(v);
    }
    void uniform2f(GLint location, GLfloat x, GLfloat y) override {
        GlReplay::Call& call = add(GlReplay::Op::Uniform2f, location);
        call.values[0] = x;
        call.values[1] = y;
    }
    void uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) override {
        GlReplay::Call& call = add(GlReplay::Op::Uniform3f, location);
        call.values[0] = x;
        call.values[1] = y;
        call.values[2] = z;
    }
    void uniformMatrix3fv(GLint location, GLsizei, GLboolean, const GLfloat* value) override {
        std::memcpy(add(GlReplay::Op::UniformMatrix3fv, location).values, value, 9 * sizeof(float));
    }
    void uniformMatrix4fv(GLint location, GLsizei, GLboolean, const GLfloat* value) override {
        std::memcpy(add(GlReplay::Op::UniformMatrix4fv, location).values, value,
                    16 * sizeof(float));
    }
    void activeTexture(GLenum unit) override { add(GlReplay::Op::ActiveTexture).target = unit; }
    // A geometry's vertex array carries its element buffer; its draw is
    // the whole buffer. The text's vertex array has none.
    void bindVertexArray(GLuint array) override {
        add(GlReplay::Op::BindVertexArray).name = array;
        GLint elements = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
        if (array != 0 && elements != 0) {
            GLint bytes = 0;
            glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
            add(GlReplay::Op::DrawElements, bytes / static_cast<GLint>(sizeof(std::uint32_t)));
        }
    }
    void bindBuffer(GLenum target, GLuint buffer) override {
        GlReplay::Call& call = add(GlReplay::Op::BindBuffer);
        call.target = target;
        call.name = buffer;
    }
    void bufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) override {
        GlReplay::Call& call = add(GlReplay::Op::BufferData);
        call.target = target;
        call.size = size;
        call.name = usage;
        const auto* bytes = static_cast<const unsigned char*>(data);
        replay_.uploads_.emplace_back(bytes, bytes + size);
    }
    void enableVertexAttribArray(GLuint index) override {
        add(GlReplay::Op::EnableVertexAttribArray).name = index;
    }
    // Only the HUD text sets a pointer while drawing: 2 floats per vertex,
    // drawn over the upload just made.
    void vertexAttribPointer(GLuint index, GLint size, GLenum, GLboolean, GLsizei stride,
                             const void*) override {
        GlReplay::Call& call = add(GlReplay::Op::VertexAttribPointer, size);
        call.name = index;
        call.size = stride;
        if (replay_.uploads_.empty()) {
            return;
        }
        const auto uploaded = static_cast<GLsizeiptr>(replay_.uploads_.back().size());
        add(GlReplay::Op::DrawArrays,
            static_cast<GLint>(uploaded / (static_cast<GLsizeiptr>(size) * 4)));
    }

  private:
    GlReplay::Call& add(GlReplay::Op op, GLint location = 0) {
        replay_.calls_.push_back(GlReplay::Call{op, location, 0, 0, 0, {}});
        return replay_.calls_.back();
    }
    GlReplay& replay_;
};

GlReplay GlReplay::record(const std::function<void()>& frame) {
    GlReplay replay;
    GlFrameRecorder recorder(replay);
    {
        const GlCallInterceptor interceptor(recorder);
        frame();
    }
    return replay;
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

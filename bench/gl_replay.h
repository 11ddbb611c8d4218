// The minimal baseline for a game frame: the frame's own OpenGL calls,
// recorded once from a real frame and replayed from a flat list.
//
// While a recording runs, the frame's calls are observed through the
// interceptor the GL tests use too
// (tests/support/gl_interceptor/gl_call_interceptor.h): each real call is
// kept with its arguments (uniform locations already resolved, matrices
// already computed).
// The OpenGL 1.1 draw calls are not GLEW pointers; they are implied and
// recorded too: a bound vertex array with an element buffer is drawn whole
// with glDrawElements (as every Geometry draw does right after its bind),
// and a vertex pointer set up after a buffer upload is drawn with
// glDrawArrays over that upload (as every HUD text does). Replaying issues
// the same calls with no look-up, no matrix arithmetic and no allocation.
#pragma once

#include <GL/glew.h>

#include <cstddef>
#include <functional>
#include <vector>

class GlReplay {
  public:
    // Records the OpenGL calls that `frame` makes (and makes them).
    static GlReplay record(const std::function<void()>& frame);

    void replay() const;

    std::size_t callCount() const { return calls_.size(); }
    std::size_t drawCount() const;  // glDrawElements and glDrawArrays calls

    // Writes every call, one per line, with its arguments and the exact
    // bits of its values, so two builds' frames can be compared with diff.
    void writeCalls(const char* path) const;

    enum class Op : unsigned char {
        UseProgram,
        Uniform1f,
        Uniform1i,
        Uniform2f,
        Uniform3f,
        UniformMatrix3fv,
        UniformMatrix4fv,
        ActiveTexture,
        BindVertexArray,
        DrawElements,
        BindBuffer,
        BufferData,
        EnableVertexAttribArray,
        VertexAttribPointer,
        DrawArrays,
    };

    struct Call {
        Op op;
        GLint location;   // uniform location, attribute index, or draw count
        GLuint name;      // program, vertex array, buffer or texture unit
        GLenum target;    // buffer target or buffer usage
        GLsizeiptr size;  // buffer bytes, or stride for an attribute pointer
        float values[16];
    };

  private:
    friend class GlFrameRecorder;
    std::vector<Call> calls_;
    std::vector<std::vector<unsigned char>> uploads_;  // buffer contents, in call order
};

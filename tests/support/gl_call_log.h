// Recording the OpenGL calls our code makes, as readable lines.
//
// While a GlCallLog lives, it observes the calls below through the shared
// interceptor (support/gl_interceptor/gl_call_interceptor.h, which says
// which calls can be observed), one line per call, made after the real
// call, so drawing still happens. Uniform lines carry the uniform's name
// (looked up in the current program), not its location, and the last
// matrix sent to each name is kept.
//
// Lines: "useProgram P", "uniform1f NAME V", "uniform1i NAME V",
// "uniform3f NAME X Y Z", "uniformMatrix3fv NAME", "uniformMatrix4fv NAME",
// "activeTexture UNIT" (0 for GL_TEXTURE0), "bindVertexArray V",
// "bindBuffer ARRAY|ELEMENT B", "bufferData ARRAY|ELEMENT BYTES STATIC|DYNAMIC",
// "enableVertexAttribArray I", "vertexAttribPointer I SIZE FLOAT NORMALIZED STRIDE OFFSET",
// "deleteBuffers COUNT B", "deleteVertexArrays COUNT V",
// "createShader VERTEX|FRAGMENT S", "deleteShader S".
//
// The names of buffers, vertex arrays (glGenBuffers, glGenVertexArrays:
// no line of their own) and shader stages created while the log records
// are also tracked, so a test can ask which of them are still alive.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

#include "support/gl_interceptor/gl_call_interceptor.h"

enum class GlObjectKind { Buffer, VertexArray, ShaderStage };

class GlCallLog {
  public:
    GlCallLog();
    ~GlCallLog();
    GlCallLog(const GlCallLog&) = delete;
    GlCallLog& operator=(const GlCallLog&) = delete;

    const std::vector<std::string>& lines() const;
    // The last matrix sent to uniform `name`, column-major (empty if none).
    std::vector<float> matrix(const std::string& name) const;
    void clear();

    // Names of `kind` created while recording, in order of creation, and
    // those of them not deleted since (a deleted name that OpenGL hands out
    // again counts as a new object).
    std::vector<GLuint> created(GlObjectKind kind) const;
    std::vector<GLuint> undeleted(GlObjectKind kind) const;

  private:
    class Recorder;  // the observer that writes the lines
    std::unique_ptr<Recorder> recorder_;
    GlCallInterceptor interceptor_;
};

// Intercepting the OpenGL calls our code makes, for the GL tests' call log
// (tests/support/gl_call_log.h) and the bench's recorded frame
// (bench/gl_replay.h).
//
// While a GlCallInterceptor lives, the GLEW entry points below are swapped
// for hooks that make the real call and then tell the observer, with the
// call's arguments (and its result), so drawing still happens and the
// observer sees the names a call created and the state it set. Each user
// overrides the calls it cares about; the others are passed on unseen. GL
// 1.1 functions (glBindTexture, glDrawArrays, glDrawElements) are not GLEW
// pointers and cannot be intercepted this way. The entry points are the
// process's, so one interceptor lives at a time.
#pragma once

#include <GL/glew.h>

// Told of every intercepted call, after the real one.
class GlCallObserver {
  public:
    virtual ~GlCallObserver() = default;

    virtual void useProgram(GLuint /*program*/) {}
    virtual void uniform1f(GLint /*location*/, GLfloat /*value*/) {}
    virtual void uniform1i(GLint /*location*/, GLint /*value*/) {}
    virtual void uniform2f(GLint /*location*/, GLfloat /*x*/, GLfloat /*y*/) {}
    virtual void uniform3f(GLint /*location*/, GLfloat /*x*/, GLfloat /*y*/, GLfloat /*z*/) {}
    virtual void uniformMatrix3fv(GLint /*location*/, GLsizei /*count*/, GLboolean /*transpose*/,
                                  const GLfloat* /*value*/) {}
    virtual void uniformMatrix4fv(GLint /*location*/, GLsizei /*count*/, GLboolean /*transpose*/,
                                  const GLfloat* /*value*/) {}
    virtual void activeTexture(GLenum /*unit*/) {}
    virtual void bindVertexArray(GLuint /*array*/) {}
    virtual void bindBuffer(GLenum /*target*/, GLuint /*buffer*/) {}
    virtual void bufferData(GLenum /*target*/, GLsizeiptr /*size*/, const void* /*data*/,
                            GLenum /*usage*/) {}
    virtual void enableVertexAttribArray(GLuint /*index*/) {}
    virtual void vertexAttribPointer(GLuint /*index*/, GLint /*size*/, GLenum /*type*/,
                                     GLboolean /*normalized*/, GLsizei /*stride*/,
                                     const void* /*pointer*/) {}
    virtual void genBuffers(GLsizei /*count*/, GLuint* /*buffers*/) {}  // the names made
    virtual void genVertexArrays(GLsizei /*count*/, GLuint* /*arrays*/) {}
    virtual void deleteBuffers(GLsizei /*count*/, const GLuint* /*buffers*/) {}
    virtual void deleteVertexArrays(GLsizei /*count*/, const GLuint* /*arrays*/) {}
    virtual void createShader(GLenum /*type*/, GLuint /*shader*/) {}  // shader: the result
    virtual void deleteShader(GLuint /*shader*/) {}
};

class GlCallInterceptor {
  public:
    // Swaps the hooks in; `observer` must outlive the interceptor.
    explicit GlCallInterceptor(GlCallObserver& observer);
    // Puts the real entry points back.
    ~GlCallInterceptor();
    GlCallInterceptor(const GlCallInterceptor&) = delete;
    GlCallInterceptor& operator=(const GlCallInterceptor&) = delete;
};

// The two channels through which the platform layers report problems:
// GLFW's error callback and OpenGL's debug-output callback. Both print one
// line and never stop the game.
#pragma once

#include <GL/glew.h>

#include <string>

// "GLFW error <code>: <description>".
void errorCallback(int code, const char* description);

// "OpenGL Error: <message> [Source = .., Type = .., Severity = .., ID = ..]".
std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               const std::string& message);

// Prints formatDebugMessage's line, except for the two driver ids 131185 and
// 131218 (buffer placement and shader recompilation notes), which are dropped.
void GLAPIENTRY debugMessageCallback(GLenum source, GLenum type, GLuint id, GLenum severity,
                                     GLsizei length, const GLchar* message, const void* userParam);

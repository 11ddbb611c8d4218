// HUD text: the vector font's quads drawn as flat-coloured triangles.
//
// Texts are drawn after the 3D scene in window pixels with the origin at the
// top left. Every font coordinate is doubled, so a text at (x, y) in font
// units has its top-left corner at window pixel (2x, 2y) and glyphs twice the
// font's size. The caller owns the vertex array and buffer, which each call
// refills; nothing else of the OpenGL state is touched.
#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

#include "render/shader.h"

// Most quads one text can have: the font's scratch area is 9999 bytes and a
// quad takes 64.
constexpr int kMaxTextQuads = 156;

// Two triangles per font quad (vertices 1-4-3 and 3-2-1, counter-clockwise
// on screen), x and y doubled: 12 floats per quad. Quads past kMaxTextQuads
// are dropped.
std::vector<float> buildTextVertices(const std::string& text, float x, float y);

// Orthographic projection in window pixels: left 0, right width, bottom
// height, top 0, near -1, far 1; pixel (0, 0) is the top-left corner.
glm::mat4 textProjection(int width, int height);

void renderText(const std::string& text, float x, float y, float red, float green, float blue,
                int width, int height, Shader& shader, GLuint vertexArray, GLuint vertexBuffer);

// The font's own measures in font units (before the doubling).
int textWidth(const std::string& text);
int textHeight(const std::string& text);

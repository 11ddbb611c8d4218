#include "render/text.h"

#include <algorithm>
#include <cstring>

#include <stb/stb_easy_font.h>

namespace {

// The font's scratch area: 10000 bytes, of which the font is told 9999, so
// at most kMaxTextQuads quads of 64 bytes fit.
constexpr int kScratchBytes = 10000;
constexpr int kScratchBytesOffered = 9999;
constexpr int kFontQuadBytes = 64;
constexpr int kFontVertexBytes = 16;  // x, y, z floats, then 4 colour bytes
static_assert(kScratchBytesOffered / kFontQuadBytes == kMaxTextQuads);

// The font indexes its glyph table with (character - 32) and has glyphs for
// codes 32 to 126 only; any other character (a line feed aside) would read
// outside the table, so it is drawn and measured as a blank.
bool isDrawable(char c) {
    return c == '\n' || (c >= 32 && c <= 126);
}

// The text as the font may see it. The font never writes through its
// (non-const) text pointer; a copy is made only when a character needs
// replacing.
class FontText {
  public:
    explicit FontText(const std::string& text) : text_(text) {
        if (!std::all_of(text.begin(), text.end(), isDrawable)) {
            copy_ = text;
            std::replace_if(
                copy_.begin(), copy_.end(), [](char c) { return !isDrawable(c); }, ' ');
            usesCopy_ = true;
        }
    }
    char* get() { return usesCopy_ ? copy_.data() : const_cast<char*>(text_.c_str()); }

  private:
    const std::string& text_;
    std::string copy_;
    bool usesCopy_ = false;
};

// Reads vertex `corner` (0-3) of font quad `quad` from the scratch area,
// with x and y doubled.
void appendDoubledCorner(std::vector<float>& vertices, const char* scratch, int quad, int corner) {
    float xy[2];
    std::memcpy(xy, scratch + quad * kFontQuadBytes + corner * kFontVertexBytes, sizeof xy);
    vertices.push_back(xy[0] * 2.0f);
    vertices.push_back(xy[1] * 2.0f);
}

}  // namespace

glm::mat4 textProjection(int width, int height) {
    glm::mat4 projection(0.0f);
    projection[0][0] = 2.0f / static_cast<float>(width);
    projection[1][1] = -2.0f / static_cast<float>(height);
    projection[2][2] = -1.0f;
    projection[3][0] = -1.0f;
    projection[3][1] = 1.0f;
    projection[3][3] = 1.0f;
    return projection;
}

std::vector<float> buildTextVertices(const std::string& text, float x, float y) {
    char scratch[kScratchBytes];
    FontText fontText(text);
    const int quads =
        stb_easy_font_print(x, y, fontText.get(), nullptr, scratch, kScratchBytesOffered);

    std::vector<float> vertices;
    vertices.reserve(static_cast<std::size_t>(quads) * 12);
    for (int quad = 0; quad < quads; ++quad) {
        // The font's corners run clockwise on screen (top left, top right,
        // bottom right, bottom left); taken backwards, both triangles face
        // the viewer, so face culling keeps the HUD.
        for (const int corner : {0, 3, 2, 2, 1, 0}) {
            appendDoubledCorner(vertices, scratch, quad, corner);
        }
    }
    return vertices;
}

void renderText(const std::string& text, float x, float y, float red, float green, float blue,
                int width, int height, Shader& shader, GLuint vertexArray, GLuint vertexBuffer) {
    const std::vector<float> vertices = buildTextVertices(text, x, y);

    shader.use();
    shader.setUniform("uProjection", textProjection(width, height));
    shader.setUniform("uColor", glm::vec3(red, green, blue));

    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                 vertices.data(), GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 2 * sizeof(float), nullptr);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 2));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

int textWidth(const std::string& text) {
    FontText fontText(text);
    return stb_easy_font_width(fontText.get());
}

int textHeight(const std::string& text) {
    FontText fontText(text);
    return stb_easy_font_height(fontText.get());
}

// A 2D texture made from one block-compressed DDS file.
//
// Only DXT1, DXT3 and DXT5 are supported. Level 0 is uploaded and the rest
// of the mip chain is generated. A file that is present but unusable leaves
// the texture unloaded after one message: binding it then does nothing, and
// the game goes on. A file that is missing ends the program.
#pragma once

#include <GL/glew.h>

#include <string>

#include "render/gl_object.h"

class Texture {
  public:
    explicit Texture(std::string relativePath);

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Binds the texture to GL_TEXTURE_2D on GL_TEXTURE0 + unit; a texture
    // that did not load makes no OpenGL call at all.
    void bind(unsigned int unit) const;

    bool isLoaded() const { return loaded_; }
    GLuint id() const { return texture_.get(); }

  private:
    GlTexture texture_;  // empty (0) unless loaded
    bool loaded_ = false;
};

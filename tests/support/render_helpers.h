// Shaders and an off-screen target for tests that draw.
//
// The test shaders are written into a scratch folder beside the test
// executable (inside the asset search) and declare every uniform the game's
// code sets, so a test can see each one arrive. Drawing goes to a
// framebuffer object of a chosen size, whose pixels are well defined even
// though the test window is hidden.
#pragma once

#include <GL/glew.h>

#include <array>
#include <memory>
#include <vector>

#include "render/shader.h"
#include "support/ppm_image.h"
#include "support/scratch_folder.h"

// Reads locations 0-2; sets gl_Position to modelMatrix * position and draws
// in "baseColor". Also declares normalMatrix, materialCoefficients,
// specularAlpha and the sampler diffuseTexture, all kept active.
std::shared_ptr<Shader> makeWorldTestShader(const ScratchFolder& folder);

// Location 0 = 2D window position; "uProjection" and "uColor", as the HUD
// text shader.
std::shared_ptr<Shader> makeTextTestShader(const ScratchFolder& folder);

// A framebuffer with one RGBA8 colour attachment (and, when asked, a depth
// buffer, for whole scenes), bound for drawing and reading, with the
// viewport set to its size; framebuffer 0 is bound again when it goes.
class OffscreenTarget {
  public:
    OffscreenTarget(int width, int height, bool withDepth = false);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // What the target holds now, top row first.
    PpmImage pixels() const;

  private:
    int width_ = 0;
    int height_ = 0;
    GLuint framebuffer_ = 0;
    GLuint colorBuffer_ = 0;
    GLuint depthBuffer_ = 0;
};

// A rectangle of window pixels, rows counted from the top, edges included.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
};

// The boxes around the pixels of colour `rgb` (0..255, each channel within
// 1) in `image`, top to bottom: rows of that colour less than `gap` rows
// apart share one box, so each box is one line of text.
std::vector<PixelBox> boxesOfColor(const PpmImage& image, const std::array<int, 3>& rgb,
                                   int gap = 8);

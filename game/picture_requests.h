// What the input asked of the picture during a poll: a new viewport, the
// wireframe or the backface culling switched.
//
// The callbacks only change game state; the OpenGL state they stand for is
// the renderer's to set. So, like the game events, they record each request
// in order, and the frame loop has the renderer carry them out right after
// the poll, before anything else is drawn (render/picture_state.h). A run
// without a picture (a replay checked without a window) just drops them.
#pragma once

#include <cstdint>
#include <vector>

struct PictureRequest {
    enum class Kind : std::uint8_t { Viewport, Wireframe, BackfaceCulling };
    Kind kind = Kind::Viewport;
    int width = 0;  // Viewport: pixels
    int height = 0;
    bool on = false;  // Wireframe, BackfaceCulling
};

// The requests of the game's one poll, in the order they were made; emptied
// by whoever carries them out.
extern std::vector<PictureRequest> pictureRequests;

// The OpenGL state the input may change: the viewport, the polygon mode and
// backface culling, set as the requests of a poll say (game/picture_requests.h).
#pragma once

#include "game/picture_requests.h"

// Carries out every request of pictureRequests in order (glViewport,
// glPolygonMode, glEnable or glDisable of GL_CULL_FACE) and empties the
// list. Needs the context.
void applyPictureRequests();

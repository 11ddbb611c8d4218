// The per-frame step of the game rules for the player.
//
// Animates and lands hops, awards a point per new furthest row, carries a
// standing player along on a log, decides when a landing falls into the
// river, and runs the sinking that ends the game. All timing comes from
// `deltaTime`, which the frame loop sets to 0 while paused, so a paused
// frame changes nothing here.
#pragma once

#include <glm/mat4x4.hpp>
#include <memory>
#include <vector>

#include "render/geometry.h"

// Advances the player by one frame and returns the player's model matrix.
// Of the river rows only their z (model-matrix translation) is used. In
// GameOver the matrix is -1 on the diagonal, which puts every vertex outside
// the clip volume, so the player is not drawn.
glm::mat4 updatePlayer(const std::vector<std::shared_ptr<Geometry>>& riverRows);

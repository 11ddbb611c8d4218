// Puts the game's process-wide state back to its start-up values, so tests
// that touch it do not depend on the order they run in.
#pragma once

#include <glm/vec3.hpp>
#include <string>

// Every variable of game/game_state.h (renderer flags included) to its
// initial value, the classic rand back to state 1 and the game-event queue
// emptied. Does not touch the world lists: their objects need the GL context
// to be released (releaseWorld() in game/world.h).
void resetGameGlobals();

// Puts the player at `from` in Playing, calls tryJump(direction) and returns
// what it printed.
std::string jumpFrom(const glm::vec3& from, const glm::vec3& direction);

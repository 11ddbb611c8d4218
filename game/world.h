// The playfield: 100-unit-wide rows laid one behind the other along +z, each
// of one of four kinds, with the trees of grass rows and the logs of rivers.
//
// The world is generated once at start-up and every game is played on it.
// Row kinds are drawn from a Mersenne Twister seeded from the operating
// system (or a fixed seed, for reproducible runs); tree and log values come
// from the classic rand sequence, so they repeat from run to run. The row
// lists belong to the caller; trees and logs live in process-wide lists,
// because hopping and the player update read them from GLFW callbacks and
// per-frame free functions.
#pragma once

#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/material.h"

enum class RowKind : std::uint32_t { Grass = 0, River = 1, DarkGrey = 2, LightGrey = 3 };

// The row the player starts on (at z = 0); always Grass. Row i lies at z = i - 20.
constexpr int startRowIndex = 20;

struct LogEntry {
    std::shared_ptr<Geometry> geometry;  // its model matrix's translation is the log's x and z
    float speed;                         // world units per second, 2.5 or 3.5
    float direction;                     // exactly +1 or -1 along x
};

using GeometryList = std::vector<std::shared_ptr<Geometry>>;

extern GeometryList treeParts;                // two per tree: trunk, then crown
extern std::vector<glm::vec3> treePositions;  // one per tree: (tx, -0.5, z)
extern std::vector<LogEntry> logs;            // ten per river row, in generation order

// The first log in `logs` under a player at `position` (|z - log z| < 0.5
// and |x - log x| < 1.3, the log's x and z read from its model matrix), or
// null. A plain scan in list order: the first match carries the player.
const LogEntry* findLogUnder(const glm::vec3& position);

// One value from the operating system's random source: the seed of a run
// that was not given one.
std::uint32_t newWorldSeed();

// Makes the next generateWorld seed its row generator with `seed` instead of
// the operating system's random source, so the row kinds are reproducible.
// Applies to that one call only.
void setWorldSeed(std::uint32_t seed);

// Builds `rowCount` rows (none when rowCount <= 0), appending ground and
// water to the four row lists (which are not cleared) and trees and logs to
// the lists above. With materials every object uploads its mesh (needs the
// OpenGL context); with null materials (a world for the rules alone) none
// does, and the objects are placed exactly the same.
void generateWorld(int rowCount, GeometryList& riverRows, GeometryList& grassRows,
                   GeometryList& darkGreyRows, GeometryList& lightGreyRows,
                   std::shared_ptr<Material> riverMaterial, std::shared_ptr<Material> grassMaterial,
                   std::shared_ptr<Material> darkGreyMaterial,
                   std::shared_ptr<Material> lightGreyMaterial,
                   std::shared_ptr<Material> logMaterial, std::shared_ptr<Material> trunkMaterial,
                   std::shared_ptr<Material> crownMaterial);

// A tree at `position` (its grid cell, y = -0.5): trunk first, crown second.
GeometryList makeTree(const glm::vec3& position, std::shared_ptr<Material> trunkMaterial,
                      std::shared_ptr<Material> crownMaterial);

// Empties treeParts, treePositions and logs. Their objects own GL buffers,
// so shutdown calls this while the context is still current.
void releaseWorld();

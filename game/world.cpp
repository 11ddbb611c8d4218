#include "game/world.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/vec4.hpp>
#include <optional>
#include <random>
#include <utility>

#include "game/classic_rand.h"
#include "render/mesh_generators.h"

GeometryList treeParts;
std::vector<glm::vec3> treePositions;
std::vector<LogEntry> logs;

namespace {

constexpr int logsPerRiverRow = 10;
constexpr float logSpacing = 20.0f;  // x distance between neighbouring logs of a row
constexpr float logStartX = 50.0f;   // first log at -50 (direction +1) or +50 (direction -1)
constexpr float treeY = -0.5f;
constexpr float onLogDepth = 0.5f;      // |player z - log z| below this ...
constexpr float onLogHalfWidth = 1.3f;  // ... and |player x - log x| below this: on the log

std::optional<std::uint32_t> pendingSeed;  // consumed by the next generateWorld

std::shared_ptr<Geometry> makeObject(const GeometryData& mesh, const glm::vec3& translation,
                                     std::shared_ptr<Material> material) {
    return Geometry::create(glm::translate(glm::mat4(1.0f), translation), mesh,
                            std::move(material));
}

std::uint32_t rowSeed() {
    if (pendingSeed) {
        const std::uint32_t seed = *pendingSeed;
        pendingSeed.reset();
        return seed;
    }
    return newWorldSeed();
}

GeometryData trunkMesh() {
    return createBoxGeometry(0.4f, 1.0f, 0.4f);
}
GeometryData crownMesh() {
    return createBoxGeometry(1.2f, 1.2f, 1.2f);
}

// A tree at `position` from the given meshes: trunk first, crown second.
GeometryList treeFrom(const GeometryData& trunk, const GeometryData& crown,
                      const glm::vec3& position, std::shared_ptr<Material> trunkMaterial,
                      std::shared_ptr<Material> crownMaterial) {
    GeometryList parts;
    parts.push_back(
        makeObject(trunk, position + glm::vec3(0.0f, 0.5f, 0.0f), std::move(trunkMaterial)));
    parts.push_back(
        makeObject(crown, position + glm::vec3(0.0f, 1.5f, 0.0f), std::move(crownMaterial)));
    return parts;
}

// Every object of one kind has the same mesh, so each mesh is generated
// once per world and uploaded once per object.
struct WorldMeshes {
    GeometryData ground = createBoxGeometry(100.0f, 1.0f, 1.0f);
    GeometryData water = createStripGeometry(100.0f, 1.0f);
    GeometryData log = createBoxGeometry(2.0f, 1.0f, 1.0f);
    GeometryData trunk = trunkMesh();
    GeometryData crown = crownMesh();
};

void addTreeParts(const WorldMeshes& meshes, const glm::vec3& position,
                  const std::shared_ptr<Material>& trunkMaterial,
                  const std::shared_ptr<Material>& crownMaterial) {
    for (std::shared_ptr<Geometry>& part :
         treeFrom(meshes.trunk, meshes.crown, position, trunkMaterial, crownMaterial)) {
        treeParts.push_back(std::move(part));
    }
}

// The trees of one grass row: one rand value for the count, one per tree.
void addTrees(const WorldMeshes& meshes, float z, const std::shared_ptr<Material>& trunkMaterial,
              const std::shared_ptr<Material>& crownMaterial) {
    const int treeCount = classicRand() % 4;
    for (int tree = 0; tree < treeCount; ++tree) {
        const auto tx = static_cast<float>(classicRand() % 80 - 40);
        const glm::vec3 position(tx, treeY, z);
        addTreeParts(meshes, position, trunkMaterial, crownMaterial);
        treePositions.push_back(position);
    }
}

// The ten logs of one river row: one rand value for the direction (odd: -1),
// one for the speed.
void addLogs(const WorldMeshes& meshes, float z, const std::shared_ptr<Material>& logMaterial) {
    const float direction = (classicRand() % 2 != 0) ? -1.0f : 1.0f;
    const float speed = 2.5f + static_cast<float>(classicRand() % 2);
    const float startX = -logStartX * direction;
    for (int k = 0; k < logsPerRiverRow; ++k) {
        const float x = startX + static_cast<float>(k) * direction * logSpacing;
        logs.push_back({makeObject(meshes.log, {x, -1.0f, z}, logMaterial), speed, direction});
    }
}

}  // namespace

const LogEntry* findLogUnder(const glm::vec3& position) {
    for (const LogEntry& log : logs) {
        const glm::vec4& logAt = log.geometry->getModelMatrix()[3];
        if (std::abs(position.z - logAt.z) < onLogDepth &&
            std::abs(position.x - logAt.x) < onLogHalfWidth) {
            return &log;
        }
    }
    return nullptr;
}

std::uint32_t newWorldSeed() {
    std::random_device osRandom;
    return static_cast<std::uint32_t>(osRandom());
}

void setWorldSeed(std::uint32_t seed) {
    pendingSeed = seed;
}

void generateWorld(int rowCount, GeometryList& riverRows, GeometryList& grassRows,
                   GeometryList& darkGreyRows, GeometryList& lightGreyRows,
                   std::shared_ptr<Material> riverMaterial, std::shared_ptr<Material> grassMaterial,
                   std::shared_ptr<Material> darkGreyMaterial,
                   std::shared_ptr<Material> lightGreyMaterial,
                   std::shared_ptr<Material> logMaterial, std::shared_ptr<Material> trunkMaterial,
                   std::shared_ptr<Material> crownMaterial) {
    std::mt19937 rowRandom(rowSeed());
    if (rowCount <= 0) {
        return;
    }
    const WorldMeshes meshes;
    for (int i = 0; i < rowCount; ++i) {
        const auto z = static_cast<float>(i - startRowIndex);
        const RowKind kind =
            (i == startRowIndex) ? RowKind::Grass : static_cast<RowKind>(rowRandom() >> 30);
        const glm::vec3 groundAt(0.0f, -1.0f, z);
        switch (kind) {
            case RowKind::Grass:
                grassRows.push_back(makeObject(meshes.ground, groundAt, grassMaterial));
                addTrees(meshes, z, trunkMaterial, crownMaterial);
                break;
            case RowKind::River:
                riverRows.push_back(makeObject(meshes.water, {0.0f, -0.7f, z}, riverMaterial));
                addLogs(meshes, z, logMaterial);
                break;
            case RowKind::DarkGrey:
                darkGreyRows.push_back(makeObject(meshes.ground, groundAt, darkGreyMaterial));
                break;
            case RowKind::LightGrey:
                lightGreyRows.push_back(makeObject(meshes.ground, groundAt, lightGreyMaterial));
                break;
        }
    }
}

GeometryList makeTree(const glm::vec3& position, std::shared_ptr<Material> trunkMaterial,
                      std::shared_ptr<Material> crownMaterial) {
    return treeFrom(trunkMesh(), crownMesh(), position, std::move(trunkMaterial),
                    std::move(crownMaterial));
}

void releaseWorld() {
    treeParts.clear();
    treePositions.clear();
    logs.clear();
}

#include "app/scene.h"

#include <glm/gtc/matrix_transform.hpp>

#include "game/game_state.h"

namespace {

constexpr std::uint32_t kMarkerLongitudeSegments = 18;
constexpr std::uint32_t kMarkerLatitudeSegments = 8;
constexpr float kMarkerRadius = 0.24f;

void buildShaders(Scene& scene) {
    scene.textShader = Shader::create("assets/shaders/score.vert", "assets/shaders/score.frag");
    scene.riverShader = Shader::create("assets/shaders/river.vert", "assets/shaders/river.frag");
    scene.textureShader =
        Shader::create("assets/shaders/basicTexture.vert", "assets/shaders/basicTexture.frag");
    scene.colorShader =
        Shader::create("assets/shaders/basicColor.vert", "assets/shaders/basicColor.frag");
}

void buildMaterials(Scene& scene) {
    const glm::vec3 plain(1.0f, 1.0f, 1.0f);  // full ambient, diffuse and specular weights
    const glm::vec3 dim(0.2f, 0.2f, 0.2f);
    const std::shared_ptr<Shader>& color = scene.colorShader;
    scene.woodMaterial = TextureMaterial::create(scene.textureShader, dim, 1.0f, scene.woodTexture);
    scene.tilesMaterial =
        TextureMaterial::create(scene.textureShader, dim, 1.0f, scene.tilesTexture);
    scene.riverMaterial = Material::create(scene.riverShader, glm::vec3(1.0f, 1.0f, 0.1f),
                                           glm::vec3(0.2f, 0.5f, 1.0f), 5.0f);
    scene.grassMaterial = Material::create(color, glm::vec3(0.1f, 0.8f, 0.1f), plain, 1.0f);
    scene.playerMaterial = Material::create(color, glm::vec3(1.0f, 1.0f, 0.0f), plain, 1.0f);
    scene.markerMaterial = Material::create(color, glm::vec3(1.0f, 0.0f, 0.0f), plain, 1.0f);
    scene.lightGreyMaterial = Material::create(color, glm::vec3(0.5f, 0.5f, 0.5f), plain, 1.0f);
    scene.darkGreyMaterial = Material::create(color, glm::vec3(0.3f, 0.3f, 0.3f), plain, 1.0f);
    scene.logMaterial = Material::create(color, glm::vec3(0.55f, 0.27f, 0.07f), plain, 1.0f);
    scene.trunkMaterial = Material::create(color, glm::vec3(0.4f, 0.25f, 0.1f), plain, 1.0f);
    scene.crownMaterial = Material::create(color, glm::vec3(0.1f, 0.6f, 0.1f), plain, 1.0f);
}

// The player, the world, the marker and the camera, with the scene's
// materials: drawn objects when it has them, placed-only ones when not.
void placeObjects(Scene& scene, const CameraSettings& cameraSettings, int rowCount) {
    scene.playerMesh = Geometry::create(glm::mat4(1.0f), createBoxGeometry(1.0f, 1.0f, 1.0f),
                                        scene.playerMaterial);
    generateWorld(rowCount, scene.riverRows, scene.grassRows, scene.darkGreyRows,
                  scene.lightGreyRows, scene.riverMaterial, scene.grassMaterial,
                  scene.darkGreyMaterial, scene.lightGreyMaterial, scene.logMaterial,
                  scene.trunkMaterial, scene.crownMaterial);
    scene.originMarker = Geometry::create(
        glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 0.0f)),
        createSphereGeometry(kMarkerLongitudeSegments, kMarkerLatitudeSegments, kMarkerRadius),
        scene.markerMaterial);

    const float aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    scene.camera.emplace(cameraSettings.fov, aspect, cameraSettings.nearPlane,
                         cameraSettings.farPlane);
    scene.camera->setYaw(cameraSettings.yaw);
    scene.camera->setPitch(cameraSettings.pitch);
}

}  // namespace

std::unique_ptr<Scene> buildScene(const CameraSettings& cameraSettings, int rowCount) {
    auto scene = std::make_unique<Scene>();
    buildShaders(*scene);
    scene->woodTexture = std::make_shared<Texture>("assets/textures/wood_texture.dds");
    scene->tilesTexture = std::make_shared<Texture>("assets/textures/tiles_diffuse.dds");
    buildMaterials(*scene);
    scene->textVertexArray = makeGlVertexArray();
    scene->textVertexBuffer = makeGlBuffer();
    placeObjects(*scene, cameraSettings, rowCount);
    return scene;
}

std::unique_ptr<Scene> buildRulesScene(const CameraSettings& cameraSettings, int rowCount) {
    auto scene = std::make_unique<Scene>();
    placeObjects(*scene, cameraSettings, rowCount);
    return scene;
}

void releaseScene(std::unique_ptr<Scene>& scene) {
    scene->originMarker.reset();
    scene->riverRows.clear();
    scene->grassRows.clear();
    scene->darkGreyRows.clear();
    scene->lightGreyRows.clear();
    releaseWorld();
    scene->playerMesh.reset();
    // The rest goes in reverse order of declaration: the text objects, then the
    // materials, the textures and the shaders.
    scene.reset();
}

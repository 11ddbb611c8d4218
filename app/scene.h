// Every object the frame loop draws, built once at start-up in a fixed
// order and released at shutdown while the context is still current.
//
// Shaders, textures and materials are shared: materials share shaders and
// textures, and many meshes share one material, so each lives until its last
// user goes. The two textured materials are built and held although nothing
// is drawn with them; their files are still required. A new game reuses all
// of it, the generated world included.
#pragma once

#include <memory>
#include <optional>

#include "app/startup_settings.h"
#include "game/world.h"
#include "render/geometry.h"
#include "render/gl_object.h"
#include "render/material.h"
#include "render/shader.h"
#include "render/texture.h"
#include "view/camera.h"

struct Scene {
    std::shared_ptr<Shader> textShader;
    std::shared_ptr<Shader> riverShader;
    std::shared_ptr<Shader> textureShader;
    std::shared_ptr<Shader> colorShader;

    std::shared_ptr<Texture> woodTexture;
    std::shared_ptr<Texture> tilesTexture;

    std::shared_ptr<Material> woodMaterial;
    std::shared_ptr<Material> tilesMaterial;
    std::shared_ptr<Material> riverMaterial;
    std::shared_ptr<Material> grassMaterial;
    std::shared_ptr<Material> playerMaterial;
    std::shared_ptr<Material> markerMaterial;
    std::shared_ptr<Material> lightGreyMaterial;
    std::shared_ptr<Material> darkGreyMaterial;
    std::shared_ptr<Material> logMaterial;
    std::shared_ptr<Material> trunkMaterial;
    std::shared_ptr<Material> crownMaterial;

    // Refilled by every HUD text draw.
    GlVertexArray textVertexArray;
    GlBuffer textVertexBuffer;

    std::shared_ptr<Geometry> playerMesh;  // model matrix replaced every game frame
    GeometryList riverRows;
    GeometryList grassRows;
    GeometryList darkGreyRows;
    GeometryList lightGreyRows;
    std::shared_ptr<Geometry> originMarker;  // red sphere at the origin, never moves

    std::optional<Camera> camera;
};

// Builds the scene: four shaders, two textures, eleven materials, the text
// objects, the player, the world (rowCount rows), the origin marker and the
// camera (aspect from the window size in effect now, computed once).
std::unique_ptr<Scene> buildScene(const CameraSettings& cameraSettings, int rowCount = 200);

// The same objects, placed exactly as buildScene places them, with no
// shader, texture, material or GPU buffer: the scene of a run played without
// a window, which needs no context and is never drawn.
std::unique_ptr<Scene> buildRulesScene(const CameraSettings& cameraSettings, int rowCount = 200);

// Releases the origin marker, the row lists and the world's trees and logs,
// the player, then the materials, textures, shaders and text objects, so
// that no OpenGL object outlives the context.
void releaseScene(std::unique_ptr<Scene>& scene);

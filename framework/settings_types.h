// The plain values a run is set up with: window, camera and renderer.
//
// Start-up reads them from the settings files (app/startup_settings.h) and a
// replay file carries the ones its run used (replay/replay_format.h); they
// live here, below both, so that neither reaches into the other. Each
// member initialiser is the default used when a file or a key is missing.
#pragma once

#include <string>

struct WindowSettings {
    int width = 1280;      // pixels
    int height = 768;      // pixels
    int refreshRate = 60;  // Hz, a hint for fullscreen
    bool fullscreen = false;
    std::string title = "QUORLAND";
};

struct CameraSettings {
    float fov = 60.0f;       // vertical field of view, degrees
    float nearPlane = 0.1f;  // clipping distances, world units
    float farPlane = 100.0f;
    float yaw = 0.0f;    // radians; 0 puts the eye in front of the player, on +z
    float pitch = 0.0f;  // radians; negative raises the eye
};

struct RendererSettings {
    bool wireframe = false;
    bool backfaceCulling = false;
    bool normals = false;
    bool texcoords = false;
    bool depthTest = true;
};

// The values start-up reads from the three settings files.
//
// Each struct's member initialisers are the defaults used when a file or a
// key is missing; the tables in startup_settings.cpp map every member to its
// section and key, in the order they are read.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"

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

struct StartupSettings {
    WindowSettings window;
    CameraSettings camera;
    RendererSettings renderer;
    std::vector<std::string> missingFiles;  // files that could not be read, paths as given
};

constexpr const char* kWindowSettingsPath = "assets/settings/window.ini";
constexpr const char* kCameraSettingsPath = "assets/settings/camera_front_up.ini";
constexpr const char* kRendererSettingsPath = "assets/settings/renderer_standard.ini";

// Settings are read as long and double and stored as int and float. Values
// beyond the narrower type's range saturate: a long does not wrap into a
// small int (4294968576 is not 1280), and a double beyond the float range
// becomes the largest float of its sign instead of an undefined conversion.
// Infinities and NaN pass unchanged.
int narrowSetting(long value);
float narrowSetting(double value);

// Reads the window file, then the camera file (or the "--init_camera" path),
// then the renderer file (or the "--init_renderer" path). A missing file
// prints one line and leaves its defaults.
StartupSettings readStartupSettings(const CommandLineOptions& options);

// The values start-up reads from the three settings files.
//
// The settings types themselves are framework/settings_types.h's (a replay
// file carries them too); the tables in startup_settings.cpp map every
// member to its section and key, in the order they are read.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"
#include "framework/settings_types.h"

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

// Puts the window size and the renderer flags a run plays with into the
// game state, as start-up (or a replay's header) gives them.
void adoptSettings(const WindowSettings& window, const RendererSettings& renderer);

#include "app/startup_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/settings_reader.h"
#include "game/game_state.h"

namespace {

// Each overload reads one typed value; the value passed in is the default.
void readValue(const SettingsReader& reader, const char* section, const char* name, int& value) {
    value = narrowSetting(reader.GetInteger(section, name, value));
}
void readValue(const SettingsReader& reader, const char* section, const char* name, float& value) {
    value = narrowSetting(reader.GetReal(section, name, value));
}
void readValue(const SettingsReader& reader, const char* section, const char* name, bool& value) {
    value = reader.GetBoolean(section, name, value);
}
void readValue(const SettingsReader& reader, const char* section, const char* name,
               std::string& value) {
    value = reader.Get(section, name, value);
}

template <typename Settings>
using MemberReader = void (*)(const SettingsReader&, const char*, const char*, Settings&);

template <auto Member, typename Settings>
void readMember(const SettingsReader& reader, const char* section, const char* name,
                Settings& settings) {
    readValue(reader, section, name, settings.*Member);
}

// One key of a settings file and the member it fills; the member's initial
// value is the default.
template <typename Settings>
struct SettingKey {
    const char* section;
    const char* name;
    MemberReader<Settings> read;
};

const SettingKey<WindowSettings> kWindowKeys[] = {
    {"window", "width", readMember<&WindowSettings::width>},
    {"window", "height", readMember<&WindowSettings::height>},
    {"window", "refresh_rate", readMember<&WindowSettings::refreshRate>},
    {"window", "fullscreen", readMember<&WindowSettings::fullscreen>},
    {"window", "title", readMember<&WindowSettings::title>},
};

const SettingKey<CameraSettings> kCameraKeys[] = {
    {"camera", "fov", readMember<&CameraSettings::fov>},
    {"camera", "near", readMember<&CameraSettings::nearPlane>},
    {"camera", "far", readMember<&CameraSettings::farPlane>},
    {"camera", "yaw", readMember<&CameraSettings::yaw>},
    {"camera", "pitch", readMember<&CameraSettings::pitch>},
};

const SettingKey<RendererSettings> kRendererKeys[] = {
    {"renderer", "wireframe", readMember<&RendererSettings::wireframe>},
    {"renderer", "backface_culling", readMember<&RendererSettings::backfaceCulling>},
    {"renderer", "normals", readMember<&RendererSettings::normals>},
    {"renderer", "texcoords", readMember<&RendererSettings::texcoords>},
    {"renderer", "depthtest", readMember<&RendererSettings::depthTest>},
};

template <typename Settings, std::size_t N>
Settings readSettings(const std::string& path, const SettingKey<Settings> (&keys)[N],
                      std::vector<std::string>& missingFiles) {
    const SettingsReader reader(path);
    if (reader.ParseError() < 0) {
        missingFiles.push_back(path);
    }
    Settings settings;
    for (const SettingKey<Settings>& key : keys) {
        key.read(reader, key.section, key.name, settings);
    }
    return settings;
}

}  // namespace

int narrowSetting(long value) {
    return static_cast<int>(
        std::clamp<long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

float narrowSetting(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::isfinite(value) ? std::clamp(value, -kLargest, kLargest)
                                                   : value);
}

StartupSettings readStartupSettings(const CommandLineOptions& options) {
    StartupSettings settings;
    std::vector<std::string>& missing = settings.missingFiles;
    settings.window = readSettings(kWindowSettingsPath, kWindowKeys, missing);
    settings.camera =
        readSettings(options.initCamera ? options.cameraSettingsPath : kCameraSettingsPath,
                     kCameraKeys, missing);
    settings.renderer =
        readSettings(options.initRenderer ? options.rendererSettingsPath : kRendererSettingsPath,
                     kRendererKeys, missing);
    return settings;
}

void adoptSettings(const WindowSettings& window, const RendererSettings& renderer) {
    windowWidth = window.width;
    windowHeight = window.height;
    renderWireframe = renderer.wireframe;
    renderBackfaceCulling = renderer.backfaceCulling;
    renderNormals = renderer.normals;
    renderTexcoords = renderer.texcoords;
}

// Any bytes as a settings file, found through the asset search (the file is
// written next to this executable), then every key start-up reads, through
// both the reader's getters and the start-up tables.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "app/startup_settings.h"
#include "framework/settings_reader.h"

namespace {

std::string relativeName() {
    return "fuzz_settings_" + std::to_string(getpid()) + ".ini";
}

std::filesystem::path executableFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

void queryEverything(const SettingsReader& reader) {
    for (const char* section : {"window", "camera", "renderer", "WINDOW", ""}) {
        for (const char* name : {"width", "height", "refresh_rate", "fullscreen", "title", "fov",
                                 "near", "far", "yaw", "pitch", "wireframe", "depthtest", ""}) {
            (void)reader.Get(section, name, "default");
            (void)reader.GetInteger(section, name, 7);
            (void)reader.GetReal(section, name, 0.5);
            (void)reader.GetBoolean(section, name, true);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string name = relativeName();
    static const std::string path = (executableFolder() / name).string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const SettingsReader reader(name);
    queryEverything(reader);

    CommandLineOptions options;
    options.initCamera = true;
    options.cameraSettingsPath = name;
    options.initRenderer = true;
    options.rendererSettingsPath = name;
    (void)readStartupSettings(options);
    return 0;
}

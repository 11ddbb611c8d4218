// The desktop side of the platform boundary (framework/platform.h): Linux
// paths, a plain while loop, desktop GLSL and S3TC textures as they are.
#include <unistd.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "framework/platform.h"

std::string runningExecutablePath(std::size_t bufferSize) {
    std::vector<char> buffer(bufferSize);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return "";
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

void runPlatformLoop(const std::function<bool()>& iteration) {
    while (iteration()) {
    }
}

std::string platformShaderSource(const std::string& desktopSource) {
    return desktopSource;
}

bool platformTakesCompressedTextures() {
    return true;
}

bool platformNextRun(std::vector<std::string>& /*arguments*/) {
    static bool first = true;
    return std::exchange(first, false);
}

void platformWaitAfterFatal(const std::string& /*message*/) {
    std::getchar();
}

// The desktop side of the platform boundary (framework/platform.h): Linux
// paths, a plain while loop, desktop GLSL and S3TC textures as they are, and
// OpenAL Soft kept quiet.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
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

namespace {

// ALSA's error handler type (alsa/error.h), declared here so that the game
// neither links libasound nor needs its headers: it is only loaded, if
// installed, to be told to be quiet.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void dropAlsaMessage(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                     const char* /*format*/, ...) {}

}  // namespace

void platformQuietSoundLibraries() {
    static bool quiet = false;
    if (quiet) {
        return;
    }
    quiet = true;
    // OpenAL Soft reads its log level when it first starts, which is the
    // first OpenAL call; 0 logs nothing. A level the player set stays.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // ALSA prints through one process-wide handler. OpenAL Soft loads the
    // same library later; it stays loaded for the process's life, so the
    // handler stays in force.
    if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL)) {
        if (void* set = dlsym(alsa, "snd_lib_error_set_handler")) {
            reinterpret_cast<AlsaSetErrorHandler>(set)(dropAlsaMessage);
        }
    }
}

bool platformSoundMuted() {
    return false;
}

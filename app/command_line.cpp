#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "framework/console.h"

namespace {

// Accepts only plain decimal digits that fit in 32 bits.
bool parseSeed(const std::string& text, std::uint32_t& seed) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    seed = static_cast<std::uint32_t>(value);
    return true;
}

void applySeed(CommandLineOptions& options, const std::string& value) {
    std::uint32_t seed = 0;
    if (!parseSeed(value, seed)) {
        printLine("Ignoring --seed '" + value + "': expected a whole number from 0 to 4294967295");
        return;
    }
    options.hasSeed = true;
    options.seed = seed;
}

}  // namespace

void parseCommandLine(CommandLineOptions& options, int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        if (argument == "--run_headless") {
            options.runHeadless = true;
        } else if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
        } else if (argument == "--mute") {
            options.mute = true;
        } else if (!hasValue) {
            continue;  // an option that needs a value cannot use one past argv
        } else if (argument == "--filename") {
            options.hasFilename = true;
            options.filename = value;
        } else if (argument == "--init_camera") {
            options.initCamera = true;
            options.cameraSettingsPath = value;
        } else if (argument == "--init_renderer") {
            options.initRenderer = true;
            options.rendererSettingsPath = value;
        } else if (argument == "--seed") {
            applySeed(options, value);
        } else if (argument == "--record") {
            options.hasRecordFile = true;
            options.recordFile = value;
        } else if (argument == "--replay" || argument == "--timedemo") {
            options.hasReplayFile = true;
            options.replayFile = value;
            options.timedemo = argument == "--timedemo";
        }
    }
}

std::string commandLineUsage() {
    return "Usage: quorland [options]\n"
           "  --run_headless          wait for the first click, write one screenshot of the first\n"
           "                          game frame, then exit\n"
           "  --filename <name>       screenshot file name without \".ppm\" (default: screenshot)\n"
           "  --init_camera <path>    camera settings file, relative to the project root\n"
           "                          (default: assets/settings/camera_front_up.ini)\n"
           "  --init_renderer <path>  renderer settings file, relative to the project root\n"
           "                          (default: assets/settings/renderer_standard.ini)\n"
           "  --seed <n>              row layout seed, a whole number from 0 to 4294967295\n"
           "                          (default: a new layout every run)\n"
           "  --record <file>         write the whole run to a replay file\n"
           "  --replay <file>         play a replay file back, then go on live\n"
           "  --timedemo <file>       play a replay file as fast as possible, print the frame\n"
           "                          times and exit\n"
           "  --verify <file>         play a replay file through the rules without a window,\n"
           "                          print its lines and a JSON verdict, and exit\n"
           "  --mute                  no sound (by default every game event is heard)\n"
           "  --help, -h              print this text and exit\n"
           "  --version               print the version and exit\n"
           "An option that needs a value is ignored when it is the last argument.\n"
           "Unknown arguments are ignored.";
}

bool wantsSound(const CommandLineOptions& options) {
    return !options.mute && !options.runHeadless && !options.timedemo;
}

bool asksForVersion(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--version") {
            return true;
        }
    }
    return false;
}

std::optional<std::string> fileToVerify(int argc, const char* const* argv) {
    std::optional<std::string> file;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--verify") {
            file = argv[i + 1];
        }
    }
    return file;
}

std::string versionLine() {
    return std::string("quorland ") + QUORLAND_VERSION;
}

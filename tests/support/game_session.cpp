#include "support/game_session.h"

#include <thread>

#include "support/scratch_folder.h"

const std::vector<int> kSkyPixel{135, 204, 250};
const std::vector<int> kMenuPixel{176, 0, 176};

GameSession::GameSession() = default;

bool GameSession::start(const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment) {
    std::vector<std::string> argv{sandbox_.binary()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    game_ = std::make_unique<ChildProcess>(argv, sandbox_.workingDirectory(), display_.name(),
                                           environment);
    return runCommand({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^QUORLAND$"},
                      display_.name(), 30s) == 0;
}

void GameSession::click(int x, int y) const {
    runCommand({"xdotool", "mousemove", std::to_string(x), std::to_string(y)}, display_.name());
    runCommand({"xdotool", "click", "1"}, display_.name());
}

void GameSession::key(const std::string& name) const {
    runCommand({"xdotool", "key", name}, display_.name());
    // Two presses of one key inside the same server millisecond read as one.
    std::this_thread::sleep_for(60ms);
}

std::optional<PpmImage> GameSession::captureScreen(int width, int height) const {
    const std::string file = (sandbox_.root() / "capture.ppm").string();
    const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+0+0";
    if (runCommand({"import", "-window", "root", "-crop", crop, "-depth", "8", file},
                   display_.name(), 20s) != 0) {
        return std::nullopt;
    }
    return parsePpm(readWholeFile(file));
}

bool GameSession::waitForScreen(const std::function<bool(const PpmImage&)>& predicate,
                                std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::optional<PpmImage> image = captureScreen();
        if (image && predicate(*image)) {
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

bool pixelIs(const PpmImage& image, int x, int y, const std::vector<int>& rgb) {
    return image.at(x, y) == rgb;
}

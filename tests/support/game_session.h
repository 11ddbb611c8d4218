// One run of the real game binary in a sandbox on a private X server, with
// the means to drive it the way a player does (xdotool) and to look at what
// it shows (a capture of the X screen).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/game_sandbox.h"
#include "support/ppm_image.h"

class GameSession {
  public:
    GameSession();

    // Starts the game (with `environment` entries added to the test's own);
    // true once its window is visible.
    bool start(const std::vector<std::string>& arguments = {},
               const std::vector<std::string>& environment = {});

    void click(int x = 200, int y = 200) const;
    void key(const std::string& name) const;  // an xdotool key name, e.g. "w", "Escape"

    // The top-left `width` x `height` of the X screen as the player sees it.
    std::optional<PpmImage> captureScreen(int width = 1280, int height = 768) const;
    // Captures until `predicate` holds for a capture (true) or time runs out.
    bool waitForScreen(const std::function<bool(const PpmImage&)>& predicate,
                       std::chrono::milliseconds timeout) const;

    ChildProcess& game() { return *game_; }
    const GameSandbox& sandbox() const { return sandbox_; }
    bool displayOk() const { return display_.ok(); }
    const std::string& displayName() const { return display_.name(); }

  private:
    VirtualDisplay display_;
    GameSandbox sandbox_;
    std::unique_ptr<ChildProcess> game_;
};

// Colours as the screen shows them (0..255).
bool pixelIs(const PpmImage& image, int x, int y, const std::vector<int>& rgb);
extern const std::vector<int> kSkyPixel;
extern const std::vector<int> kMenuPixel;

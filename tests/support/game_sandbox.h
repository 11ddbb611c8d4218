// A throw-away copy of the game's project tree for end-to-end tests.
//
// The game finds its assets by walking up from its executable to the folder
// holding CMakeLists.txt, so a test that wants a missing or broken asset
// runs a copy of the binary inside a temporary tree:
//   <root>/CMakeLists.txt  (the marker)
//   <root>/assets/...      (copied from the source tree, then edited)
//   <root>/build/quorland  (copy of the real binary)
//   <root>/run/            (working directory; screenshots land here)
#pragma once

#include <filesystem>
#include <string>

class GameSandbox {
  public:
    GameSandbox();
    ~GameSandbox();
    GameSandbox(const GameSandbox&) = delete;
    GameSandbox& operator=(const GameSandbox&) = delete;

    void removeAsset(const std::string& relativePath) const;
    void writeAsset(const std::string& relativePath, const std::string& content) const;

    std::string binary() const { return (root_ / "build" / "quorland").string(); }
    std::string workingDirectory() const { return (root_ / "run").string(); }
    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
};

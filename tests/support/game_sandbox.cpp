#include "support/game_sandbox.h"

#include <unistd.h>

#include <fstream>

namespace fs = std::filesystem;

GameSandbox::GameSandbox() {
    std::string pattern = (fs::temp_directory_path() / "quorland-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    root_ = pattern;
    std::ofstream(root_ / "CMakeLists.txt") << "# project root marker for the asset search\n";
    fs::copy(fs::path(QUORLAND_SOURCE_DIR) / "assets", root_ / "assets",
             fs::copy_options::recursive);
    fs::create_directories(root_ / "build");
    fs::create_directories(root_ / "run");
    fs::copy_file(QUORLAND_BINARY, binary());
}

GameSandbox::~GameSandbox() {
    std::error_code ignored;
    if (!root_.empty()) {
        fs::remove_all(root_, ignored);
    }
}

void GameSandbox::removeAsset(const std::string& relativePath) const {
    fs::remove(root_ / relativePath);
}

void GameSandbox::writeAsset(const std::string& relativePath, const std::string& content) const {
    fs::create_directories((root_ / relativePath).parent_path());
    std::ofstream(root_ / relativePath, std::ios::binary) << content;
}

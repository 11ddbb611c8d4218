#include "support/temp_tree.h"

#include <stdlib.h>

#include <fstream>

namespace fs = std::filesystem;

TempTree::TempTree(const fs::path& parent) {
    std::string pattern = (parent / "quorland-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempTree::~TempTree() {
    std::error_code ignored;
    if (!path_.empty()) {
        fs::remove_all(path_, ignored);
    }
}

fs::path TempTree::write(const std::string& relative, const std::string& content) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

fs::path TempTree::makeFolder(const std::string& relative) const {
    fs::create_directories(path_ / relative);
    return path_ / relative;
}

fs::path executableFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

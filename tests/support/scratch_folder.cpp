#include "support/scratch_folder.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>

namespace {

std::filesystem::path uniqueChild(const std::filesystem::path& parent) {
    static std::atomic<int> counter{0};
    const std::string name =
        "quorland-scratch-" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1));
    const std::filesystem::path folder = parent / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace

ScratchFolder ScratchFolder::inTemp() {
    return ScratchFolder(uniqueChild(std::filesystem::temp_directory_path()));
}

ScratchFolder ScratchFolder::besideTestExecutable() {
    return ScratchFolder(
        uniqueChild(std::filesystem::read_symlink("/proc/self/exe").parent_path()));
}

ScratchFolder::ScratchFolder(std::filesystem::path path) : path_(std::move(path)) {}

ScratchFolder::ScratchFolder(ScratchFolder&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string ScratchFolder::file(const std::string& name) const {
    return (path_ / name).string();
}

std::string ScratchFolder::assetPath(const std::string& name) const {
    return (path_.filename() / name).string();
}

std::string ScratchFolder::write(const std::string& name,
                                 const std::vector<std::uint8_t>& bytes) const {
    const std::string full = file(name);
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream stream(full, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    return full;
}

std::string ScratchFolder::write(const std::string& name, const std::string& text) const {
    return write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string ScratchFolder::makeFolder(const std::string& name) const {
    std::filesystem::create_directories(path_ / name);
    return file(name);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// Temporary folder trees for file-based tests, removed when the object goes.
#pragma once

#include <filesystem>
#include <string>

class TempTree {
  public:
    // A fresh folder under `parent` (the system temp folder by default).
    explicit TempTree(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `content` to path()/relative, creating folders on the way.
    std::filesystem::path write(const std::string& relative, const std::string& content = "") const;
    std::filesystem::path makeFolder(const std::string& relative) const;

  private:
    std::filesystem::path path_;
};

// The folder of the running test executable.
std::filesystem::path executableFolder();

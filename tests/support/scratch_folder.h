// A folder of files written by a test and removed with it.
//
// Tests that read files (DDS headers, PPM output) write them here rather
// than into the source tree. A folder made beside the test executable is
// inside the asset search (which starts in the executable's folder), so code
// that takes asset paths can be fed files a test wrote: assetPath() gives the
// relative path to pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class ScratchFolder {
  public:
    // A fresh folder under the system's temporary folder.
    static ScratchFolder inTemp();
    // A fresh folder in the test executable's own folder.
    static ScratchFolder besideTestExecutable();

    ~ScratchFolder();
    ScratchFolder(ScratchFolder&& other) noexcept;
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ScratchFolder& operator=(ScratchFolder&&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Full path of `name` inside the folder.
    std::string file(const std::string& name) const;
    // Path of `name` relative to the folder's parent, for the asset search.
    std::string assetPath(const std::string& name) const;

    // Writes `bytes` to `name` (folders on the way are made) and returns its
    // full path.
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string write(const std::string& name, const std::string& text = "") const;
    // Makes the folder `name` (and those on the way); returns its full path.
    std::string makeFolder(const std::string& name) const;

  private:
    explicit ScratchFolder(std::filesystem::path path);
    std::filesystem::path path_;
};

// The whole content of a file ("" when it cannot be read).
std::string readWholeFile(const std::string& path);

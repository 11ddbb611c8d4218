#include "framework/asset_path.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>

#include "framework/console.h"

namespace {

constexpr std::size_t kExecutablePathBufferSize = 1337;
constexpr const char* kProjectRootMarker = "CMakeLists.txt";

// Folder of the running executable; exits when the path cannot be had or may
// have been cut short by the buffer.
std::filesystem::path executableFolder() {
    std::array<char, kExecutablePathBufferSize> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        printLine("Error retrieving executable path on Windows!");
        exitAfterKeypress();
    }
    const std::filesystem::path executable(
        std::string(buffer.data(), static_cast<std::size_t>(length)));
    return executable.parent_path();
}

}  // namespace

bool isReadableFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream stream(path);
    return stream.good();
}

std::vector<std::string> searchAssetCandidates(const std::filesystem::path& startFolder,
                                               const std::string& relativePath) {
    std::vector<std::string> candidates;
    std::filesystem::path folder = startFolder;
    for (;;) {
        // An absolute path names the same file from every folder; one file
        // found on several ways up is still one candidate.
        const std::string candidate = (folder / relativePath).string();
        if (isReadableFile(candidate) &&
            std::find(candidates.begin(), candidates.end(), candidate) == candidates.end()) {
            candidates.push_back(candidate);
        }
        if (isReadableFile(folder / kProjectRootMarker)) {
            break;
        }
        const std::filesystem::path parent = folder.parent_path();
        if (parent == folder) {
            break;
        }
        folder = parent;
    }
    return candidates;
}

std::string pickSingleCandidate(const std::string& relativePath,
                                const std::vector<std::string>& candidates) {
    if (candidates.empty()) {
        return "";
    }
    if (candidates.size() == 1) {
        return candidates.front();
    }
    printLine("Ambiguous asset file path: '" + relativePath + "'");
    printLine(
        "Found this path at multiple locations. Don't know which one shall be used. "
        "Candidates are:");
    for (const std::string& candidate : candidates) {
        printLine("  - " + candidate);
    }
    printLine("Remove all duplicates to fix this!");
    exitAfterKeypress();
}

std::string findAssetFile(const std::string& relativePath) {
    return pickSingleCandidate(relativePath,
                               searchAssetCandidates(executableFolder(), relativePath));
}

#include "framework/asset_path.h"

#include <algorithm>
#include <fstream>

#include "framework/console.h"
#include "framework/platform.h"

namespace {

constexpr std::size_t kExecutablePathBufferSize = 1337;
constexpr const char* kProjectRootMarker = "CMakeLists.txt";

// Folder of the running executable; exits when the path cannot be had or may
// have been cut short by the buffer.
std::filesystem::path executableFolder() {
    const std::string executable = runningExecutablePath(kExecutablePathBufferSize);
    if (executable.empty()) {
        printFatalLine("Error retrieving executable path on Windows!");
        exitAfterKeypress();
    }
    return std::filesystem::path(executable).parent_path();
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
    printFatalLine("Ambiguous asset file path: '" + relativePath + "'");
    printFatalLine(
        "Found this path at multiple locations. Don't know which one shall be used. "
        "Candidates are:");
    for (const std::string& candidate : candidates) {
        printFatalLine("  - " + candidate);
    }
    printFatalLine("Remove all duplicates to fix this!");
    exitAfterKeypress();
}

std::string findAssetFile(const std::string& relativePath) {
    return pickSingleCandidate(relativePath,
                               searchAssetCandidates(executableFolder(), relativePath));
}

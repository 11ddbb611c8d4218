// Finding the game's data files.
//
// Assets are named by paths relative to the project root
// ("assets/shaders/score.vert") and are never resolved against the working
// directory. The search starts in the executable's folder and walks up to the
// first folder holding "CMakeLists.txt" (the project root, searched itself)
// or the file-system root. Exactly one match is allowed: two copies of an
// asset would make it a matter of luck which one the game uses, so that ends
// the program with a list of the candidates.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Full path of the single match of `relativePath`, or "" when no searched
// folder holds it. Does not return when the executable's own path cannot be
// had or when the asset exists in more than one searched folder.
std::string findAssetFile(const std::string& relativePath);

// The upward search from `startFolder`, without the decision: every match in
// the order found (nearest first), each formed as folder / relativePath and
// listed once (an absolute path forms the same candidate in every folder).
std::vector<std::string> searchAssetCandidates(const std::filesystem::path& startFolder,
                                               const std::string& relativePath);

// Decides on a candidate list: "" for none, the path for one; prints the
// ambiguity report and exits with code 1 for more.
std::string pickSingleCandidate(const std::string& relativePath,
                                const std::vector<std::string>& candidates);

// True when `path` names a regular file that can be opened for reading.
bool isReadableFile(const std::filesystem::path& path);

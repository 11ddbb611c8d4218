// The frames of a recording, as far as the board needs them: which bytes
// belong to which frame, and a hash of the first N frames.
//
// This is not a replay reader (the game's verifier is the only judge of a
// file): it only splits the text into its header (the lines before the
// first frame) and the groups of lines that each end with a frame line
// (`g ...` or `m`), ignoring carriage returns, the closing `end` line and a
// cut-off last group. Two recordings of the same run then have the same
// frame groups whatever their headers say, so "the same frames" and "begins
// with that run" are comparisons of prefix hashes (SHA-256, hex).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ReplayFrames {
  public:
    explicit ReplayFrames(std::string_view text);

    std::size_t count() const { return ends_.size(); }
    // Hash of the first `frames` frames (at most count()).
    std::string prefixHash(std::size_t frames) const;
    // prefixHash of each count, in one pass over the bytes.
    std::vector<std::string> prefixHashes(const std::vector<std::size_t>& counts) const;

  private:
    std::string frameText_;          // the frame groups, lines ended by '\n'
    std::vector<std::size_t> ends_;  // end offset of each frame in frameText_
};

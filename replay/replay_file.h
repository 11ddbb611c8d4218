// Replay files on disk: the recorder that appends a run's lines as it goes,
// and the loader that reads a whole file before any window opens.
//
// The recorder flushes at the end of every frame, so a killed or crashed
// game leaves a file that replays up to its last whole frame. Both sides
// report an unusable file through start-up's fatal path, never later.
// The recorder also keeps the run in memory (the page's download and the
// recordings of the player's bests are copies of it), up to a size a reader
// accepts once the closing line is added; past that the run plays on and
// is just not kept in memory.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "replay/replay_format.h"

// The version written into every recording's first line.
const char* gameVersion();

// The largest replay file read: far beyond any plausible game (about a
// hundred hours at 60 frames per second), small enough to read whole.
constexpr std::size_t kMaxReplayBytes = std::size_t{64} << 20;
// The most of a run kept in memory: room is left for the closing line.
constexpr std::size_t kMaxKeptBytes = kMaxReplayBytes - 32;

class ReplayRecorder {
  public:
    // Null when `path` cannot be created or written.
    static std::unique_ptr<ReplayRecorder> create(const std::string& path);
    // A recorder that keeps the run in memory only.
    static std::unique_ptr<ReplayRecorder> inMemory();
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Writes `lines` (complete lines); `flush` hands them to the system at once.
    void write(const std::string& lines, bool flush = false);
    // Writes the line that ends a frame and hands the frame to the system.
    void writeFrame(const std::string& frameLine);
    // The closing line of a run that ended normally.
    void finish(std::size_t frameCount);

    // The recording as a complete file: what is written so far, closed for
    // the frames so far unless the run has already closed it.
    std::string closedCopy() const;
    // The same from memory; nothing once the run has outgrown kMaxKeptBytes.
    std::optional<std::string> keptCopy() const;
    // The recorder of the run in progress, or null (the page takes its
    // recording through it while the run goes on).
    static const ReplayRecorder* current();

  private:
    ReplayRecorder(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
    std::string closed(const std::string& text) const;
    std::FILE* file_;  // null when recording in memory only
    std::string path_;
    std::string memory_;      // every line written, while kept
    bool kept_ = true;        // memory_ holds the whole run
    std::size_t frames_ = 0;  // frame lines written
    bool finished_ = false;   // the closing line is written
};

// The message naming `path` when the recording cannot be written.
std::string recordFileError(const std::string& path);

// The whole file at `path`, at most kMaxReplayBytes of it: nothing when it
// cannot be read, or `tooLarge` set (and nothing) when it holds more.
std::optional<std::string> readReplayBytes(const std::string& path, bool& tooLarge);

// The "ERROR: " line for a replay named `path` that cannot be read, holds
// more than kMaxReplayBytes or does not parse.
std::string unreadableReplayLine(const std::string& path);
std::string tooLargeReplayLine(const std::string& path);
std::string badReplayLine(const std::string& path, const ReplayError& error);

// Reads and parses `path`. On any fault prints one "ERROR: " line naming the
// file (and the line and what is wrong), waits for one character of input
// and exits with code 1.
Replay loadReplayOrExit(const std::string& path);

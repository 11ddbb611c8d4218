// Replay files on disk: the recorder that appends a run's lines as it goes,
// and the loader that reads a whole file before any window opens.
//
// The recorder flushes at the end of every frame, so a killed or crashed
// game leaves a file that replays up to its last whole frame. Both sides
// report an unusable file through start-up's fatal path, never later.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "replay/replay_format.h"

// The version written into every recording's first line.
const char* gameVersion();

class ReplayRecorder {
  public:
    // Null when `path` cannot be created or written.
    static std::unique_ptr<ReplayRecorder> create(const std::string& path);
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Writes `lines` (complete lines); `flush` hands them to the system at once.
    void write(const std::string& lines, bool flush = false);
    // The closing line of a run that ended normally.
    void finish(std::size_t frameCount);

  private:
    explicit ReplayRecorder(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

// The message naming `path` when the recording cannot be written.
std::string recordFileError(const std::string& path);

// Reads and parses `path`. On any fault prints one "ERROR: " line naming the
// file (and the line and what is wrong), waits for one character of input
// and exits with code 1.
Replay loadReplayOrExit(const std::string& path);

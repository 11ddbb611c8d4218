// Replay files on disk: the recorder that appends a run's lines as it goes,
// and the loader that reads a whole file before any window opens.
//
// The recorder flushes at the end of every frame, so a killed or crashed
// game leaves a file that replays up to its last whole frame; the same file
// closed for its whole frames is the page's download while the run goes on.
// The loader returns what went wrong as the line to print, and leaves the
// printing, waiting and exiting to the caller: the library never ends the
// process.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "replay/replay_format.h"
#include "replay/replay_reader.h"

// The version written into every recording's first line.
const char* gameVersion();

// The largest replay file read: far beyond any plausible game (about a
// hundred hours at 60 frames per second), small enough to read whole.
constexpr std::size_t kMaxReplayBytes = std::size_t{64} << 20;

class ReplayRecorder {
  public:
    // Null when `path` cannot be created or written.
    static std::unique_ptr<ReplayRecorder> create(const std::string& path);
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Writes `lines` (complete lines); `flush` hands them to the system at once.
    void write(const std::string& lines, bool flush = false);
    // Writes the line that ends a frame and hands the frame to the system.
    void writeFrame(const std::string& frameLine);
    // The closing line of a run that ended normally.
    void finish(std::size_t frameCount);

  private:
    explicit ReplayRecorder(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

// The message naming `path` when the recording cannot be written.
std::string recordFileError(const std::string& path);

// A replay file's bytes as read from disk.
struct ReplayBytes {
    enum class Fault { None, CannotRead, TooLarge };
    std::string bytes;  // the whole file when `fault` is None, else empty
    Fault fault = Fault::None;
};

// The whole file at `path`, at most kMaxReplayBytes of it: TooLarge (as
// soon as more has been read) when it holds more.
ReplayBytes readReplayBytes(const std::string& path);

// The recording at `path` as a complete replay file: as it is once its
// closing line is written, else up to its last frame line (what follows
// belongs to a frame not yet ended) and closed for the frames so far. Empty
// when it cannot be read. Reading the file the recorder flushes each frame
// to is all it takes, so it needs no access to the recorder.
std::string closedRecording(const std::string& path);

// The "ERROR: " line for a replay named `path` that cannot be read, holds
// more than kMaxReplayBytes or does not parse.
std::string unreadableReplayLine(const std::string& path);
std::string tooLargeReplayLine(const std::string& path);
std::string badReplayLine(const std::string& path, const ReplayError& error);

// What loading a replay file gave: the replay, or the one "ERROR: " line
// naming the file (and the line and what is wrong) to print.
struct ReplayLoad {
    std::optional<Replay> replay;
    std::string error;  // set when `replay` is not
};

// Reads and parses `path`.
ReplayLoad loadReplay(const std::string& path);

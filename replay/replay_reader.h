// Reading a replay file's text back into a Replay (replay/replay_format.h):
// strict, line by line, every fault named with its line, so that a bad file
// is refused before any window opens. No file access: the caller brings the
// bytes (replay/replay_file.h from disk, the page from its picker).
#pragma once

#include <optional>
#include <string>

#include "replay/replay_format.h"

struct ReplayError {
    int line = 0;  // 1-based
    std::string what;
};

struct ReplayParse {
    std::optional<Replay> replay;  // set on success
    ReplayError error;             // set on failure
};

// Reads a whole replay file's bytes. A last line without its line feed (a
// recording killed mid-write) and the events of an unfinished last frame are
// dropped, not errors; every other fault is reported with its line.
ReplayParse parseReplay(const std::string& text);

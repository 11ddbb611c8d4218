// Replays exchanged with the page (web/replays.js): a replay file the page
// hands over plays in a new run, as "--replay NAME" on the desktop, and the
// run's recording goes back to the page as a complete replay file. A file
// the game refuses gets the desktop's "ERROR: " line for it, and the run in
// progress goes on.
#include <emscripten.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "replay/replay_file.h"
#include "web/page_runs.h"

namespace {

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

// Writes `text` to the replay folder as `name`; false when it could not.
bool keepReplay(const std::string& name, const std::string& text) {
    mkdir(kPageReplayFolder, 0755);
    const std::string path = std::string(kPageReplayFolder) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr) {
        std::fclose(file);
    }
    return written;
}

}  // namespace

extern "C" {

// The largest replay file the page may hand over (it checks the size first).
EMSCRIPTEN_KEEPALIVE double quorland_max_replay_bytes() {
    return static_cast<double>(kMaxReplayBytes);
}

// Starts the replay `name` from its `size` bytes (a timedemo when `timedemo`
// is not 0): it ends the run in progress and plays in the next. Returns ""
// then, or the desktop's "ERROR: " line for that file: `bytes` null means
// the page could not read the file; over kMaxReplayBytes it is not looked at.
EMSCRIPTEN_KEEPALIVE const char* quorland_start_replay(const char* name, const char* bytes,
                                                       double size, int timedemo) {
    if (size > static_cast<double>(kMaxReplayBytes)) {
        return handOver(tooLargeReplayLine(name));
    }
    if (bytes == nullptr || !isPlainFileName(name)) {
        return handOver(unreadableReplayLine(name));
    }
    const std::string text(bytes, static_cast<std::size_t>(size));
    const ReplayParse parse = parseReplay(text);
    if (!parse.replay) {
        return handOver(badReplayLine(name, parse.error));
    }
    if (!keepReplay(name, text)) {
        return handOver(unreadableReplayLine(name));
    }
    queuePageRun({"quorland", timedemo != 0 ? "--timedemo" : "--replay", name});
    return handOver("");
}

// The current run's recording as a complete replay file (closed for the
// frames so far), or the last run's when none is in progress.
EMSCRIPTEN_KEEPALIVE const char* quorland_take_recording() {
    return handOver(closedRecording(kPageRecordingPath));
}

}  // extern "C"

#include "replay/replay_file.h"

#include <optional>

#include "framework/console.h"

const char* gameVersion() {
    return QUORLAND_VERSION;
}

namespace {

const ReplayRecorder* currentRecorder = nullptr;

}  // namespace

std::unique_ptr<ReplayRecorder> ReplayRecorder::create(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        return nullptr;
    }
    std::unique_ptr<ReplayRecorder> recorder(new ReplayRecorder(file, path));
    currentRecorder = recorder.get();
    return recorder;
}

std::unique_ptr<ReplayRecorder> ReplayRecorder::inMemory() {
    std::unique_ptr<ReplayRecorder> recorder(new ReplayRecorder(nullptr, ""));
    currentRecorder = recorder.get();
    return recorder;
}

ReplayRecorder::~ReplayRecorder() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    if (currentRecorder == this) {
        currentRecorder = nullptr;
    }
}

const ReplayRecorder* ReplayRecorder::current() {
    return currentRecorder;
}

void ReplayRecorder::write(const std::string& lines, bool flush) {
    kept_ = kept_ && memory_.size() + lines.size() <= kMaxKeptBytes;
    if (kept_) {
        memory_ += lines;
    } else {
        std::string().swap(memory_);
    }
    if (file_ == nullptr) {
        return;
    }
    std::fputs(lines.c_str(), file_);
    if (flush) {
        std::fflush(file_);
    }
}

void ReplayRecorder::writeFrame(const std::string& frameLine) {
    write(frameLine, true);
    ++frames_;
}

void ReplayRecorder::finish(std::size_t frameCount) {
    write(formatReplayEnd(frameCount), true);
    finished_ = true;
}

std::string ReplayRecorder::closedCopy() const {
    if (kept_) {
        return closed(memory_);
    }
    bool tooLarge = false;
    return closed(readReplayBytes(path_, tooLarge).value_or(""));
}

std::optional<std::string> ReplayRecorder::keptCopy() const {
    return kept_ ? std::optional<std::string>(closed(memory_)) : std::nullopt;
}

std::string ReplayRecorder::closed(const std::string& text) const {
    if (finished_) {
        return text;
    }
    // Up to the last frame line: events after it belong to a frame not yet
    // ended (the page delivers input between frames).
    std::size_t end = 0;
    for (std::size_t start = 0, feed; (feed = text.find('\n', start)) != std::string::npos;
         start = feed + 1) {
        if (text.compare(start, 2, "g ") == 0 || text.compare(start, feed - start, "m") == 0) {
            end = feed + 1;
        }
    }
    return text.substr(0, end) + formatReplayEnd(frames_);
}

std::string recordFileError(const std::string& path) {
    return "Cannot write replay file '" + path + "'";
}

std::optional<std::string> readReplayBytes(const std::string& path, bool& tooLarge) {
    tooLarge = false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t count = 0;
    while (!tooLarge && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
        tooLarge = bytes.size() > kMaxReplayBytes;
    }
    const bool failed = std::ferror(file) != 0 || tooLarge;
    std::fclose(file);
    return failed ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

std::string unreadableReplayLine(const std::string& path) {
    return "ERROR: Cannot read replay file '" + path + "'";
}

std::string tooLargeReplayLine(const std::string& path) {
    return "ERROR: Replay file '" + path + "' is larger than " + std::to_string(kMaxReplayBytes) +
           " bytes, too large for a replay";
}

std::string badReplayLine(const std::string& path, const ReplayError& error) {
    return "ERROR: Replay file '" + path + "' line " + std::to_string(error.line) + ": " +
           error.what;
}

Replay loadReplayOrExit(const std::string& path) {
    bool tooLarge = false;
    const std::optional<std::string> bytes = readReplayBytes(path, tooLarge);
    if (!bytes) {
        printFatalLine(tooLarge ? tooLargeReplayLine(path) : unreadableReplayLine(path));
        exitAfterKeypress();
    }
    ReplayParse parse = parseReplay(*bytes);
    if (!parse.replay) {
        printFatalLine(badReplayLine(path, parse.error));
        exitAfterKeypress();
    }
    return std::move(*parse.replay);
}

#include "replay/replay_file.h"

#include <optional>

#include "framework/console.h"

const char* gameVersion() {
    return QUORLAND_VERSION;
}

std::unique_ptr<ReplayRecorder> ReplayRecorder::create(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<ReplayRecorder>(new ReplayRecorder(file));
}

ReplayRecorder::~ReplayRecorder() {
    std::fclose(file_);
}

void ReplayRecorder::write(const std::string& lines, bool flush) {
    std::fputs(lines.c_str(), file_);
    if (flush) {
        std::fflush(file_);
    }
}

void ReplayRecorder::finish(std::size_t frameCount) {
    write(formatReplayEnd(frameCount), true);
}

std::string recordFileError(const std::string& path) {
    return "Cannot write replay file '" + path + "'";
}

namespace {

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

}  // namespace

Replay loadReplayOrExit(const std::string& path) {
    const std::optional<std::string> bytes = readBytes(path);
    if (!bytes) {
        printLine("ERROR: Cannot read replay file '" + path + "'");
        exitAfterKeypress();
    }
    ReplayParse parse = parseReplay(*bytes);
    if (!parse.replay) {
        printLine("ERROR: Replay file '" + path + "' line " + std::to_string(parse.error.line) +
                  ": " + parse.error.what);
        exitAfterKeypress();
    }
    return std::move(*parse.replay);
}

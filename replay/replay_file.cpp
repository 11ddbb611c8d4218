#include "replay/replay_file.h"

#include <utility>

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

void ReplayRecorder::writeFrame(const std::string& frameLine) {
    write(frameLine, true);
}

void ReplayRecorder::finish(std::size_t frameCount) {
    write(formatReplayEnd(frameCount), true);
}

std::string recordFileError(const std::string& path) {
    return "Cannot write replay file '" + path + "'";
}

ReplayBytes readReplayBytes(const std::string& path) {
    ReplayBytes read;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        read.fault = ReplayBytes::Fault::CannotRead;
        return read;
    }
    char buffer[65536];
    std::size_t count = 0;
    while (read.fault == ReplayBytes::Fault::None &&
           (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        read.bytes.append(buffer, count);
        if (read.bytes.size() > kMaxReplayBytes) {
            read.fault = ReplayBytes::Fault::TooLarge;
        }
    }
    if (read.fault == ReplayBytes::Fault::None && std::ferror(file) != 0) {
        read.fault = ReplayBytes::Fault::CannotRead;
    }
    std::fclose(file);
    if (read.fault != ReplayBytes::Fault::None) {
        read.bytes.clear();
    }
    return read;
}

std::string closedRecording(const std::string& path) {
    const std::string text = readReplayBytes(path).bytes;
    std::size_t end = 0;  // just after the last frame line
    std::size_t frames = 0;
    for (std::size_t start = 0, feed; (feed = text.find('\n', start)) != std::string::npos;
         start = feed + 1) {
        if (text.compare(start, 4, "end ") == 0) {
            return text;
        }
        if (text.compare(start, 2, "g ") == 0 || text.compare(start, feed - start, "m") == 0) {
            end = feed + 1;
            ++frames;
        }
    }
    return text.empty() ? text : text.substr(0, end) + formatReplayEnd(frames);
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

ReplayLoad loadReplay(const std::string& path) {
    const ReplayBytes read = readReplayBytes(path);
    switch (read.fault) {
        case ReplayBytes::Fault::CannotRead:
            return {std::nullopt, unreadableReplayLine(path)};
        case ReplayBytes::Fault::TooLarge:
            return {std::nullopt, tooLargeReplayLine(path)};
        case ReplayBytes::Fault::None:
            break;
    }
    ReplayParse parse = parseReplay(read.bytes);
    if (!parse.replay) {
        return {std::nullopt, badReplayLine(path, parse.error)};
    }
    return {std::move(parse.replay), ""};
}

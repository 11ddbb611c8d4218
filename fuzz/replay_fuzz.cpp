// Any bytes as a replay file: parsed, and whatever parses is written back
// and parsed again, which must give the same frames (the writer and the
// reader agree on every value the reader accepts).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/replay_format.h"
#include "replay/replay_reader.h"

namespace {

std::string formatAll(const Replay& replay) {
    std::string text = formatReplayHeader(replay.header);
    for (const RecordedFrame& frame : replay.frames) {
        for (const InputEvent& event : frame.events) {
            text += formatInputEvent(event);
        }
        if (frame.cursor) {
            text += formatCursor(*frame.cursor);
        }
        text += formatFrameEnd(frame);
    }
    return replay.finished ? text + formatReplayEnd(replay.frames.size()) : text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReplayParse parse = parseReplay(std::string(reinterpret_cast<const char*>(data), size));
    if (!parse.replay) {
        return 0;
    }
    const std::string written = formatAll(*parse.replay);
    const ReplayParse again = parseReplay(written);
    if (!again.replay || formatAll(*again.replay) != written) {
        std::abort();
    }
    return 0;
}

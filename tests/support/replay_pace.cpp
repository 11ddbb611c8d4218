#include "support/replay_pace.h"

#include <fstream>
#include <sstream>

#include "replay/replay_format.h"

std::vector<double> recordedPressTimes(const std::string& replayPath, int key) {
    std::ifstream file(replayPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    const ReplayParse parse = parseReplay(text.str());
    std::vector<double> times;
    if (!parse.replay) {
        return times;
    }
    double elapsed = 0.0;
    for (const RecordedFrame& frame : parse.replay->frames) {
        elapsed += frame.gameFrame ? static_cast<double>(frame.deltaTime) : 0.0;
        for (const InputEvent& event : frame.events) {
            if (event.kind == InputEvent::Kind::Key && event.key == key && event.action == 1) {
                times.push_back(elapsed);
            }
        }
    }
    return times;
}

// Any bytes as a replay file for the referee: whatever the reader accepts is
// played through the game's rules without a window, in bounded time and
// memory, and judged; the verdict must count no more games than events and
// no score beyond the furthest row a hop can reach. Each input starts from the state
// a fresh process has.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "app/verify.h"
#include "game/classic_rand.h"
#include "game/game_state.h"
#include "replay/replay_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReplayParse parse = parseReplay(std::string(reinterpret_cast<const char*>(data), size));
    if (!parse.replay) {
        return 0;
    }
    std::size_t events = 0;  // a game starts with a click, one of these
    for (const RecordedFrame& frame : parse.replay->frames) {
        events += frame.events.size();
    }
    resetGameState();
    resetClassicRand();
    std::ostringstream commentary;  // the game's lines, not the fuzzer's
    std::streambuf* const console = std::cout.rdbuf(commentary.rdbuf());
    const RunVerdict verdict = verifyRun("fuzz.replay", std::move(*parse.replay));
    std::cout.rdbuf(console);
    constexpr int kFurthestRow = 500;  // hops stay within +-500
    if (verdict.games.size() > events || verdict.best > kFurthestRow) {
        std::abort();
    }
    return 0;
}

// The player's bests in the page (framework/platform.h): the page keeps
// the tables in the browser's storage (web/bests.js), so no game writes a
// file for them. Each game to be weighed goes to the page with its
// recording; the page weighs it with the game's own table code through
// the exported functions here, so the table text is the desktop's, byte
// for byte, and the rules (ranking, places, courses) exist once.
//
// Exported texts start with one line of state, the table text follows:
//   "good placed" / "good out"   the table was read; the game has a place or not
//   "corrupt PROBLEM" / "newer PROBLEM"   the table was not read (nothing weighed)
#include <emscripten.h>

#include <string>

#include "bests/best_table.h"
#include "bests/utc_date.h"
#include "framework/platform.h"
#include "web/page_runs.h"

namespace {

// clang-format off
EM_JS(void, offerBestGame, (int score, double seed, const char* when, const char* ending,
                            int index, int chosen, const char* recording, double length), {
    if (Module.onBestGame) {
        Module.onBestGame({score: score, seed: seed, when: UTF8ToString(when),
                           ending: UTF8ToString(ending), index: index, chosenCourse: chosen != 0},
                          recording ? UTF8ToString(recording, length) : null);
    }
});
// clang-format on

std::string stateLine(const TableRead& read) {
    switch (read.state) {
        case TableState::Good:
            return "good";
        case TableState::Corrupt:
            return "corrupt " + read.problem;
        case TableState::Newer:
            return "newer " + read.problem;
    }
    return "corrupt";
}

}  // namespace

bool platformKeepBest(const PlatformBestGame& game, const std::optional<std::string>& recording) {
    offerBestGame(game.score, game.seed, game.when.c_str(), game.ending.c_str(), game.index,
                  game.chosenCourse ? 1 : 0, recording ? recording->c_str() : nullptr,
                  recording ? static_cast<double>(recording->size()) : 0.0);
    return true;
}

extern "C" {

// The seed of the course of the day at `unixSeconds` (UTC): the game's rule.
EMSCRIPTEN_KEEPALIVE double quorland_daily_seed(double unixSeconds) {
    return dailySeed(utcFromUnixSeconds(static_cast<std::int64_t>(unixSeconds)));
}

// `table` read and written again by the game's table code (see above).
EMSCRIPTEN_KEEPALIVE const char* quorland_read_bests(const char* table) {
    const TableRead read = readBestTable(table);
    return handOver(stateLine(read) + "\n" +
                    (read.state == TableState::Good ? writeBestTable(read.table) : ""));
}

// `table` after the game described by the rest (the fields of a table's
// "best" line; `recording` its recording's name) has been weighed.
EMSCRIPTEN_KEEPALIVE const char* quorland_weigh_best(const char* table, const char* when,
                                                     const char* ending, const char* recording,
                                                     int score, double seed, int index,
                                                     int chosenCourse) {
    const BestEntry game{score, static_cast<std::uint32_t>(seed), when, ending, recording, index};
    const TextWeighing weighed = weighGameInText(table, game, chosenCourse != 0);
    std::string state = stateLine(weighed.read);
    if (weighed.read.state == TableState::Good) {
        state += weighed.weighing.placed ? " placed" : " out";
    }
    return handOver(state + "\n" + weighed.text);
}

}  // extern "C"

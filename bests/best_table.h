// The player's tables of best games: what they hold, how games rank, and
// the text file they are kept in.
//
// Everything here is a pure function of its arguments (no files, no clock),
// so the desktop's store and the page can share it: table text and a game
// in, new table text out.
//
// Two kinds of table: the ten best games overall, and the three best of
// each chosen course (a game played with `--seed N` or `--daily`), for at
// most 100 courses; a course is "played" each time a game on it is weighed,
// and the least recently played course goes first when a new one needs room.
//
// Ranking: the higher score first; of equal scores the earlier game first
// (it got there first), then the recording's name and the game's index, so
// the order is total and the same whichever process wrote the table. A new
// game that only equals the last place does not enter a full table.
//
// The file (version 1), lines ended by a line feed, fields by one blank:
//   QUORLAND-BESTS 1
//   overall
//   best SCORE SEED WHEN ENDING RECORDING INDEX     (up to 10, best first)
//   course SEED                                      (most recently played first)
//   best SCORE SEED WHEN ENDING RECORDING INDEX     (1 to 3 per course)
//   checksum XXXXXXXX
// WHEN is UTC as "2026-12-09T13:06:48Z"; ENDING is "river" (fell into the
// water), "carried" (a log carried the player away), "ended" (the debug key)
// or "unfinished" (the window closed during the game); RECORDING is the
// recording's file name beside the table ("-" when the run was too long to
// keep); INDEX is the game's place in the "games" of `--verify`'s verdict
// on that recording, from 0. The checksum is the 32-bit FNV-1a hash of every byte before its
// line, in lower-case hex. Empty text is a table with no games yet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

constexpr int kBestTableVersion = 1;
constexpr std::size_t kOverallPlaces = 10;
constexpr std::size_t kCoursePlaces = 3;
constexpr std::size_t kMaxCourses = 100;
// The RECORDING of an entry whose run was not kept.
constexpr const char* kNoRecording = "-";

struct BestEntry {
    int score = 0;           // points, from 0
    std::uint32_t seed = 0;  // the world seed the game was played on
    std::string when;        // when it ended, UTC, "2026-12-09T13:06:48Z"
    std::string ending;      // "river", "carried", "ended" or "unfinished"
    std::string recording;   // file name beside the table, or kNoRecording
    int index = 0;           // the game's place in the recording's games, from 0

    bool operator==(const BestEntry& other) const;
};

struct CourseBests {
    std::uint32_t seed = 0;
    std::vector<BestEntry> games;  // best first, 1 to kCoursePlaces
};

struct BestTable {
    std::vector<BestEntry> overall;    // best first, at most kOverallPlaces
    std::vector<CourseBests> courses;  // most recently played first, at most kMaxCourses
};

// Whether `a` ranks above `b` (see the ranking above).
bool ranksAbove(const BestEntry& a, const BestEntry& b);

enum class TableState {
    Good,     // read whole, checksum right
    Corrupt,  // not a table of this game, bad syntax or checksum: to be set aside
    Newer,    // written by a newer version of the game: to be left alone
};

struct TableRead {
    TableState state = TableState::Good;
    BestTable table;      // empty unless Good
    std::string problem;  // Corrupt: "line N: what is wrong"; Newer: "version N"
};

TableRead readBestTable(const std::string& text);
std::string writeBestTable(const BestTable& table);
// `body` (whole lines) followed by its checksum line.
std::string sealBestTable(const std::string& body);

struct Weighing {
    BestTable table;
    bool placed = false;   // the game has a place in some table
    bool changed = false;  // the table differs (a chosen course is always moved to the front)
};

// `table` after a game that ended: `game` enters every table it ranks in,
// and on a chosen course that course becomes the most recently played.
Weighing weighGame(BestTable table, const BestEntry& game, bool chosenCourse);

// Every recording file name the table's entries refer to.
std::set<std::string> recordingsOf(const BestTable& table);

// Whether `name` may name a recording beside the table: letters, digits,
// '.', '_' and '-', not starting with '.', ending in ".replay" (a table
// can never make the store touch a file outside its folder).
bool isRecordingName(const std::string& name);

// The whole step on text, as the page keeps it: reads `tableText`, weighs
// `game` and writes the result. Unless the text is Good, `text` is empty
// and nothing is weighed.
struct TextWeighing {
    TableRead read;  // the state of `tableText`
    Weighing weighing;
    std::string text;  // the new table text
};
TextWeighing weighGameInText(const std::string& tableText, const BestEntry& game,
                             bool chosenCourse);

// The referee's verdict on a replayed run, as the one line of JSON that
// `--verify` ends with.
//
// Everything in it is either read from the file (seed, frames, times, the
// recording version) or seen while the run was played through the game's
// own rules (the games, debug mode, whether it kept in step); nothing is
// taken from what a run says of itself. The small tables here say which
// rules a recording version played by and which camera and renderer
// settings the game ships, so that boards can tell a standard run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/game_tally.h"
#include "replay/replay_format.h"

struct RunVerdict {
    std::uint32_t seed = 0;
    std::size_t frames = 0;     // whole frames read from the file
    bool finished = false;      // the file has its closing line
    bool inStep = true;         // it played out without falling out of step
    double seconds = 0.0;       // sum of the recorded game-frame times
    float longestFrame = 0.0f;  // the largest of them, seconds
    std::vector<GameResult> games;
    int best = 0;                   // the highest score of any game
    bool debug = false;             // debug mode was on at some point
    bool standardSettings = false;  // the shipped camera and renderer settings
    std::string recordedBy;         // the version named in the file's first line
};

// The rules a game version played by: 1 for every version so far, none for
// a version this game does not know.
std::optional<int> rulesOfVersion(const std::string& version);

// The camera of assets/settings/camera_front_up.ini as the game reads it.
extern const CameraSettings kShippedCamera;

// Whether a recording's camera and renderer are the shipped settings files'
// values, bit for bit (the window may be any size).
bool usesShippedSettings(const ReplayHeader& header);

// The verdict's fields that the file alone decides: seed, frames, finished,
// times, settings and version.
RunVerdict verdictOfFile(const Replay& replay);

// The JSON object, on one line, in a fixed key order: seed, frames,
// finished, in_step, seconds, longest_frame, games (score, outcome), best,
// debug, standard_settings, format, recorded_by, rules (null when unknown)
// and version (this game's).
std::string verdictJson(const RunVerdict& verdict);

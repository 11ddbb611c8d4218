// The player's bests during a run: every game the player plays is weighed
// against the tables of bests (bests/) when it ends, with the run's
// recording up to that game's end.
//
// Only games the player plays count: a game counts when the click that
// started it was live, not a recorded click of a replay (a game taken over
// part-way from a replay does not count; one started after the replay ran
// out does). A game is weighed one frame after it ends, once the frame it
// ended in is in the recording, so the kept recording replays to its end;
// a game the window closed on is weighed after the run, as "unfinished".
// It listens to the game events like the sound does and leaves the
// console, the frame and the exit code alone. Where a weighed game goes is
// the platform's (platformKeepBest): the desktop's tables in the player's
// folder, or the page's storage, where the game writes no file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "bests/best_store.h"
#include "game/game_tally.h"

class FrameInput;
class ReplayRecorder;

class BestKeeping : public GameEventListener {
  public:
    // `input` tells whether a frame is played from a replay; `recorder`
    // keeps the run; `seed` is the world's; `chosenCourse`: see choosesCourse;
    // `folder` holds the tables.
    BestKeeping(const FrameInput& input, const ReplayRecorder& recorder, std::uint32_t seed,
                bool chosenCourse, const std::string& folder = bestsFolder());

    void hear(const GameEventRecord& record) override;
    void endFrame() override;
    // After the recording is closed: the games still waiting and the one
    // the run stopped in.
    void finishRun();

  private:
    void weigh(std::size_t game);

    const FrameInput& input_;
    const ReplayRecorder& recorder_;
    std::uint32_t seed_;
    bool chosenCourse_;
    GameTally tally_;
    BestStore store_;
    std::vector<bool> live_;            // per game of the tally: its click was live
    std::vector<std::size_t> ended_;    // ended this frame, not yet in the recording
    std::vector<std::size_t> waiting_;  // ended in the previous frame, now recorded
};

struct CommandLineOptions;

// The keeper of the run's bests, or null when the options keep none
// (mayKeepBests) or nothing is recorded.
std::unique_ptr<BestKeeping> keepBests(const CommandLineOptions& options, const FrameInput& input,
                                       const ReplayRecorder* recorder, std::uint32_t seed);

// What "--scores" prints, from the player's folder.
void printBests();

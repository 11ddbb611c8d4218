#include "app/best_keeping.h"

#include "app/command_line.h"
#include "app/frame_input.h"
#include "bests/score_listing.h"
#include "bests/utc_date.h"
#include "framework/console.h"
#include "framework/platform.h"
#include "replay/replay_file.h"

namespace {

// The index a game goes by in its recording: its place in the run's tally,
// which is its place in the "games" of `--verify`'s verdict, from 0.
int gameIndex(std::size_t game) {
    return static_cast<int>(game);
}

}  // namespace

BestKeeping::BestKeeping(const FrameInput& input, const ReplayRecorder& recorder,
                         std::uint32_t seed, bool chosenCourse, const std::string& folder)
    : input_(input),
      recorder_(recorder),
      seed_(seed),
      chosenCourse_(chosenCourse),
      store_(folder) {}

void BestKeeping::hear(const GameEventRecord& record) {
    const bool wasInGame = tally_.inGame();
    tally_.hear(record);
    if (record.event == GameEvent::GameStarted) {
        live_.push_back(!input_.playsRecordedFrame());
    } else if (record.event == GameEvent::GameOver && wasInGame && !tally_.inGame()) {
        ended_.push_back(tally_.games().size() - 1);
    }
}

void BestKeeping::endFrame() {
    for (const std::size_t game : waiting_) {
        weigh(game);
    }
    waiting_ = std::move(ended_);
    ended_.clear();
}

void BestKeeping::finishRun() {
    waiting_.insert(waiting_.end(), ended_.begin(), ended_.end());
    ended_.clear();
    endFrame();
    if (tally_.inGame()) {
        weigh(tally_.games().size() - 1);
    }
}

void BestKeeping::weigh(std::size_t game) {
    if (!live_[game]) {
        return;
    }
    const GameResult& result = tally_.games()[game];
    const PlatformBestGame offered{result.score,          seed_,
                                   isoDateTime(utcNow()), outcomeName(result.outcome),
                                   gameIndex(game),       chosenCourse_};
    const std::optional<std::string> recording = recorder_.keptCopy();
    if (platformKeepBest(offered, recording)) {
        return;  // the page keeps its bests in the browser's storage
    }
    const BestEntry entry{offered.score,  offered.seed, offered.when,
                          offered.ending, "",           offered.index};
    store_.weigh(entry, chosenCourse_, recording);
}

std::unique_ptr<BestKeeping> keepBests(const CommandLineOptions& options, const FrameInput& input,
                                       const ReplayRecorder* recorder, std::uint32_t seed) {
    if (!mayKeepBests(options) || recorder == nullptr) {
        return nullptr;
    }
    return std::make_unique<BestKeeping>(input, *recorder, seed, choosesCourse(options));
}

void printBests() {
    const std::string folder = bestsFolder();
    for (const std::string& line : scoreLines(BestStore(folder).read(), folder)) {
        printLine(line);
    }
}

#include "app/verify.h"

#include <memory>
#include <utility>

#include "app/command_line.h"
#include "app/frame_host.h"
#include "app/frame_input.h"
#include "app/frame_loop.h"
#include "app/run_verdict.h"
#include "app/scene.h"
#include "app/startup_settings.h"
#include "framework/console.h"
#include "game/game_state.h"
#include "game/game_tally.h"
#include "game/world.h"
#include "replay/replay_file.h"

namespace {

// Listens to the run as the sound would: the games it played, and whether
// debug mode was ever on (seen at the end of every frame's events, or by a
// game the debug key ended within one frame's poll).
class Referee : public GameEventListener {
  public:
    void hear(const GameEventRecord& record) override { tally_.hear(record); }
    void endFrame() override { debugSeen_ = debugSeen_ || debugMode; }

    void judge(RunVerdict& verdict) const {
        verdict.games = tally_.games();
        verdict.best = tally_.best();
        verdict.debug = debugSeen_;
        for (const GameResult& game : verdict.games) {
            verdict.debug = verdict.debug || game.outcome == GameOutcome::Ended;
        }
    }

  private:
    GameTally tally_;
    bool debugSeen_ = false;
};

}  // namespace

RunVerdict verifyRun(const std::string& name, Replay replay) {
    RunVerdict verdict = verdictOfFile(replay);
    const ReplayHeader& header = replay.header;
    adoptSettings(header.window, header.renderer);
    setWorldSeed(header.seed);
    std::unique_ptr<Scene> scene = buildRulesScene(header.camera);

    const std::unique_ptr<FrameHost> host = makeNoWindowHost();
    FrameInput input(*host, ReplaySource{name, std::move(replay), ReplayMode::Verify}, nullptr);
    Referee referee;
    runFrameLoop(*host, CommandLineOptions{}, *scene, input, &referee);
    releaseScene(scene);

    verdict.inStep = input.inStep();
    referee.judge(verdict);
    return verdict;
}

int verifyReplay(const std::string& path) {
    ReplayLoad load = loadReplay(path);
    if (!load.replay) {
        printFatalLine(load.error);
        return 1;
    }
    printLine(verdictJson(verifyRun(path, std::move(*load.replay))));
    return 0;
}

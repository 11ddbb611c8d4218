// The bests of a run: the games a player plays are weighed a frame after
// they end, with the recording up to that frame; the game the run stopped
// in is weighed as unfinished; replayed starts are not weighed.
#include "app/best_keeping.h"

#include <gtest/gtest.h>

#include "app/frame_host.h"
#include "app/frame_input.h"
#include "replay/replay_file.h"
#include "support/scratch_folder.h"

namespace {

class BestKeepingTest : public testing::Test {
  protected:
    // One frame: its events heard, its end heard, then its line recorded.
    void frame(const std::vector<GameEventRecord>& events) {
        for (const GameEventRecord& record : events) {
            keeping_.hear(record);
        }
        keeping_.endFrame();
        recorder_->writeFrame("m\n");
    }

    BestTable table() const {
        const TableRead read = BestStore(folder_.path().string()).read();
        EXPECT_EQ(read.state, TableState::Good) << read.problem;
        return read.table;
    }

    ScratchFolder folder_ = ScratchFolder::inTemp();
    std::unique_ptr<ReplayRecorder> recorder_ = ReplayRecorder::inMemory();
    std::unique_ptr<FrameHost> host_ = makeNoWindowHost();
    FrameInput input_{*host_, std::nullopt, nullptr};  // live throughout
    BestKeeping keeping_{input_, *recorder_, 7, true, folder_.path().string()};
};

TEST_F(BestKeepingTest, EndedGamesAreWeighedWithTheirFrameAndTheLastAsUnfinished) {
    recorder_->write("header\n");
    frame({{GameEvent::GameStarted, 0}, {GameEvent::NewFurthestRow, 1}});
    frame({{GameEvent::NewFurthestRow, 2}, {GameEvent::CarriedAway, 0}});
    frame({{GameEvent::GameOver, 0}});
    EXPECT_TRUE(table().overall.empty());  // its frame line is not recorded yet
    frame({{GameEvent::GameStarted, 0}});
    frame({{GameEvent::NewFurthestRow, 1}});
    recorder_->finish(5);
    keeping_.finishRun();

    const BestTable kept = table();
    ASSERT_EQ(kept.overall.size(), 2u);
    const BestEntry& first = kept.overall[0];
    EXPECT_EQ(std::tie(first.score, first.seed, first.ending, first.index),
              std::make_tuple(2, 7u, std::string("carried"), 0));
    EXPECT_EQ(readWholeFile(folder_.file(first.recording)), "header\nm\nm\nm\nend 3\n");
    const BestEntry& second = kept.overall[1];
    EXPECT_EQ(std::tie(second.score, second.ending, second.index),
              std::make_tuple(1, std::string("unfinished"), 1));
    EXPECT_EQ(readWholeFile(folder_.file(second.recording)), "header\nm\nm\nm\nm\nm\nend 5\n");
    ASSERT_EQ(kept.courses.size(), 1u);
    EXPECT_EQ(kept.courses[0].games, kept.overall);
}

TEST(BestKeeping, AGameStartedByAReplayedClickIsNotWeighedOneStartedAfterItIs) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    ReplayHeader header;
    header.gameVersion = "1.0";
    ReplayParse parse = parseReplay(formatReplayHeader(header) + "b 0 1 0\nm\nend 1\n");
    ASSERT_TRUE(parse.replay) << parse.error.what;
    std::unique_ptr<FrameHost> host = makeNoWindowHost();
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::inMemory();
    FrameInput input(*host, ReplaySource{"a.replay", std::move(*parse.replay)}, recorder.get());
    BestKeeping keeping(input, *recorder, 7, true, folder.path().string());
    for (const bool replayed : {true, false}) {
        ASSERT_EQ(input.playsRecordedFrame(), replayed);
        keeping.hear({GameEvent::GameStarted, 0});
        keeping.hear({GameEvent::NewFurthestRow, replayed ? 5 : 2});
        keeping.hear({GameEvent::GameOver, 0});
        keeping.endFrame();
        input.endFrame(false);
    }
    keeping.finishRun();
    const TableRead read = BestStore(folder.path().string()).read();
    ASSERT_EQ(read.table.overall.size(), 1u);
    EXPECT_EQ(std::tie(read.table.overall[0].score, read.table.overall[0].index),
              std::make_tuple(2, 1));
}

}  // namespace

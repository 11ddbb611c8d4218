// Replay files on disk: the recording the page downloads while its run goes
// on (closed for the whole frames so far), and the size limit of a reader.
#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scratch_folder.h"

namespace {

TEST(ReplayRecorderTest, ACopyTakenDuringTheRunIsClosedForItsWholeFramesAndParses) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::string path = folder.file("run.replay");
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::create(path);
    ASSERT_TRUE(recorder);
    EXPECT_EQ(ReplayRecorder::current(), recorder.get());
    ReplayHeader header;
    header.gameVersion = "1.0";
    header.seed = 7;
    recorder->write(formatReplayHeader(header), true);
    RecordedFrame menu;
    recorder->write(formatInputEvent(mouseButtonEvent(0, 1, 0)));
    recorder->writeFrame(formatFrameEnd(menu));
    RecordedFrame game;
    game.gameFrame = true;
    game.deltaTime = 0.1f;
    recorder->write(formatCursor({640, 384}));
    recorder->writeFrame(formatFrameEnd(game));
    // An event of the next frame, which has not ended: not in the copy.
    recorder->write(formatInputEvent(keyEvent(87, 25, 1, 0)), true);

    const std::string copy = recorder->closedCopy();
    EXPECT_EQ(copy, formatReplayHeader(header) + "b 0 1 0\nm\nc 640 384\ng 3dcccccd\nend 2\n");
    const ReplayParse parse = parseReplay(copy);
    ASSERT_TRUE(parse.replay) << parse.error.what;
    EXPECT_TRUE(parse.replay->finished);
    EXPECT_EQ(parse.replay->frames.size(), 2u);

    recorder->writeFrame(formatFrameEnd(game));
    recorder->finish(3);
    const std::string finished = recorder->closedCopy();
    EXPECT_EQ(finished.substr(finished.size() - 6), "end 3\n");
    EXPECT_EQ(finished.find("end 2"), std::string::npos);
    EXPECT_EQ(recorder->keptCopy(), finished);
    EXPECT_EQ(readWholeFile(path), finished);
    recorder.reset();
    EXPECT_EQ(ReplayRecorder::current(), nullptr);
}

TEST(ReplayRecorderTest, TheRunIsKeptInMemoryUntilItOutgrowsWhatAReaderTakes) {
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::inMemory();
    EXPECT_EQ(ReplayRecorder::current(), recorder.get());
    recorder->write(std::string(kMaxKeptBytes - 3, 'x') + "\n");
    recorder->writeFrame("m\n");
    ASSERT_TRUE(recorder->keptCopy());
    EXPECT_EQ(recorder->keptCopy()->size(), kMaxKeptBytes + std::string("end 1\n").size());
    EXPECT_LE(recorder->keptCopy()->size(), kMaxReplayBytes);
    recorder->writeFrame("m\n");
    EXPECT_EQ(recorder->keptCopy(), std::nullopt);
    recorder->finish(2);
    EXPECT_EQ(recorder->keptCopy(), std::nullopt);
}

TEST(ReplayFileTest, AFileOverTheLimitIsRefusedWithoutReadingItWhole) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::string path = folder.write("huge.replay", "QUORLAND-REPLAY 1 1.0\n");
    bool tooLarge = true;
    EXPECT_TRUE(readReplayBytes(path, tooLarge));
    EXPECT_FALSE(tooLarge);
    std::filesystem::resize_file(path, kMaxReplayBytes);
    EXPECT_EQ(readReplayBytes(path, tooLarge)->size(), kMaxReplayBytes);
    std::filesystem::resize_file(path, kMaxReplayBytes + 1);
    EXPECT_FALSE(readReplayBytes(path, tooLarge));
    EXPECT_TRUE(tooLarge);
    EXPECT_FALSE(readReplayBytes(folder.file("nope.replay"), tooLarge));
    EXPECT_FALSE(tooLarge);
    EXPECT_EQ(tooLargeReplayLine("huge.replay"),
              "ERROR: Replay file 'huge.replay' is larger than 67108864 bytes, too large for a "
              "replay");
    EXPECT_EQ(badReplayLine("run.replay", {40, "unknown key 999"}),
              "ERROR: Replay file 'run.replay' line 40: unknown key 999");
}

}  // namespace

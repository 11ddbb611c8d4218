// Replay files on disk: the recording the page downloads while its run goes
// on (closed for the whole frames so far), the size limit of a reader, and
// the line a file that cannot be played gives.
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

    const std::string copy = closedRecording(path);
    EXPECT_EQ(copy, formatReplayHeader(header) + "b 0 1 0\nm\nc 640 384\ng 3dcccccd\nend 2\n");
    const ReplayParse parse = parseReplay(copy);
    ASSERT_TRUE(parse.replay) << parse.error.what;
    EXPECT_TRUE(parse.replay->finished);
    EXPECT_EQ(parse.replay->frames.size(), 2u);

    recorder->writeFrame(formatFrameEnd(game));
    recorder->finish(3);
    const std::string finished = closedRecording(path);
    EXPECT_EQ(finished.substr(finished.size() - 6), "end 3\n");
    EXPECT_EQ(finished.find("end 2"), std::string::npos);
    recorder.reset();
    EXPECT_EQ(closedRecording(path), finished);
    EXPECT_EQ(closedRecording(folder.file("nope.replay")), "");
}

TEST(ReplayFileTest, AFileOverTheLimitIsRefusedWithoutReadingItWhole) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::string path = folder.write("huge.replay", "QUORLAND-REPLAY 1 1.0\n");
    ReplayBytes read = readReplayBytes(path);
    EXPECT_EQ(read.fault, ReplayBytes::Fault::None);
    EXPECT_EQ(read.bytes, "QUORLAND-REPLAY 1 1.0\n");
    std::filesystem::resize_file(path, kMaxReplayBytes);
    read = readReplayBytes(path);
    EXPECT_EQ(read.fault, ReplayBytes::Fault::None);
    EXPECT_EQ(read.bytes.size(), kMaxReplayBytes);
    std::filesystem::resize_file(path, kMaxReplayBytes + 1);
    read = readReplayBytes(path);
    EXPECT_EQ(read.fault, ReplayBytes::Fault::TooLarge);
    EXPECT_EQ(read.bytes, "");
    read = readReplayBytes(folder.file("nope.replay"));
    EXPECT_EQ(read.fault, ReplayBytes::Fault::CannotRead);
    EXPECT_EQ(read.bytes, "");
}

// loadReplay gives the replay or the one line to print, and never ends the
// process: the game prints the line, waits and exits; a check that only
// verifies a file prints it and exits at once.
TEST(ReplayFileTest, LoadingGivesTheReplayOrTheLineNamingTheFileAndTheFault) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::string good = folder.write("good.replay",
                                          "QUORLAND-REPLAY 1 1.0\nseed 7\nwindow 1280 768 60 0 Q\n"
                                          "camera 42700000 3dcccccd 42c80000 00000000 00000000\n"
                                          "renderer 0 0 0 0 1\nm\nend 1\n");
    const ReplayLoad loaded = loadReplay(good);
    ASSERT_TRUE(loaded.replay) << loaded.error;
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.replay->header.seed, 7u);
    EXPECT_EQ(loaded.replay->frames.size(), 1u);

    const std::string huge = folder.write("huge.replay", "");
    std::filesystem::resize_file(huge, kMaxReplayBytes + 1);
    const struct {
        std::string path;
        std::string error;
    } faults[] = {
        {folder.file("nope.replay"),
         "ERROR: Cannot read replay file '" + folder.file("nope.replay") + "'"},
        {huge,
         "ERROR: Replay file '" + huge + "' is larger than 67108864 bytes, too large for a replay"},
        {folder.write("bad.replay", "QUORLAND-REPLAY 2 1.0\n"),
         "ERROR: Replay file '" + folder.file("bad.replay") +
             "' line 1: format version '2' is not supported (this game reads version 1)"},
    };
    for (const auto& fault : faults) {
        const ReplayLoad load = loadReplay(fault.path);
        EXPECT_FALSE(load.replay) << fault.path;
        EXPECT_EQ(load.error, fault.error);
    }
    EXPECT_EQ(badReplayLine("run.replay", {40, "unknown key 999"}),
              "ERROR: Replay file 'run.replay' line 40: unknown key 999");
}

}  // namespace

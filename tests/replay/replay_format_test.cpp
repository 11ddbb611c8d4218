// Replay files as text: the exact lines written, values read back bit for
// bit, cut-off recordings, and every kind of bad line with its number.
#include "replay/replay_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "replay/replay_reader.h"

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

const std::string kDefaultHeader =
    "QUORLAND-REPLAY 1 1.0\n"
    "seed 7\n"
    "window 1280 768 60 0 QUORLAND\n"
    "camera 42700000 3dcccccd 42c80000 00000000 00000000\n"
    "renderer 0 0 0 0 1\n";

ReplayHeader defaultHeader() {
    ReplayHeader header;
    header.gameVersion = "1.0";
    header.seed = 7;
    return header;
}

InputEvent wKey(int action) {
    return keyEvent(87, 25, action, 0);
}

ReplayError errorOf(const std::string& text) {
    const ReplayParse parse = parseReplay(text);
    EXPECT_FALSE(parse.replay) << text;
    return parse.error;
}

TEST(ReplayFormat, WritesTheDocumentedLines) {
    EXPECT_EQ(formatReplayHeader(defaultHeader()), kDefaultHeader);
    EXPECT_EQ(formatInputEvent(wKey(1)), "k 87 25 1 0\n");
    EXPECT_EQ(formatInputEvent(mouseButtonEvent(0, 1, 0)), "b 0 1 0\n");
    EXPECT_EQ(formatInputEvent(scrollEvent(0.0, -1.0)), "s 0000000000000000 bff0000000000000\n");
    EXPECT_EQ(formatInputEvent(framebufferSizeEvent(640, 360)), "r 640 360\n");
    EXPECT_EQ(formatInputEvent(closeEvent()), "x\n");
    EXPECT_EQ(formatCursor({-3, 200}), "c -3 200\n");
    RecordedFrame frame;
    EXPECT_EQ(formatFrameEnd(frame), "m\n");
    frame.gameFrame = true;
    frame.deltaTime = 1.0f / 60.0f;
    EXPECT_EQ(formatFrameEnd(frame), "g 3c888889\n");
    EXPECT_EQ(formatReplayEnd(12), "end 12\n");
}

TEST(ReplayFormat, ReadsBackEveryValueBitForBit) {
    ReplayHeader header = defaultHeader();
    header.seed = 4294967295u;
    header.window = {1000, 500, -1, true, "My 100% game\n"};
    header.camera.fov = std::numeric_limits<float>::quiet_NaN();
    header.camera.yaw = -0.0f;
    header.camera.pitch = std::numeric_limits<float>::denorm_min();
    header.renderer = {true, true, false, true, false};
    header.missingSettings = {"assets/settings/window.ini", "my cams/a b.ini"};
    const InputEvent scroll = scrollEvent(0.1, -10000.0);
    const std::string text = formatReplayHeader(header) + "b 1 1 3\nm\n" +
                             formatInputEvent(keyEvent(-1, 25, 2, 0)) + formatInputEvent(scroll) +
                             "r 0 0\nx\nc 1 -1\ng 3d4ccccd\n" + formatReplayEnd(2);

    const ReplayParse parse = parseReplay(text);
    ASSERT_TRUE(parse.replay) << parse.error.line << ": " << parse.error.what;
    const Replay& replay = *parse.replay;
    EXPECT_TRUE(replay.finished);
    EXPECT_EQ(replay.header.seed, 4294967295u);
    EXPECT_EQ(replay.header.window.title, "My 100% game\n");
    EXPECT_EQ(replay.header.window.refreshRate, -1);
    EXPECT_TRUE(replay.header.window.fullscreen);
    EXPECT_EQ(bitsOf(replay.header.camera.fov), bitsOf(header.camera.fov));
    EXPECT_EQ(bitsOf(replay.header.camera.yaw), 0x80000000u);
    EXPECT_EQ(bitsOf(replay.header.camera.pitch), 1u);
    EXPECT_TRUE(replay.header.renderer.texcoords);
    EXPECT_FALSE(replay.header.renderer.depthTest);
    EXPECT_EQ(replay.header.missingSettings, header.missingSettings);
    ASSERT_EQ(replay.frames.size(), 2u);
    EXPECT_FALSE(replay.frames[0].gameFrame);
    ASSERT_EQ(replay.frames[0].events.size(), 1u);
    EXPECT_EQ(replay.frames[0].events[0].button, 1);
    EXPECT_EQ(replay.frames[0].events[0].mods, 3);
    ASSERT_EQ(replay.frames[1].events.size(), 4u);
    EXPECT_EQ(replay.frames[1].events[0], keyEvent(-1, 25, 2, 0));
    EXPECT_EQ(replay.frames[1].events[1], scroll);
    EXPECT_EQ(replay.frames[1].events[2].kind, InputEvent::Kind::FramebufferSize);
    EXPECT_EQ(replay.frames[1].events[3].kind, InputEvent::Kind::Close);
    EXPECT_EQ(replay.frames[1].cursor, (CursorPosition{1, -1}));
    EXPECT_EQ(bitsOf(replay.frames[1].deltaTime), 0x3d4ccccdu);
}

TEST(ReplayFormat, ACutOffRecordingKeepsItsWholeFrames) {
    // Killed while writing: the last line has no line feed, and the events
    // of the frame it belonged to have no frame line yet.
    const std::string whole = kDefaultHeader + "b 0 1 0\nm\nk 87 25 1 0\ng 3c888889\nk 87 25 0 0\n";
    for (const std::string& text : {whole + "c 10", whole + "g 3c8", whole}) {
        const ReplayParse parse = parseReplay(text);
        ASSERT_TRUE(parse.replay) << parse.error.what;
        EXPECT_FALSE(parse.replay->finished);
        ASSERT_EQ(parse.replay->frames.size(), 2u);
        EXPECT_TRUE(parse.replay->frames[1].gameFrame);
        EXPECT_EQ(parse.replay->frames[1].events.size(), 1u);
    }
    // Windows line ends are read like plain ones.
    EXPECT_TRUE(parseReplay("QUORLAND-REPLAY 1 1.0\r\nseed 7\r\nwindow 1280 768 60 0 Q\r\n"
                            "camera 42700000 3dcccccd 42c80000 00000000 00000000\r\n"
                            "renderer 0 0 0 0 1\r\nm\r\n")
                    .replay);
}

TEST(ReplayFormat, BadFilesNameTheLineAndWhatIsWrong) {
    const std::string frame = "m\n";
    struct Case {
        std::string text;
        int line;
        std::string what;
    };
    const std::vector<Case> cases = {
        {"", 1, "empty file, not a replay"},
        {"P3\n", 1, "not a replay file (the first line must be 'QUORLAND-REPLAY 1 VERSION')"},
        {"QUORLAND-REPLAY 2 1.0\n", 1,
         "format version '2' is not supported (this game reads version 1)"},
        {"QUORLAND-REPLAY 1 1 .0\n", 1,
         "not a replay file (the first line must be 'QUORLAND-REPLAY 1 VERSION')"},
        {"QUORLAND-REPLAY 1 1.0\nseed -1\n", 2, "expected 'seed N' with N from 0 to 4294967295"},
        {"QUORLAND-REPLAY 1 1.0\nseed 7\nwindow 0 768 60 0 Q\n", 3,
         "window size out of range (1 to 2147483647 pixels each)"},
        {"QUORLAND-REPLAY 1 1.0\nseed 7\nwindow 1280 768 60 0 Q\nrenderer 0 0 0 0 1\n", 4,
         "expected 'camera FOV NEAR FAR YAW PITCH' (float bits in hex)"},
        {"QUORLAND-REPLAY 1 1.0\nseed 7\nwindow 1280 768 60 0 Q\ncamera 42700000 3DCCCCCD "
         "42c80000 00000000 00000000\n",
         4, "malformed camera value '3DCCCCCD' (8 lower-case hex digits)"},
        {"QUORLAND-REPLAY 1 1.0\nseed 7\n", 2, "the file ends inside its header"},
        {kDefaultHeader, 5, "no whole frame to replay"},
        {kDefaultHeader + "g bf800000\n", 6, "frame time out of range (0 to 86400 seconds)"},
        {kDefaultHeader + "g 7fc00000\n", 6, "frame time out of range (0 to 86400 seconds)"},
        {kDefaultHeader + "g 7f000000\n", 6, "frame time out of range (0 to 86400 seconds)"},
        {kDefaultHeader + "g 3c88889\n", 6, "expected 'g SECONDS' (float bits in hex)"},
        {kDefaultHeader + "k 999 25 1 0\n", 6, "unknown key 999"},
        {kDefaultHeader + "k 87 25 3 0\n", 6, "key scancode, action or modifiers out of range"},
        {kDefaultHeader + "k 87 25 1\n", 6, "expected 'k KEY SCANCODE ACTION MODS'"},
        {kDefaultHeader + "k 87 25 +1 0\n", 6, "expected 'k KEY SCANCODE ACTION MODS'"},
        {kDefaultHeader + "b 8 1 0\n", 6, "unknown mouse button 8"},
        {kDefaultHeader + "b 0 2 0\n", 6, "mouse button action or modifiers out of range"},
        {kDefaultHeader + "s 0000000000000000 7ff8000000000000\n", 6,
         "scroll offset out of range (at most 10000 notches)"},
        {kDefaultHeader + "r 640 -1\n", 6, "expected 'r WIDTH HEIGHT' (0 to 65535 pixels each)"},
        {kDefaultHeader + "c 2000000 0\n", 6,
         "expected 'c X Y' (whole pixels within 1000000 of the window)"},
        {kDefaultHeader + "c 1 1\nk 87 25 1 0\n", 7,
         "an input event after the cursor position of its frame"},
        {kDefaultHeader + "c 1 1\nc 1 1\n", 7, "a second cursor position in one frame"},
        {kDefaultHeader + "c 1 1\nm\n", 7, "a cursor position in a start-screen frame"},
        {kDefaultHeader + frame + "missing a.ini\n", 7, "a 'missing' line after the first frame"},
        {kDefaultHeader + frame + "end 2\n", 7,
         "the closing line counts 2 frames, the file holds 1"},
        {kDefaultHeader + frame + "end 1\nm\n", 8, "a line after the closing line"},
        {kDefaultHeader + frame + "jump\x01\n", 7, "unknown line 'jump%01'"},
        {kDefaultHeader + "x 1\n", 6, "expected 'x' alone"},
    };
    for (const Case& bad : cases) {
        const ReplayError error = errorOf(bad.text);
        EXPECT_EQ(error.line, bad.line) << bad.text;
        EXPECT_EQ(error.what, bad.what) << bad.text;
    }
}

TEST(ReplayFormat, TenMinutesAtSixtyFramesPerSecondStayUnderAMegabyte) {
    // A busy game: a frame line every frame, a key press and release every
    // half second and the cursor moving every frame.
    RecordedFrame frame;
    frame.gameFrame = true;
    frame.deltaTime = 1.0f / 60.0f;
    std::string text = formatReplayHeader(defaultHeader());
    for (int i = 0; i < 10 * 60 * 60; ++i) {
        if (i % 30 == 0) {
            text += formatInputEvent(wKey(i % 60 == 0 ? 1 : 0));
        }
        text += formatCursor({640 + i % 7, 384}) + formatFrameEnd(frame);
    }
    text += formatReplayEnd(10 * 60 * 60);
    EXPECT_LT(text.size(), 1000000u);
    EXPECT_TRUE(parseReplay(text).replay);
}

}  // namespace

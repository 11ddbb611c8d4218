// The reader of replay/replay_reader.h. Apart from the writer
// (replay_format.cpp) so that each stays one screenful of rules; the
// spelling of single fields is replay/replay_fields.h's.
#include "replay/replay_reader.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <limits>

#include "replay/replay_fields.h"

namespace {

constexpr float kLongestFrameSeconds = 86400.0f;  // a day on the start screen, at most
constexpr double kLargestScroll = 10000.0;        // notches in one event
constexpr int kLargestSize = 65535;               // pixels; X keeps 16 bits of a size
constexpr int kLargestCursor = 1000000;           // pixels, either side of the window
constexpr int kAllModifiers = 0x3F;               // shift ... num lock

// The reader: one line at a time, the header lines in their fixed order,
// then frames, then the closing line.

class ReplayReader {
  public:
    ReplayParse read(const std::string& text);

  private:
    bool fail(const std::string& what) {
        error_ = {lineNumber_, what};
        return false;
    }
    bool readLine(const std::string& line);
    bool readHeaderLine(const Fields& fields);
    bool readWindow(const Fields& fields);
    bool readCamera(const Fields& fields);
    bool readRenderer(const Fields& fields);
    bool readFrameLine(const Fields& fields, const std::string& line);
    bool readEvent(const Fields& fields, InputEvent& event);
    bool readKey(const Fields& fields, InputEvent& event);
    bool readButton(const Fields& fields, InputEvent& event);
    bool readCursor(const Fields& fields);
    bool endFrame(const Fields& fields);

    enum class Stage { Magic, Seed, Window, Camera, Renderer, Frames, Ended };
    Stage stage_ = Stage::Magic;
    int lineNumber_ = 0;
    Replay replay_;
    RecordedFrame frame_;  // the frame being read
    ReplayError error_;
};

ReplayParse ReplayReader::read(const std::string& text) {
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\n', start)) != std::string::npos; start = feed + 1) {
        ++lineNumber_;
        std::string line = text.substr(start, feed - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!readLine(line)) {
            return {std::nullopt, error_};
        }
    }
    // Bytes after the last line feed are a line cut off mid-write: dropped.
    if (stage_ < Stage::Frames) {
        lineNumber_ += start < text.size() || lineNumber_ == 0 ? 1 : 0;
        fail(stage_ == Stage::Magic ? "empty file, not a replay"
                                    : "the file ends inside its header");
        return {std::nullopt, error_};
    }
    if (replay_.frames.empty()) {
        fail("no whole frame to replay");
        return {std::nullopt, error_};
    }
    replay_.finished = stage_ == Stage::Ended;
    return {std::move(replay_), {}};
}

bool ReplayReader::readLine(const std::string& line) {
    const Fields fields = splitFields(line);
    if (stage_ == Stage::Ended) {
        return fail("a line after the closing line");
    }
    if (stage_ == Stage::Frames) {
        return readFrameLine(fields, line);
    }
    return readHeaderLine(fields);
}

bool ReplayReader::readHeaderLine(const Fields& fields) {
    switch (stage_) {
        case Stage::Magic:
            if (fields.size() != 3 || fields[0] != kReplayMagic) {
                return fail(std::string("not a replay file (the first line must be '") +
                            kReplayMagic + " " + std::to_string(kReplayFormatVersion) +
                            " VERSION')");
            }
            if (fields[1] != std::to_string(kReplayFormatVersion)) {
                return fail("format version " + quotedLine(fields[1]) +
                            " is not supported (this game reads version " +
                            std::to_string(kReplayFormatVersion) + ")");
            }
            if (fields[2].empty() || fields[2].find_first_not_of(
                                         "0123456789abcdefghijklmnopqrstuvwxyz"
                                         "ABCDEFGHIJKLMNOPQRSTUVWXYZ.+~-") != std::string::npos) {
                return fail("malformed game version " + quotedLine(fields[2]));
            }
            replay_.header.gameVersion = fields[2];
            stage_ = Stage::Seed;
            return true;
        case Stage::Seed:
            if (fields.size() != 2 || fields[0] != "seed" ||
                !parseNumber(fields[1], replay_.header.seed)) {
                return fail("expected 'seed N' with N from 0 to 4294967295");
            }
            stage_ = Stage::Window;
            return true;
        case Stage::Window:
            return readWindow(fields);
        case Stage::Camera:
            return readCamera(fields);
        default:
            return readRenderer(fields);
    }
}

bool ReplayReader::readWindow(const Fields& fields) {
    WindowSettings& window = replay_.header.window;
    if (fields.size() != 6 || fields[0] != "window") {
        return fail("expected 'window WIDTH HEIGHT REFRESH FULLSCREEN TITLE'");
    }
    // Any size a window was opened with: the settings allow more than the X
    // server keeps (it plays on at 16 bits), so only a size below 1 is refused.
    if (!parseInt(fields[1], window.width, 1, std::numeric_limits<int>::max()) ||
        !parseInt(fields[2], window.height, 1, std::numeric_limits<int>::max())) {
        return fail("window size out of range (1 to 2147483647 pixels each)");
    }
    if (!parseNumber(fields[3], window.refreshRate) || !parseFlag(fields[4], window.fullscreen) ||
        !unescapeText(fields[5], window.title)) {
        return fail("malformed window refresh rate, fullscreen flag or title");
    }
    stage_ = Stage::Camera;
    return true;
}

bool ReplayReader::readCamera(const Fields& fields) {
    CameraSettings& camera = replay_.header.camera;
    float* const values[] = {&camera.fov, &camera.nearPlane, &camera.farPlane, &camera.yaw,
                             &camera.pitch};
    if (fields.size() != 6 || fields[0] != "camera") {
        return fail("expected 'camera FOV NEAR FAR YAW PITCH' (float bits in hex)");
    }
    for (std::size_t i = 0; i < 5; ++i) {
        if (!parseBits<float, std::uint32_t>(fields[i + 1], *values[i])) {
            return fail("malformed camera value " + quotedLine(fields[i + 1]) +
                        " (8 lower-case hex digits)");
        }
    }
    stage_ = Stage::Renderer;
    return true;
}

bool ReplayReader::readRenderer(const Fields& fields) {
    RendererSettings& renderer = replay_.header.renderer;
    bool* const flags[] = {&renderer.wireframe, &renderer.backfaceCulling, &renderer.normals,
                           &renderer.texcoords, &renderer.depthTest};
    if (fields.size() != 6 || fields[0] != "renderer") {
        return fail("expected 'renderer WIREFRAME CULLING NORMALS TEXCOORDS DEPTHTEST'");
    }
    for (std::size_t i = 0; i < 5; ++i) {
        if (!parseFlag(fields[i + 1], *flags[i])) {
            return fail("renderer flags are 0 or 1");
        }
    }
    stage_ = Stage::Frames;
    return true;
}

bool ReplayReader::readFrameLine(const Fields& fields, const std::string& line) {
    const std::string& tag = fields[0];
    if (tag == "missing") {
        std::string path;
        if (!replay_.frames.empty() || !frame_.events.empty() || frame_.cursor) {
            return fail("a 'missing' line after the first frame");
        }
        if (fields.size() != 2 || fields[1].empty() || !unescapeText(fields[1], path)) {
            return fail("expected 'missing PATH'");
        }
        replay_.header.missingSettings.push_back(path);
        return true;
    }
    if (tag == "c") {
        return readCursor(fields);
    }
    if (tag == "g" || tag == "m") {
        return endFrame(fields);
    }
    if (tag == "end") {
        std::size_t count = 0;
        if (fields.size() != 2 || !parseNumber(fields[1], count)) {
            return fail("expected 'end FRAMES'");
        }
        if (!frame_.events.empty() || frame_.cursor) {
            return fail("the closing line ends a frame that has no frame line");
        }
        if (count != replay_.frames.size()) {
            return fail("the closing line counts " + std::to_string(count) +
                        " frames, the file holds " + std::to_string(replay_.frames.size()));
        }
        stage_ = Stage::Ended;
        return true;
    }
    InputEvent event;
    if (tag.size() != 1 || std::string("kbsrx").find(tag) == std::string::npos) {
        return fail("unknown line " + quotedLine(line));
    }
    if (frame_.cursor) {
        return fail("an input event after the cursor position of its frame");
    }
    if (!readEvent(fields, event)) {
        return false;
    }
    frame_.events.push_back(event);
    return true;
}

bool ReplayReader::readEvent(const Fields& fields, InputEvent& event) {
    const char tag = fields[0][0];
    if (tag == 'k') {
        return readKey(fields, event);
    }
    if (tag == 'b') {
        return readButton(fields, event);
    }
    if (tag == 's') {
        event.kind = InputEvent::Kind::Scroll;
        if (fields.size() != 3 || !parseBits<double, std::uint64_t>(fields[1], event.xOffset) ||
            !parseBits<double, std::uint64_t>(fields[2], event.yOffset)) {
            return fail("expected 's XOFFSET YOFFSET' (double bits in hex)");
        }
        if (!(std::fabs(event.xOffset) <= kLargestScroll) ||
            !(std::fabs(event.yOffset) <= kLargestScroll)) {
            return fail("scroll offset out of range (at most 10000 notches)");
        }
        return true;
    }
    if (tag == 'r') {
        event.kind = InputEvent::Kind::FramebufferSize;
        if (fields.size() != 3 || !parseInt(fields[1], event.width, 0, kLargestSize) ||
            !parseInt(fields[2], event.height, 0, kLargestSize)) {
            return fail("expected 'r WIDTH HEIGHT' (0 to 65535 pixels each)");
        }
        return true;
    }
    event.kind = InputEvent::Kind::Close;
    return fields.size() == 1 || fail("expected 'x' alone");
}

bool ReplayReader::readKey(const Fields& fields, InputEvent& event) {
    event.kind = InputEvent::Kind::Key;
    if (fields.size() != 5 || !parseNumber(fields[1], event.key) ||
        !parseNumber(fields[2], event.scancode) || !parseNumber(fields[3], event.action) ||
        !parseNumber(fields[4], event.mods)) {
        return fail("expected 'k KEY SCANCODE ACTION MODS'");
    }
    if (event.key != GLFW_KEY_UNKNOWN &&
        (event.key < GLFW_KEY_SPACE || event.key > GLFW_KEY_LAST)) {
        return fail("unknown key " + std::to_string(event.key));
    }
    if (event.scancode < 0 || event.scancode > 0xFFFF || event.action < GLFW_RELEASE ||
        event.action > GLFW_REPEAT || event.mods < 0 || event.mods > kAllModifiers) {
        return fail("key scancode, action or modifiers out of range");
    }
    return true;
}

bool ReplayReader::readButton(const Fields& fields, InputEvent& event) {
    event.kind = InputEvent::Kind::MouseButton;
    if (fields.size() != 4 || !parseNumber(fields[1], event.button) ||
        !parseNumber(fields[2], event.action) || !parseNumber(fields[3], event.mods)) {
        return fail("expected 'b BUTTON ACTION MODS'");
    }
    if (event.button < GLFW_MOUSE_BUTTON_1 || event.button > GLFW_MOUSE_BUTTON_LAST) {
        return fail("unknown mouse button " + std::to_string(event.button));
    }
    if (event.action < GLFW_RELEASE || event.action > GLFW_PRESS || event.mods < 0 ||
        event.mods > kAllModifiers) {
        return fail("mouse button action or modifiers out of range");
    }
    return true;
}

bool ReplayReader::readCursor(const Fields& fields) {
    CursorPosition cursor;
    if (fields.size() != 3 || !parseInt(fields[1], cursor.x, -kLargestCursor, kLargestCursor) ||
        !parseInt(fields[2], cursor.y, -kLargestCursor, kLargestCursor)) {
        return fail("expected 'c X Y' (whole pixels within 1000000 of the window)");
    }
    if (frame_.cursor) {
        return fail("a second cursor position in one frame");
    }
    frame_.cursor = cursor;
    return true;
}

bool ReplayReader::endFrame(const Fields& fields) {
    frame_.gameFrame = fields[0] == "g";
    if (!frame_.gameFrame) {
        if (fields.size() != 1) {
            return fail("expected 'm' alone");
        }
        if (frame_.cursor) {
            return fail("a cursor position in a start-screen frame");
        }
    } else if (fields.size() != 2 ||
               !parseBits<float, std::uint32_t>(fields[1], frame_.deltaTime)) {
        return fail("expected 'g SECONDS' (float bits in hex)");
    } else if (!(frame_.deltaTime >= 0.0f && frame_.deltaTime <= kLongestFrameSeconds)) {
        return fail("frame time out of range (0 to 86400 seconds)");
    }
    replay_.frames.push_back(std::move(frame_));
    frame_ = RecordedFrame();
    return true;
}

}  // namespace

ReplayParse parseReplay(const std::string& text) {
    return ReplayReader().read(text);
}

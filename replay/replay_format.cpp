#include "replay/replay_format.h"

#include <cstdio>
#include <cstring>

namespace {

template <typename Bits, typename Real>
std::string bitsOf(Real value) {
    Bits bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[sizeof(Bits) * 2 + 1];
    std::snprintf(text, sizeof text, sizeof(Bits) == 4 ? "%08llx" : "%016llx",
                  static_cast<unsigned long long>(bits));
    return text;
}

}  // namespace

std::string escapeReplayText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7f && byte != '%') {
            escaped += c;
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            escaped += code;
        }
    }
    return escaped;
}

InputEvent keyEvent(int key, int scancode, int action, int mods) {
    InputEvent event;
    event.kind = InputEvent::Kind::Key;
    event.key = key;
    event.scancode = scancode;
    event.action = action;
    event.mods = mods;
    return event;
}

InputEvent mouseButtonEvent(int button, int action, int mods) {
    InputEvent event;
    event.kind = InputEvent::Kind::MouseButton;
    event.button = button;
    event.action = action;
    event.mods = mods;
    return event;
}

InputEvent scrollEvent(double xOffset, double yOffset) {
    InputEvent event;
    event.kind = InputEvent::Kind::Scroll;
    event.xOffset = xOffset;
    event.yOffset = yOffset;
    return event;
}

InputEvent framebufferSizeEvent(int width, int height) {
    InputEvent event;
    event.kind = InputEvent::Kind::FramebufferSize;
    event.width = width;
    event.height = height;
    return event;
}

InputEvent closeEvent() {
    return InputEvent();
}

bool InputEvent::operator==(const InputEvent& other) const {
    return kind == other.kind && key == other.key && scancode == other.scancode &&
           action == other.action && mods == other.mods && button == other.button &&
           xOffset == other.xOffset && yOffset == other.yOffset && width == other.width &&
           height == other.height;
}

std::string formatReplayHeader(const ReplayHeader& header) {
    const WindowSettings& window = header.window;
    const CameraSettings& camera = header.camera;
    const RendererSettings& renderer = header.renderer;
    std::string text = std::string(kReplayMagic) + " " + std::to_string(kReplayFormatVersion) +
                       " " + header.gameVersion + "\n";
    text += "seed " + std::to_string(header.seed) + "\n";
    text += "window " + std::to_string(window.width) + " " + std::to_string(window.height) + " " +
            std::to_string(window.refreshRate) + " " + (window.fullscreen ? "1" : "0") + " " +
            escapeReplayText(window.title) + "\n";
    text += "camera";
    for (const float value :
         {camera.fov, camera.nearPlane, camera.farPlane, camera.yaw, camera.pitch}) {
        text += " " + bitsOf<std::uint32_t>(value);
    }
    text += "\nrenderer";
    for (const bool flag : {renderer.wireframe, renderer.backfaceCulling, renderer.normals,
                            renderer.texcoords, renderer.depthTest}) {
        text += flag ? " 1" : " 0";
    }
    text += "\n";
    for (const std::string& path : header.missingSettings) {
        text += "missing " + escapeReplayText(path) + "\n";
    }
    return text;
}

std::string formatInputEvent(const InputEvent& event) {
    using std::to_string;
    switch (event.kind) {
        case InputEvent::Kind::Key:
            return "k " + to_string(event.key) + " " + to_string(event.scancode) + " " +
                   to_string(event.action) + " " + to_string(event.mods) + "\n";
        case InputEvent::Kind::MouseButton:
            return "b " + to_string(event.button) + " " + to_string(event.action) + " " +
                   to_string(event.mods) + "\n";
        case InputEvent::Kind::Scroll:
            return "s " + bitsOf<std::uint64_t>(event.xOffset) + " " +
                   bitsOf<std::uint64_t>(event.yOffset) + "\n";
        case InputEvent::Kind::FramebufferSize:
            return "r " + to_string(event.width) + " " + to_string(event.height) + "\n";
        case InputEvent::Kind::Close:
            break;
    }
    return "x\n";
}

std::string formatCursor(const CursorPosition& cursor) {
    return "c " + std::to_string(cursor.x) + " " + std::to_string(cursor.y) + "\n";
}

std::string formatFrameEnd(const RecordedFrame& frame) {
    return frame.gameFrame ? "g " + bitsOf<std::uint32_t>(frame.deltaTime) + "\n" : "m\n";
}

std::string formatReplayEnd(std::size_t frameCount) {
    return "end " + std::to_string(frameCount) + "\n";
}

// The browser side of the platform boundary (framework/platform.h), built
// only by the WebAssembly build: what the game asks of its platform about
// files and drawing. The rest of the browser side is one module per job,
// beside this one: the runs and the frame loop (page_runs), replays
// exchanged with the page (page_replays), the player's bests kept by the
// page (page_bests), pads (page_gamepad), touch
// gestures (page_touch), the screen the page's buttons follow
// (page_screen), the window size the page asks for (page_window) and the
// mute button (page_sound).
//
// Assets live in the page's packed file system under /quorland, where the
// game believes its executable to be, so the usual asset search finds them.
// Shaders are converted to GLSL ES 3.00, and textures are decoded to RGBA,
// since WebGL 2 cannot mip-map a compressed level. WebGL has no polygon
// mode either: wireframe stays off.
#include <GL/glew.h>

#include "framework/console.h"
#include "framework/platform.h"
#include "render/glsl_es.h"

namespace {

// Where the page's file system holds the project: assets/ lies beside it.
constexpr const char* kVirtualExecutable = "/quorland/quorland";

}  // namespace

std::string runningExecutablePath(std::size_t bufferSize) {
    const std::string path = kVirtualExecutable;
    return path.size() < bufferSize ? path : "";
}

std::string platformShaderSource(const std::string& desktopSource) {
    return toGlslEs300(desktopSource);
}

bool platformTakesCompressedTextures() {
    return false;
}

// WebGL has no polygon mode; the game calls this for wireframe (F1 in debug
// mode) and keeps drawing filled polygons after one note.
extern "C" void glPolygonMode(GLenum /*face*/, GLenum mode) {
    static bool noted = false;
    if (mode == GL_LINE && !noted) {
        noted = true;
        printLine("Wireframe is not available in the browser; polygons stay filled.");
    }
}

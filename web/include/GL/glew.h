// Browser build only; part of the platform boundary (framework/platform.h).
// Wraps the toolchain's GLEW emulation so that it reports what WebGL 2
// offers: everything of OpenGL 3.0 that the game uses (the emulation reports
// no 3.0 at all), and no debug output - the debug-message entry point is
// absent, as from a driver without it, so start-up skips installing it.
#pragma once

#include_next <GL/glew.h>

#undef GLEW_VERSION_3_0
#define GLEW_VERSION_3_0 1

inline constexpr PFNGLDEBUGMESSAGECALLBACKPROC kNoDebugMessageCallback = nullptr;
#define glDebugMessageCallback kNoDebugMessageCallback

// The platform boundary: the few things the desktop and the browser do
// differently, behind one small interface.
//
// Everything else in the game is the same code on both. Exactly one
// implementation is linked: framework/platform_desktop.cpp in the desktop
// build, web/platform_web.cpp in the browser build. The browser build adds
// two stand-in headers of its own (web/include/GL/glew.h for what GLEW would
// report on WebGL 2, web/include/INIReader.h for the settings reader), so
// that the code that includes them stays unchanged.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Full path of the running executable, or "" when the platform cannot say or
// the path needs `bufferSize` characters or more (it may have been cut).
std::string runningExecutablePath(std::size_t bufferSize);

// Runs `iteration` once per frame until it returns false. The desktop loops
// here and returns; the browser hands the iteration to its animation frames
// and this call does not return (the caller's locals stay alive for them).
void runPlatformLoop(const std::function<bool()>& iteration);

// The shader text the platform's OpenGL takes, made from a desktop GLSL
// source: the same text on the desktop, GLSL ES 3.00 in the browser.
std::string platformShaderSource(const std::string& desktopSource);

// Whether block-compressed texture levels can be uploaded as they are and
// mip-mapped by OpenGL; when not, they are decoded to RGBA first.
bool platformTakesCompressedTextures();

// Runs and stops. The desktop plays one run per process; the page may play
// several in turn (a replay it is given ends the run in progress and starts
// its own), and has no console input to wait on.

// The command line of the next run. The first call gets the program's own
// `arguments` and leaves them as they are on the desktop (true); the page
// may put a replay in their place and adds its recording. Later calls come
// after a run has ended: false on the desktop; the page reports the end and
// waits until it is given a replay.
bool platformNextRun(std::vector<std::string>& arguments);

// A fatal path's stop after its `message` (its lines, "\n" between them) is
// printed: the desktop waits until one character can be read from standard
// input; the page shows the message and returns at once.
void platformWaitAfterFatal(const std::string& message);

// The page's runs, for the browser's modules that start one, and the text
// the exported functions hand to the page (page_runs.cpp).
#pragma once

#include <string>
#include <vector>

// Where every run records (the page's "Download replay" reads it back).
constexpr const char* kPageRecordingPath = "/recording.replay";
// The folder the runs start in: a replay the page gives is kept there
// under its own name, so that the game names it as the desktop names a
// file given by its name.
constexpr const char* kPageReplayFolder = "/replays";

// Ends the run in progress after its frame and plays the next with
// `arguments` (the program's name first).
void queuePageRun(std::vector<std::string> arguments);

// `text` kept alive for the page until the next call (the exported
// functions return their text through it).
const char* handOver(std::string text);

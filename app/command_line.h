// The game's command-line options.
//
// Every argument is compared with every option name, exactly and
// case-sensitively. An argument taken as an option's value is still examined
// as an option in its own turn ("--filename --run_headless" names the file
// "--run_headless" and also turns headless mode on). Unknown arguments are
// ignored, a later occurrence of an option overwrites an earlier one, and an
// option that needs a value but comes last is ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct CommandLineOptions {
    bool runHeadless = false;   // "--run_headless": one screenshot after the first click, then exit
    bool initCamera = false;    // "--init_camera <path>"
    bool initRenderer = false;  // "--init_renderer <path>"
    bool hasFilename = false;   // "--filename <name>"
    std::string filename;       // screenshot name without ".ppm"
    std::string cameraSettingsPath;
    std::string rendererSettingsPath;
    bool hasSeed = false;  // "--seed <n>": reproducible row kinds
    std::uint32_t seed = 0;
    bool showHelp = false;  // "--help" or "-h"
    // Replays. "--replay" and "--timedemo" name the file to play; the later
    // of the two decides whether it is played as a timedemo.
    bool hasRecordFile = false;  // "--record <file>": write the run to a replay file
    std::string recordFile;
    bool hasReplayFile = false;  // "--replay <file>" or "--timedemo <file>"
    std::string replayFile;
    bool timedemo = false;  // "--timedemo": as fast as possible, then report the frame times
    bool mute = false;      // "--mute": no sound device is opened
};

// Fills `options` from argv[1] .. argv[argc - 1]. Prints one line for each
// "--seed" value that is not a 32-bit unsigned decimal number (and ignores it).
void parseCommandLine(CommandLineOptions& options, int argc, const char* const* argv);

// Whether the run opens a sound device: not with "--mute", nor headless or
// in a timedemo (nobody listens, and a timedemo outruns real time).
bool wantsSound(const CommandLineOptions& options);

// The usage text printed by "--help", one option per line.
std::string commandLineUsage();

// True when any argument is exactly "--version". Its answer is the whole
// output, so it is looked for before anything else is printed.
bool asksForVersion(int argc, const char* const* argv);

// The file of the last "--verify <file>", if any. A verification prints
// only what the run and its verdict say, so it is looked for before anything
// else is printed, and every other option is left aside.
std::optional<std::string> fileToVerify(int argc, const char* const* argv);

// The one line "--version" prints: "quorland " and the project's version.
std::string versionLine();

// Running real processes from tests: the game binary, a private X server
// and xdotool.
//
// Every process a test starts is owned by an object here and ended by pid
// (never by name) when the object goes. Every wait has a deadline.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

using namespace std::chrono_literals;

// A private Xvfb server for one test, on a display number it picks itself.
class VirtualDisplay {
  public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& name() const { return name_; }  // e.g. ":42"

  private:
    pid_t pid_ = -1;
    std::string name_;
};

// A child process with standard input from /dev/null and standard output
// (and error) read line by line through a pipe. `environment` adds or
// replaces NAME=VALUE entries of the test's own environment. Unless it
// names them, HOME and XDG_DATA_HOME point into a scratch folder of the
// process's own, so no game a test starts touches a real player's files.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& workingDirectory,
                 const std::string& display, const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads output until a line equal to `line` arrives (true) or the
    // deadline passes or the output ends (false).
    bool waitForLine(const std::string& line, std::chrono::milliseconds timeout);
    // Reads output until a line starting with `prefix` arrives; returns it.
    std::optional<std::string> waitForLineStartingWith(const std::string& prefix,
                                                       std::chrono::milliseconds timeout);
    // Reads all output until the process exits; its exit code, or nothing
    // when it did not exit in time or was killed by a signal.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    const std::vector<std::string>& lines() const { return lines_; }
    pid_t pid() const { return pid_; }
    // The scratch XDG_DATA_HOME (made on the game's first need), or the
    // test's own when it gave one.
    const std::string& dataHome() const { return dataHome_; }

  private:
    // Reads whatever output is available within `timeout`; false at EOF.
    bool readSome(std::chrono::milliseconds timeout);

    ScratchFolder home_ = ScratchFolder::inTemp();
    std::string dataHome_;
    pid_t pid_ = -1;
    int outputFd_ = -1;
    std::string partialLine_;
    std::vector<std::string> lines_;
    std::size_t scanned_ = 0;  // lines already examined by the waits
    bool exited_ = false;
    int status_ = 0;
};

// Runs a short command (xdotool, convert) to completion with a deadline;
// returns its exit code, or -1 when it failed to start or timed out.
int runCommand(const std::vector<std::string>& argv, const std::string& display,
               std::chrono::milliseconds timeout = 10s);

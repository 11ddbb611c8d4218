#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> toArgv(const std::vector<std::string>& argv) {
    std::vector<char*> result;
    for (const std::string& argument : argv) {
        result.push_back(const_cast<char*>(argument.c_str()));
    }
    result.push_back(nullptr);
    return result;
}

// The sanitizer run keeps the graphics driver's libraries loaded in the game
// processes by preloading them (QUORLAND_GAME_PRELOAD, set by
// scripts/check-robustness.sh): unloaded at exit, the memory their globals
// hold would read as leaks from nameless code that no suppression can name.
bool isGameBinary(const std::string& program) {
    const std::size_t slash = program.rfind('/');
    return program.substr(slash == std::string::npos ? 0 : slash + 1) == "quorland";
}

// The current environment with DISPLAY replaced (or removed when empty),
// LD_PRELOAD set for the game binary when the sanitizer run asks for it, and
// the `extra` NAME=VALUE entries on top; an extra LD_PRELOAD comes after the
// sanitizer run's, whose runtime must load first.
std::vector<std::string> environmentFor(const std::string& program, const std::string& display,
                                        const std::vector<std::string>& extra = {}) {
    const char* sanitizerPreload = std::getenv("QUORLAND_GAME_PRELOAD");
    std::string preload =
        sanitizerPreload != nullptr && isGameBinary(program) ? sanitizerPreload : "";
    std::vector<std::string> result;
    for (const std::string& entry : extra) {
        if (entry.rfind("LD_PRELOAD=", 0) == 0) {
            preload += (preload.empty() ? "" : " ") + entry.substr(11);
        }
    }
    const auto replaced = [&](const char* entry) {
        const std::string text = entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        if (name == "DISPLAY=" || (name == "LD_PRELOAD=" && !preload.empty())) {
            return true;
        }
        for (const std::string& added : extra) {
            if (added.rfind(name, 0) == 0) {
                return true;
            }
        }
        return false;
    };
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!replaced(*entry)) {
            result.emplace_back(*entry);
        }
    }
    if (!display.empty()) {
        result.push_back("DISPLAY=" + display);
    }
    if (!preload.empty()) {
        result.push_back("LD_PRELOAD=" + preload);
    }
    for (const std::string& entry : extra) {
        if (entry.rfind("LD_PRELOAD=", 0) != 0) {
            result.push_back(entry);
        }
    }
    return result;
}

// Spawns argv with stdin from /dev/null and stdout/stderr into `outputFd`
// (or /dev/null when -1), `extraFd` as fd 3 when not -1, in
// `workingDirectory` when given, with the `environment` entries added.
pid_t spawn(const std::vector<std::string>& argv, const std::string& display, int outputFd,
            int extraFd = -1, const std::string& workingDirectory = "",
            const std::vector<std::string>& environment = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    }
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (extraFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, extraFd, 3);
    }
    const std::vector<std::string> variables = environmentFor(argv.at(0), display, environment);
    std::vector<char*> args = toArgv(argv);
    std::vector<char*> env = toArgv(variables);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for `pid` until the deadline; true when it has exited.
bool waitUntil(pid_t pid, Clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return true;
        }
        if (done < 0 || Clock::now() >= deadline) {
            return false;
        }
        usleep(10000);
    }
}

void killAndReap(pid_t pid) {
    if (pid <= 0) {
        return;
    }
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    // -noreset: an X server resets when its last client leaves, and a client
    // that connects meanwhile is turned away; a test's short-lived clients
    // (xdotool looking for the window) come and go while the game connects.
    pid_ = spawn(
        {"Xvfb", "-displayfd", "3", "-screen", "0", "1920x1080x24", "-nolisten", "tcp", "-noreset"},
        "", -1, fds[1]);
    close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + 15s;
    char c = 0;
    while (pid_ > 0 && Clock::now() < deadline) {
        pollfd poller{fds[0], POLLIN, 0};
        if (poll(&poller, 1, 100) <= 0) {
            continue;
        }
        if (read(fds[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    close(fds[0]);
    if (!number.empty()) {
        name_ = ":" + number;
    }
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        if (!waitUntil(pid_, Clock::now() + 5s, status)) {
            killAndReap(pid_);
        }
    }
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::string& workingDirectory, const std::string& display,
                           const std::vector<std::string>& environment) {
    std::vector<std::string> variables{"HOME=" + home_.path().string(),
                                       "XDG_DATA_HOME=" + home_.file("data")};
    for (const std::string& entry : environment) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        variables.erase(std::remove_if(variables.begin(), variables.end(),
                                       [&name](const std::string& scratch) {
                                           return scratch.rfind(name, 0) == 0;
                                       }),
                        variables.end());
    }
    variables.insert(variables.end(), environment.begin(), environment.end());
    for (const std::string& entry : variables) {
        if (entry.rfind("XDG_DATA_HOME=", 0) == 0) {
            dataHome_ = entry.substr(14);
        }
    }
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    pid_ = spawn(argv, display, fds[1], -1, workingDirectory, variables);
    close(fds[1]);
    outputFd_ = fds[0];
}

ChildProcess::~ChildProcess() {
    killAndReap(exited_ ? -1 : pid_);
    if (outputFd_ >= 0) {
        close(outputFd_);
    }
}

bool ChildProcess::readSome(std::chrono::milliseconds timeout) {
    if (outputFd_ < 0) {
        return false;
    }
    pollfd poller{outputFd_, POLLIN, 0};
    if (poll(&poller, 1, static_cast<int>(timeout.count())) <= 0) {
        return true;
    }
    char buffer[4096];
    const ssize_t count = read(outputFd_, buffer, sizeof buffer);
    if (count <= 0) {
        close(outputFd_);
        outputFd_ = -1;
        if (!partialLine_.empty()) {
            lines_.push_back(partialLine_);
            partialLine_.clear();
        }
        return false;
    }
    for (ssize_t i = 0; i < count; ++i) {
        if (buffer[i] == '\n') {
            lines_.push_back(partialLine_);
            partialLine_.clear();
        } else {
            partialLine_ += buffer[i];
        }
    }
    return true;
}

std::optional<std::string> ChildProcess::waitForLineStartingWith(
    const std::string& prefix, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        while (scanned_ < lines_.size()) {
            const std::string& line = lines_[scanned_++];
            if (line.rfind(prefix, 0) == 0) {
                return line;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (outputFd_ < 0 || left.count() <= 0) {
            return std::nullopt;
        }
        readSome(std::min(left, std::chrono::milliseconds(100)));
    }
}

bool ChildProcess::waitForLine(const std::string& line, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const std::optional<std::string> found = waitForLineStartingWith(line, left);
        if (!found) {
            return false;
        }
        if (*found == line) {
            return true;
        }
    }
    return false;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (readSome(50ms) && Clock::now() < deadline) {
    }
    if (!exited_) {
        exited_ = waitUntil(pid_, deadline, status_);
    }
    if (!exited_ || !WIFEXITED(status_)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status_);
}

int runCommand(const std::vector<std::string>& argv, const std::string& display,
               std::chrono::milliseconds timeout) {
    const pid_t pid = spawn(argv, display, -1);
    if (pid <= 0) {
        return -1;
    }
    int status = 0;
    if (!waitUntil(pid, Clock::now() + timeout, status)) {
        killAndReap(pid);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Running one untrusted program under limits (see child_run.h).
#include "child_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

namespace {

constexpr std::size_t kFirstLineBytes = 4096;
constexpr std::size_t kTailBytes = 65536;

// NULL-terminated pointers into `strings`, made before fork.
std::vector<char*> pointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& text : strings) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// The child's side, between fork and execve: async-signal-safe calls only.
[[noreturn]] void becomeChild(int outputFd, char* const* argv, char* const* environment,
                              const ChildLimits& limits) {
    const int input = open("/dev/null", O_RDONLY);
    if (input < 0 || dup2(input, 0) < 0 || dup2(outputFd, 1) < 0 || dup2(outputFd, 2) < 0) {
        _exit(127);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds + 1};
    const rlimit memory{limits.addressSpaceBytes, limits.addressSpaceBytes};
    const rlimit noCore{0, 0};
    if (setrlimit(RLIMIT_CPU, &cpu) != 0 ||
        (limits.addressSpaceBytes != 0 && setrlimit(RLIMIT_AS, &memory) != 0) ||
        setrlimit(RLIMIT_CORE, &noCore) != 0) {
        _exit(127);
    }
    execve(argv[0], argv, environment);
    _exit(127);
}

// Keeps the first line and the last bytes of a stream of output.
class OutputKeeper {
  public:
    void take(const char* bytes, std::size_t size) {
        if (!firstLineDone_) {
            for (std::size_t i = 0; i < size && !firstLineDone_; ++i) {
                firstLineDone_ = bytes[i] == '\n' || first_.size() == kFirstLineBytes;
                if (bytes[i] != '\n') {
                    first_ += bytes[i];
                }
            }
        }
        tail_.append(bytes, size);
        if (tail_.size() > 2 * kTailBytes) {
            tail_.erase(0, tail_.size() - kTailBytes);
        }
    }
    const std::string& firstLine() const { return first_; }
    std::string lastLine() const {
        std::size_t end = tail_.find_last_not_of("\r\n");
        if (end == std::string::npos) {
            return "";
        }
        const std::size_t start = tail_.rfind('\n', end);
        return tail_.substr(start == std::string::npos ? 0 : start + 1,
                            end + 1 - (start == std::string::npos ? 0 : start + 1));
    }

  private:
    std::string first_;
    bool firstLineDone_ = false;
    std::string tail_;
};

// Reads `fd` to its end or until the deadline; false when the deadline passed.
bool readUntil(int fd, std::chrono::steady_clock::time_point deadline, OutputKeeper& keeper) {
    char buffer[16384];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watched{fd, POLLIN, 0};
        if (poll(&watched, 1, static_cast<int>(left.count())) <= 0) {
            continue;  // timeout (checked above) or EINTR
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EINTR)) {
            return true;
        }
        if (got > 0) {
            keeper.take(buffer, static_cast<std::size_t>(got));
        }
    }
}

// Waits for `pid` to end, killing it when the deadline passes first.
int reap(pid_t pid, std::chrono::steady_clock::time_point deadline, bool& timedOut) {
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            return status;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace

ChildResult runLimited(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment, const ChildLimits& limits) {
    ChildResult result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return result;
    }
    std::vector<char*> arguments = pointersTo(argv);
    std::vector<char*> variables = pointersTo(environment);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(limits.wallSeconds);
    const pid_t pid = fork();
    if (pid == 0) {
        becomeChild(fds[1], arguments.data(), variables.data(), limits);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return result;
    }
    result.started = true;
    OutputKeeper keeper;
    result.timedOut = !readUntil(fds[0], deadline, keeper);
    close(fds[0]);
    const int status = reap(pid, deadline, result.timedOut);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.firstLine = keeper.firstLine();
    result.lastLine = keeper.lastLine();
    return result;
}

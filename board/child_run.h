// Running one untrusted program to completion under limits, from a
// multi-threaded server.
//
// fork, then in the child only async-signal-safe calls: standard input from
// /dev/null, standard output and error into one pipe, the signal mask and
// dispositions reset, the CPU and address-space limits set, execve with the
// given environment. Every descriptor the server opens is O_CLOEXEC, so the
// child holds none of them. The parent reads the output to its end (keeping
// its first line and the last bytes), killing the child (that pid only) when
// the wall-clock limit passes, and reaps it.
#pragma once

#include <string>
#include <vector>

struct ChildLimits {
    unsigned cpuSeconds = 2;
#ifdef QUORLAND_SANITIZED_GAME
    // A game built with AddressSanitizer reserves terabytes of address space
    // for its shadow memory and could not start under any such limit.
    unsigned long long addressSpaceBytes = 0;  // no limit
#else
    unsigned long long addressSpaceBytes = 512ull << 20;  // 0: no limit
#endif
    unsigned wallSeconds = 10;
};

struct ChildResult {
    bool started = false;   // fork and pipe worked (execve failing exits 127)
    bool timedOut = false;  // killed at the wall-clock limit
    int exitCode = -1;      // when it exited, else -1
    int signal = 0;         // the signal that ended it, else 0
    std::string firstLine;  // the first line of output (at most 4 kB)
    std::string lastLine;   // the last non-empty line (at most 64 kB)
};

// Runs argv[0] with `argv` and exactly the `environment` entries (NAME=VALUE).
ChildResult runLimited(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment, const ChildLimits& limits);

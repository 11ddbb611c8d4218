// Re-playing a submitted recording with the game's own `--verify`.
//
// The bytes go into a private temporary file (mode 0600, O_CLOEXEC, removed
// afterwards), the game runs on it under the limits of child_run.h with an
// environment of its own (HOME and XDG_DATA_HOME in a scratch folder), and
// its output decides: exit 0 with a JSON object as the last line is a
// verified run; exit 1 with an `ERROR: ` first line is a file the reader
// refuses (its message, with the temporary path replaced by
// 'submitted.replay'); anything else (a crash, a limit, no report) fails
// that one run with a message saying why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "child_run.h"

// The fields of the verifier's report the board reads. Its `best` is the
// score; nothing the client says about a score is read.
struct VerifyReport {
    std::uint32_t seed = 0;
    std::int64_t frames = 0;
    bool inStep = false;
    bool debug = false;
    bool standardSettings = false;
    double seconds = 0;  // game time of the recorded frames
    std::int64_t best = 0;
    std::optional<std::int64_t> rules;  // nothing for an unknown recorder version
    std::string json;                   // the report as printed, for GET /api/runs/ID
};

// The report in `line`, or nothing when it is not a complete one.
std::optional<VerifyReport> parseVerifyReport(const std::string& line);

struct VerifyOutcome {
    enum class Kind { Verified, Refused, Failed };
    Kind kind = Kind::Failed;
    std::string message;  // for Refused and Failed
    VerifyReport report;  // for Verified
};

// What a finished child's result means (`path` is the file it was given).
VerifyOutcome interpretVerifier(const ChildResult& result, const std::string& path);

struct VerifierSettings {
    std::string game;     // path of the quorland binary
    std::string scratch;  // folder for temporary files and the game's HOME
    ChildLimits limits;
};

VerifyOutcome verifyRecording(const VerifierSettings& settings, const std::string& bytes);

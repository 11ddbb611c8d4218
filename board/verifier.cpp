// Re-playing a submitted recording with the game's `--verify` (see verifier.h).
#include "verifier.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

const char kNeutralName[] = "submitted.replay";

// A private temporary file holding `bytes`, removed when the owner goes.
class TemporaryFile {
  public:
    TemporaryFile(const std::string& folder, const std::string& bytes) {
        std::string pattern = folder + "/run-XXXXXX.replay";
        const int fd = mkostemps(pattern.data(), 7, O_CLOEXEC);
        if (fd < 0) {
            return;
        }
        path_ = pattern;
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t step = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (step <= 0) {
                break;
            }
            written += static_cast<std::size_t>(step);
        }
        complete_ = written == bytes.size();
        close(fd);
    }
    ~TemporaryFile() {
        if (!path_.empty()) {
            unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool ok() const { return complete_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool complete_ = false;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

VerifyOutcome failed(const std::string& message) {
    return {VerifyOutcome::Kind::Failed, message, {}};
}

std::string whyFailed(const ChildResult& result) {
    if (!result.started) {
        return "the verifier could not be started";
    }
    if (result.timedOut) {
        return "the recording took too long to verify";
    }
    if (result.signal == SIGXCPU || result.signal == SIGKILL) {
        return "the recording took too much time to verify";
    }
    if (result.signal != 0) {
        return "the verifier stopped on this recording (signal " + std::to_string(result.signal) +
               ")";
    }
    if (result.exitCode == 127) {
        return "the verifier could not be started";
    }
    return "the verifier gave no report for this recording";
}

}  // namespace

std::optional<VerifyReport> parseVerifyReport(const std::string& line) {
    const json report = json::parse(line, nullptr, false);
    if (!report.is_object()) {
        return std::nullopt;
    }
    try {
        VerifyReport parsed;
        parsed.seed = report.at("seed").get<std::uint32_t>();
        parsed.frames = report.at("frames").get<std::int64_t>();
        parsed.inStep = report.at("in_step").get<bool>();
        parsed.debug = report.at("debug").get<bool>();
        parsed.standardSettings = report.at("standard_settings").get<bool>();
        parsed.seconds = report.at("seconds").get<double>();
        parsed.best = report.at("best").get<std::int64_t>();
        if (!report.at("rules").is_null()) {
            parsed.rules = report.at("rules").get<std::int64_t>();
        }
        parsed.json = report.dump();
        return parsed;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

VerifyOutcome interpretVerifier(const ChildResult& result, const std::string& path) {
    const std::string errorPrefix = "ERROR: ";
    if (result.exitCode == 1 && result.firstLine.rfind(errorPrefix, 0) == 0) {
        return {VerifyOutcome::Kind::Refused,
                replaced(result.firstLine.substr(errorPrefix.size()), path, kNeutralName),
                {}};
    }
    if (result.exitCode == 0 && !result.timedOut) {
        if (std::optional<VerifyReport> report = parseVerifyReport(result.lastLine)) {
            return {VerifyOutcome::Kind::Verified, "", *report};
        }
    }
    return failed(whyFailed(result));
}

VerifyOutcome verifyRecording(const VerifierSettings& settings, const std::string& bytes) {
    TemporaryFile file(settings.scratch, bytes);
    if (!file.ok()) {
        return failed("the recording could not be stored for verification");
    }
    const std::vector<std::string> environment = {
        "HOME=" + settings.scratch, "XDG_DATA_HOME=" + settings.scratch, "PATH=/usr/bin:/bin"};
    const ChildResult result =
        runLimited({settings.game, "--verify", file.path()}, environment, settings.limits);
    return interpretVerifier(result, file.path());
}

// Taking a submitted run (see submission.h).
#include "submission.h"

#include <sys/random.h>

#include <algorithm>

#include "replay_frames.h"
#include "rules.h"

namespace {

constexpr int kBusyRetrySeconds = 2;
constexpr int kRateRetrySeconds = 60;

// 128 random bits in hex.
std::string newToken() {
    unsigned char bytes[16];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t step = getrandom(bytes + got, sizeof bytes - got, 0);
        if (step > 0) {
            got += static_cast<std::size_t>(step);
        }
    }
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (unsigned char byte : bytes) {
        token += digits[byte >> 4];
        token += digits[byte & 15];
    }
    return token;
}

// The hashes a submission is compared by, in one pass over its frames:
// [0] of the `played` frames, [i + 1] of as many of them as stored[i] has
// (at most `played`).
std::vector<std::string> comparedHashes(const ReplayFrames& frames, std::size_t played,
                                        const std::vector<StoredRun>& stored) {
    std::vector<std::size_t> counts = {played};
    for (const StoredRun& run : stored) {
        counts.push_back(std::min(static_cast<std::size_t>(run.frames), played));
    }
    return frames.prefixHashes(counts);
}

// The token's own rules: its course, its run (an earlier submission with it
// must be the first frames of this one) and the clock.
std::optional<std::string> tokenViolation(const StartRecord& start, const VerifyReport& report,
                                          std::size_t played, const std::vector<StoredRun>& stored,
                                          const std::vector<std::string>& hashes,
                                          std::int64_t nowMs) {
    if (start.seed != report.seed) {
        return "the token is for another course";
    }
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const StoredRun& earlier = stored[i];
        if (earlier.token == start.token && (static_cast<std::size_t>(earlier.frames) > played ||
                                             hashes[i + 1] != earlier.framesHash)) {
            return "the token belongs to another run";
        }
    }
    return clockViolation(report.seconds, static_cast<double>(nowMs - start.issuedMs) / 1000.0);
}

// A stored run that makes this one a duplicate (409) or a copy of another
// name's run (422); see submission.h. A stored run longer than this one is
// only read back when the two could be duplicates (the same best score).
std::optional<Reply> conflictWith(BoardStore& store, const std::string& name,
                                  const VerifyReport& report, std::size_t played,
                                  const std::vector<StoredRun>& stored,
                                  const std::vector<std::string>& hashes) {
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const StoredRun& run = stored[i];
        bool shared = false;
        if (static_cast<std::size_t>(run.frames) <= played) {
            shared = hashes[i + 1] == run.framesHash;
        } else if (run.score == report.best) {
            std::optional<std::string> bytes = store.replay(run.id, true);
            shared = bytes && ReplayFrames(*bytes).prefixHash(played) == hashes[0];
        }
        if (shared && run.score == report.best) {
            return errorReply(409, "this run is already on the board");
        }
        if (shared && run.name != name) {
            return errorReply(422, "the run begins with another player's stored run");
        }
    }
    return std::nullopt;
}

Reply tooMany() {
    Reply reply = errorReply(429, "too many submissions from this address; wait a minute");
    reply.retryAfterSeconds = kRateRetrySeconds;
    return reply;
}

}  // namespace

Reply errorReply(int status, const std::string& message) {
    return {status, nlohmann::json{{"error", message}}, 0};
}

Reply SubmissionDesk::issueToken(const std::string& seedText, const std::string& address,
                                 std::int64_t nowMs) {
    if (!startLimiter_.allow(address, nowMs)) {
        return tooMany();
    }
    const std::optional<std::uint32_t> seed = parseSeed(seedText);
    if (!seed) {
        return errorReply(400, kBadSeed);
    }
    const StartRecord start{newToken(), *seed, nowMs};
    store_.addStart(start);
    return {201, {{"token", start.token}, {"seed", start.seed}}, 0};
}

Reply SubmissionDesk::submit(const Submission& submission) {
    if (!runLimiter_.allow(submission.address, submission.nowMs)) {
        return tooMany();
    }
    const NameCheck name = checkName(submission.name);
    if (name.error) {
        return errorReply(400, *name.error);
    }
    std::optional<StartRecord> start;
    if (submission.token) {
        start = store_.findStart(*submission.token);
        if (!start) {
            return errorReply(422, "the token is unknown");
        }
    }
    std::optional<VerifyOutcome> outcome = pool_.verify(submission.recording);
    if (!outcome) {
        Reply reply = errorReply(503, "the verifiers are busy; try again in a moment");
        reply.retryAfterSeconds = kBusyRetrySeconds;
        return reply;
    }
    switch (outcome->kind) {
        case VerifyOutcome::Kind::Refused:
            return errorReply(400, outcome->message);
        case VerifyOutcome::Kind::Failed:
            return errorReply(422, outcome->message);
        case VerifyOutcome::Kind::Verified:
            break;
    }
    return verified(submission, name.name, start, outcome->report);
}

Reply SubmissionDesk::verified(const Submission& submission, const std::string& name,
                               const std::optional<StartRecord>& start,
                               const VerifyReport& report) {
    if (std::optional<std::string> violation = reportViolation(report)) {
        return errorReply(422, *violation);
    }
    const ReplayFrames frames(submission.recording);
    const std::size_t played = std::min(
        frames.count(), static_cast<std::size_t>(std::max<std::int64_t>(report.frames, 0)));
    const std::vector<StoredRun> stored = store_.runsOfSeed(report.seed);
    const std::vector<std::string> hashes = comparedHashes(frames, played, stored);
    if (start) {
        if (std::optional<std::string> violation =
                tokenViolation(*start, report, played, stored, hashes, submission.nowMs)) {
            return errorReply(422, *violation);
        }
    }
    if (std::optional<Reply> conflict =
            conflictWith(store_, name, report, played, stored, hashes)) {
        return *conflict;
    }
    return store(submission, name, start, report, static_cast<std::int64_t>(played), hashes[0]);
}

Reply SubmissionDesk::store(const Submission& submission, const std::string& name,
                            const std::optional<StartRecord>& start, const VerifyReport& report,
                            std::int64_t frames, const std::string& framesHash) {
    NewRun run{name,   report.seed, report.best,      report.seconds, start.has_value(),   "", "",
               frames, framesHash,  submission.nowMs, report.json,    submission.recording};
    if (start) {
        run.token = start->token;
        const std::string day = utcDay(start->issuedMs);
        if (daySeed(day) == std::optional<std::uint32_t>(start->seed)) {
            run.dailyDay = day;
        }
    }
    std::optional<std::int64_t> id = store_.addRun(run);
    if (!id) {
        return errorReply(409, "this run is already on the board");
    }
    const BoardQuery entered = run.dailyDay.empty() ? BoardQuery{BoardKind::Seed, run.seed, ""}
                                                    : BoardQuery{BoardKind::Daily, 0, run.dailyDay};
    const std::int64_t rank = store_.rankOf(entered, name, run.score, run.submittedMs);
    return {201,
            {{"id", *id},
             {"name", name},
             {"seed", run.seed},
             {"score", run.score},
             {"rank", rank},
             {"live", run.live}},
            0};
}

// Taking a submitted run: every check in order, cheapest first, then the
// store. The answer is a status and a JSON body; the HTTP layer only
// carries it.
//
// Order: rate limit (429), name (400), token known (422), verification by
// the game (503 when the pool is full, 400 for a file the reader refuses,
// 422 when the verifier fails on it), the report's rules (422), the token's
// rules (422: course, same run, clock), duplicates (409: the same frames as
// a stored run with the same best; 422: a run that begins with another
// name's stored run), then the commit (201).
//
// "The same run" compares frames, not headers: a stored run R and the new
// run N are the same when one's frames are the first frames of the other's
// and their best scores are equal (so the best game ended within the frames
// both share; extra frames that did not raise the best change nothing).
// The frames compared are those the verifier played (its `frames`).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "board_store.h"
#include "rate_limiter.h"
#include "verifier_pool.h"

struct Reply {
    int status = 200;
    nlohmann::json body;
    int retryAfterSeconds = 0;  // sent as Retry-After when not 0
};
Reply errorReply(int status, const std::string& message);

struct Submission {
    std::string name;
    std::optional<std::string> token;
    std::string recording;
    std::string address;
    std::int64_t nowMs = 0;
};

class SubmissionDesk {
  public:
    // At most `perMinute` submissions, and as many tokens, a minute from
    // one address.
    SubmissionDesk(BoardStore& store, VerifierPool& pool, std::size_t perMinute)
        : store_(store), pool_(pool), runLimiter_(perMinute), startLimiter_(perMinute) {}

    Reply submit(const Submission& submission);
    // POST /api/starts: a token for a live run on `seedText`.
    Reply issueToken(const std::string& seedText, const std::string& address, std::int64_t nowMs);

  private:
    Reply verified(const Submission& submission, const std::string& name,
                   const std::optional<StartRecord>& start, const VerifyReport& report);
    Reply store(const Submission& submission, const std::string& name,
                const std::optional<StartRecord>& start, const VerifyReport& report,
                std::int64_t frames, const std::string& framesHash);

    BoardStore& store_;
    VerifierPool& pool_;
    RateLimiter runLimiter_;
    RateLimiter startLimiter_;
};

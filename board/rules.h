// The board's rules that need no database: names, days and their seeds,
// the clock check of live runs and what a verifier's report must say.
//
// Each check returns the readable reason a run or request is refused, or
// nothing when it passes; the HTTP layer chooses the status.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "verifier.h"

// A player's name after trimming white space at both ends: 1 to 16 code
// points of valid UTF-8 with no control, format (invisible) or
// direction-changing characters and no line or paragraph separators.
struct NameCheck {
    std::string name;                  // the trimmed name, when valid
    std::optional<std::string> error;  // why it is not
};
NameCheck checkName(const std::string& raw);

// "YYYY-MM-DD" of the UTC day of `ms` (milliseconds since the epoch).
std::string utcDay(std::int64_t ms);
// "YYYY-MM-DDTHH:MM:SS.mmmZ" of `ms`.
std::string utcTimestamp(std::int64_t ms);
// The course of a day is the number YYYYMMDD; nothing for a malformed day.
std::optional<std::uint32_t> daySeed(const std::string& day);

// Game seconds may be at most 5 s above the server's time since the token
// and at most max(10 s, 5 %) below it.
std::optional<std::string> clockViolation(double gameSeconds, double serverSeconds);

// The report's own rules: this game's rules, no debug mode, the shipped
// settings, every frame in step.
std::optional<std::string> reportViolation(const VerifyReport& report);

// A decimal number in [0, max], nothing otherwise.
std::optional<std::uint64_t> parseNumber(const std::string& text, std::uint64_t max);

// A course's seed given as text, nothing otherwise (answered with kBadSeed).
std::optional<std::uint32_t> parseSeed(const std::string& text);
constexpr const char* kBadSeed = "seed must be a number from 0 to 4294967295";

// Dates and times in UTC as the tables of bests and the course of the day
// use them.
//
// Everything but utcNow is a pure function of its arguments, so the rules
// (a date's seed, how a time is written) are tested with fixed times. The
// course of the day is the UTC date written as a number: every player on
// Earth plays the same course from 00:00 to 24:00 UTC, and any past day's
// course is `--seed` of its date.
#pragma once

#include <cstdint>
#include <string>

struct UtcDateTime {
    int year = 1970;
    int month = 1;  // 1 ... 12
    int day = 1;    // 1 ... 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Seconds since 1970-01-01T00:00:00Z (leap seconds not counted, as the
// system clock counts them) as a calendar date and time.
UtcDateTime utcFromUnixSeconds(std::int64_t seconds);

// The system clock's date and time, to the second.
UtcDateTime utcNow();

// The seed of the day's course: YYYYMMDD (9 December 2026 gives 20261209).
std::uint32_t dailySeed(const UtcDateTime& when);

// "2026-12-09T13:06:48Z": fixed width, so text order is time order.
std::string isoDateTime(const UtcDateTime& when);

// "20261209T130648Z": the same instant for file names.
std::string compactDateTime(const UtcDateTime& when);

#include "bests/utc_date.h"

#include <cstdio>
#include <ctime>

UtcDateTime utcFromUnixSeconds(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

UtcDateTime utcNow() {
    return utcFromUnixSeconds(static_cast<std::int64_t>(std::time(nullptr)));
}

std::uint32_t dailySeed(const UtcDateTime& when) {
    return static_cast<std::uint32_t>(when.year * 10000 + when.month * 100 + when.day);
}

std::string isoDateTime(const UtcDateTime& when) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", when.year, when.month,
                  when.day, when.hour, when.minute, when.second);
    return text;
}

std::string compactDateTime(const UtcDateTime& when) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", when.year, when.month, when.day,
                  when.hour, when.minute, when.second);
    return text;
}

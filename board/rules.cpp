// The board's rules that need no database (see rules.h).
#include "rules.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr std::size_t kMaxNameCodePoints = 16;

// Decodes strict UTF-8 (no overlongs, surrogates or values past U+10FFFF).
std::optional<std::vector<char32_t>> decodeUtf8(const std::string& text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80    ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC0 ? 1
                                         : -1;
        if (extra < 0 || lead > 0xF4 ||
            (extra > 0 && i + static_cast<std::size_t>(extra) >= text.size())) {
            return std::nullopt;
        }
        char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            point = (point << 6) | (next & 0x3F);
        }
        static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (point < smallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return std::nullopt;
        }
        points.push_back(point);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return points;
}

bool isWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// Control (Cc), format (Cf, which holds the direction marks, embeddings,
// overrides and isolates), and the line and paragraph separators.
bool isForbidden(char32_t c) {
    static const std::pair<char32_t, char32_t> ranges[] = {
        {0x0000, 0x001F},   {0x007F, 0x009F},   {0x00AD, 0x00AD},   {0x0600, 0x0605},
        {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
        {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},
        {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},
        {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3},
        {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
    };
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

std::string encodeUtf8(const std::vector<char32_t>& points) {
    std::string text;
    for (char32_t c : points) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::tm utcOf(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    return parts;
}

}  // namespace

NameCheck checkName(const std::string& raw) {
    std::optional<std::vector<char32_t>> points = decodeUtf8(raw);
    if (!points) {
        return {"", "a name must be valid UTF-8 text"};
    }
    auto first = std::find_if_not(points->begin(), points->end(), isWhiteSpace);
    auto last = std::find_if_not(points->rbegin(), points->rend(), isWhiteSpace).base();
    std::vector<char32_t> trimmed(first, first < last ? last : first);
    if (trimmed.empty() || trimmed.size() > kMaxNameCodePoints) {
        return {"", "a name must have 1 to 16 characters"};
    }
    if (std::any_of(trimmed.begin(), trimmed.end(), isForbidden)) {
        return {"", "a name must not contain control, invisible or direction characters"};
    }
    return {encodeUtf8(trimmed), std::nullopt};
}

std::string utcDay(std::int64_t ms) {
    const std::tm parts = utcOf(ms);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday);
    return text;
}

std::string utcTimestamp(std::int64_t ms) {
    const std::tm parts = utcOf(ms);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<int>(ms % 1000));
    return text;
}

std::optional<std::uint32_t> daySeed(const std::string& day) {
    unsigned year = 0, month = 0, date = 0;
    char tail = 0;
    if (day.size() != 10 || day[4] != '-' || day[7] != '-' ||
        std::sscanf(day.c_str(), "%4u-%2u-%2u%c", &year, &month, &date, &tail) != 3 || month < 1 ||
        month > 12 || date < 1 || date > 31) {
        return std::nullopt;
    }
    return year * 10000 + month * 100 + date;
}

std::optional<std::string> clockViolation(double gameSeconds, double serverSeconds) {
    if (gameSeconds > serverSeconds + 5) {
        return "the run's game time is ahead of the time since its token";
    }
    if (gameSeconds < serverSeconds - std::max(10.0, 0.05 * serverSeconds)) {
        return "the run's game time is behind the time since its token";
    }
    return std::nullopt;
}

std::optional<std::string> reportViolation(const VerifyReport& report) {
    if (report.rules != std::optional<std::int64_t>(1)) {
        return "the run was recorded by a game with other rules";
    }
    if (report.debug) {
        return "the run used debug mode";
    }
    if (!report.standardSettings) {
        return "the run was not played with the shipped settings";
    }
    if (!report.inStep) {
        return "the run's replay went out of step";
    }
    return std::nullopt;
}

std::optional<std::uint64_t> parseNumber(const std::string& text, std::uint64_t max) {
    if (text.empty() || text.size() > 19 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::uint64_t value = std::stoull(text);
    if (value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> parseSeed(const std::string& text) {
    const std::optional<std::uint64_t> seed = parseNumber(text, UINT32_MAX);
    return seed ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*seed)) : std::nullopt;
}

// The words of a replay line, below the reader's rules: a line split into
// its fields, and each field read in its one spelling (no sign "+", no
// blanks, floats as their exact bit patterns, text percent-escaped). Kept
// apart from the reader so that it holds only what each line means, and so
// that every way a field can be misspelt is refused in one place.
#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

using Fields = std::vector<std::string>;

// Splits at single blanks, keeping empty fields, so "a  b" has three.
Fields splitFields(const std::string& line);

// A whole number spelt in `base` with nothing around it: no "+", and no "-"
// in hex. False, `value` unspecified, otherwise.
template <typename Number>
bool parseNumber(const std::string& text, Number& value, int base = 10) {
    if (text.empty() || text[0] == '+' || (base == 16 && text[0] == '-')) {
        return false;
    }
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value, base);
    return result.ec == std::errc() && result.ptr == end;
}

// A decimal int within [lowest, highest].
bool parseInt(const std::string& text, int& value, int lowest, int highest);

// "0" or "1".
bool parseFlag(const std::string& text, bool& value);

// A float or double from its bit pattern: exactly 8 or 16 lower-case hex digits.
template <typename Real, typename Bits>
bool parseBits(const std::string& text, Real& value) {
    static_assert(sizeof(Real) == sizeof(Bits), "a bit pattern as wide as its value");
    Bits bits = 0;
    if (text.size() != sizeof(Bits) * 2 ||
        text.find_first_not_of("0123456789abcdef") != std::string::npos ||
        !parseNumber(text, bits, 16)) {
        return false;
    }
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

// Undoes escapeReplayText: printable ASCII but blank and "%", which starts
// two upper-case hex digits.
bool unescapeText(const std::string& escaped, std::string& text);

// A line as it may be quoted in a message: escaped and cut to 40 bytes.
std::string quotedLine(const std::string& line);

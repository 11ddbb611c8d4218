#include "replay/replay_fields.h"

#include "replay/replay_format.h"

Fields splitFields(const std::string& line) {
    Fields fields;
    std::size_t start = 0;
    for (std::size_t blank; (blank = line.find(' ', start)) != std::string::npos;
         start = blank + 1) {
        fields.push_back(line.substr(start, blank - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

bool parseInt(const std::string& text, int& value, int lowest, int highest) {
    return parseNumber(text, value) && value >= lowest && value <= highest;
}

bool parseFlag(const std::string& text, bool& value) {
    int number = 0;
    if (!parseInt(text, number, 0, 1)) {
        return false;
    }
    value = number == 1;
    return true;
}

bool unescapeText(const std::string& escaped, std::string& text) {
    text.clear();
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(escaped[i]);
        if (byte <= 0x20 || byte >= 0x7f) {
            return false;
        }
        if (byte != '%') {
            text += escaped[i];
            continue;
        }
        unsigned int code = 0;
        const std::string digits = escaped.substr(i + 1, 2);
        if (digits.size() != 2 ||
            digits.find_first_not_of("0123456789ABCDEF") != std::string::npos ||
            !parseNumber(digits, code, 16)) {
            return false;
        }
        text += static_cast<char>(code);
        i += 2;
    }
    return true;
}

std::string quotedLine(const std::string& line) {
    const std::string shown = escapeReplayText(line);
    return "'" + (shown.size() > 40 ? shown.substr(0, 40) + "..." : shown) + "'";
}

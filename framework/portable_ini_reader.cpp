#include "framework/portable_ini_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxLine = 200;         // bytes of the line buffer, terminator included
constexpr std::size_t kMaxName = 49;  // characters kept of a section or continuation name

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text;
}

std::string stripped(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Position of the first of `stops` in `text` from `from`, or of an inline
// comment (";" after a blank), or the end.
std::size_t findStopOrComment(const std::string& text, std::size_t from, const char* stops) {
    bool afterBlank = false;
    std::size_t at = from;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if ((stops != nullptr && std::strchr(stops, c) != nullptr) || (afterBlank && c == ';')) {
            break;
        }
        afterBlank = isBlank(c);
    }
    return at;
}

}  // namespace

PortableIniReader::PortableIniReader(const std::string& filename) {
    std::FILE* file = std::fopen(filename.c_str(), "r");
    if (file == nullptr) {
        error_ = -1;
        return;
    }
    parse(file);
    std::fclose(file);
}

void PortableIniReader::parse(std::FILE* file) {
    char buffer[kMaxLine];
    std::string section;
    std::string previousName;
    int lineNumber = 0;
    while (std::fgets(buffer, kMaxLine, file) != nullptr) {
        ++lineNumber;
        std::string raw(buffer);  // up to the first NUL, as a C string
        if (lineNumber == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            raw.erase(0, 3);
        }
        const bool indented = !raw.empty() && isBlank(raw[0]);
        const std::string line = stripped(raw);
        bool ok = true;
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (!previousName.empty() && indented) {
            store(section, previousName, line);  // inline comments stay in continuations
        } else if (line[0] == '[') {
            const std::size_t close = findStopOrComment(line, 1, "]");
            ok = close < line.size() && line[close] == ']';
            if (ok) {
                section = line.substr(1, std::min(close - 1, kMaxName));
                previousName.clear();
            }
        } else {
            const std::size_t separator = findStopOrComment(line, 0, "=:");
            ok = separator < line.size() && (line[separator] == '=' || line[separator] == ':');
            if (ok) {
                const std::string name = stripped(line.substr(0, separator));
                const std::size_t valueEnd = findStopOrComment(line, separator + 1, nullptr);
                store(section, name,
                      stripped(line.substr(separator + 1, valueEnd - separator - 1)));
                previousName = name.substr(0, kMaxName);
            }
        }
        if (!ok && error_ == 0) {
            error_ = lineNumber;
        }
    }
}

// A second value of the same name is appended after a line feed, unless
// the stored value is still empty.
void PortableIniReader::store(const std::string& section, const std::string& name,
                              const std::string& value) {
    std::string& stored = values_[lowercase(section + "=" + name)];
    if (!stored.empty()) {
        stored += "\n";
    }
    stored += value;
}

std::string PortableIniReader::Get(const std::string& section, const std::string& name,
                                   const std::string& defaultValue) const {
    const auto found = values_.find(lowercase(section + "=" + name));
    return found == values_.end() ? defaultValue : found->second;
}

long PortableIniReader::GetInteger(const std::string& section, const std::string& name,
                                   long defaultValue) const {
    const std::string text = Get(section, name, "");
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    return end > text.c_str() ? value : defaultValue;
}

double PortableIniReader::GetReal(const std::string& section, const std::string& name,
                                  double defaultValue) const {
    const std::string text = Get(section, name, "");
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end > text.c_str() ? value : defaultValue;
}

bool PortableIniReader::GetBoolean(const std::string& section, const std::string& name,
                                   bool defaultValue) const {
    const std::string text = lowercase(Get(section, name, ""));
    if (text == "true" || text == "yes" || text == "on" || text == "1") {
        return true;
    }
    if (text == "false" || text == "no" || text == "off" || text == "0") {
        return false;
    }
    return defaultValue;
}

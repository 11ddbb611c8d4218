#include "support/console_capture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> linesAfterStartup(const std::vector<std::string>& lines) {
    const auto lastShader =
        std::find_if(lines.rbegin(), lines.rend(),
                     [](const std::string& line) { return line.rfind("Read shader: ", 0) == 0; });
    return std::vector<std::string>(lastShader.base(), lines.end());
}

void routeConsoleForDeathTest() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (std::freopen("/dev/null", "r", stdin) == nullptr) {
        std::perror("freopen");
    }
}

std::string regexEscape(const std::string& text) {
    // gtest's simple regex syntax on POSIX is ERE.
    static const std::string special = "\\^$.|?*+()[]{}";
    std::string escaped;
    for (char c : text) {
        if (special.find(c) != std::string::npos) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

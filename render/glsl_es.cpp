#include "render/glsl_es.h"

#include <sstream>

namespace {

const char* const kEsHeader = "#version 300 es\nprecision highp float;\nprecision highp int;\n";

bool startsWith(const std::string& text, std::size_t at, const std::string& prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

// "uniform vec3 tint = vec3(1.0);" becomes "uniform vec3 tint;".
std::string withoutInitialiser(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || !startsWith(line, start, "uniform ")) {
        return line;
    }
    const std::size_t equals = line.find('=', start);
    const std::size_t semicolon = line.find(';', start);
    if (equals == std::string::npos || semicolon == std::string::npos || semicolon < equals) {
        return line;
    }
    const std::size_t declarationEnd = line.find_last_not_of(" \t", equals - 1);
    return line.substr(0, declarationEnd + 1) + line.substr(semicolon);
}

}  // namespace

std::string toGlslEs300(const std::string& desktopSource) {
    std::istringstream lines(desktopSource);
    std::string line;
    std::string out = kEsHeader;
    bool first = true;
    while (std::getline(lines, line)) {
        if (first) {
            first = false;
            const std::size_t start = line.find_first_not_of(" \t");
            if (start != std::string::npos && startsWith(line, start, "#version")) {
                out += "#line 2\n";
                continue;
            }
            out += "#line 1\n";
        }
        out += withoutInitialiser(line);
        out += '\n';
    }
    return out;
}

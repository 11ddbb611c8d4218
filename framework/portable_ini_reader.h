// An INI reader with inih's INIReader rules, in portable C++ only.
//
// The browser build has no inih library, so it reads the settings with this
// class instead (web/include/INIReader.h names it INIReader there). It
// follows the stream parser and the look-ups of the inih release the desktop
// uses, default options: lines read through a 200-byte buffer (a longer line
// is read as several), an optional UTF-8 byte-order mark, ";" and "#"
// comments, inline ";" comments after a blank, "=" or ":", indented
// continuation lines (which keep inline comments), section and continuation names cut to 49
// characters, the first bad line's number as the parse result. The native test suite runs the same
// files through both readers and expects the same answers.
#pragma once

#include <cstdio>
#include <map>
#include <string>

class PortableIniReader {
  public:
    // Parses the file at `filename` (opened with fopen, "r"); the parse
    // result is -1 when it cannot be opened.
    explicit PortableIniReader(const std::string& filename);

    // 0, the number of the first line that did not parse, or -1.
    int ParseError() const { return error_; }

    std::string Get(const std::string& section, const std::string& name,
                    const std::string& defaultValue) const;
    long GetInteger(const std::string& section, const std::string& name, long defaultValue) const;
    double GetReal(const std::string& section, const std::string& name, double defaultValue) const;
    bool GetBoolean(const std::string& section, const std::string& name, bool defaultValue) const;

  private:
    void parse(std::FILE* file);
    void store(const std::string& section, const std::string& name, const std::string& value);

    int error_ = 0;
    std::map<std::string, std::string> values_;  // "section=name", lowercased
};

// One INI settings file, read once and queried with defaults.
//
// Parsing and the look-up rules are inih's INIReader (sections and names are
// case-insensitive, integers in automatic base, booleans true/yes/on/1 and
// false/no/off/0). What this class adds is where the file comes from (the
// asset search) and the one line printed when it cannot be read: settings
// never stop the game, a missing file just means defaults.
#pragma once

#include <INIReader.h>

#include <optional>
#include <string>

// The line printed for a settings file that cannot be read.
std::string missingSettingsMessage(const std::string& relativePath);

class SettingsReader {
  public:
    // `relativePath` is looked up with findAssetFile; the missing-file line
    // names it exactly as given here.
    explicit SettingsReader(const std::string& relativePath);

    // 0 when the whole file parsed, the first bad line's number when one did
    // not, -1 when the file was not found or could not be opened.
    int ParseError() const { return parseError_; }

    std::string Get(const std::string& section, const std::string& name,
                    const std::string& defaultValue) const;
    long GetInteger(const std::string& section, const std::string& name, long defaultValue) const;
    double GetReal(const std::string& section, const std::string& name, double defaultValue) const;
    bool GetBoolean(const std::string& section, const std::string& name, bool defaultValue) const;

  private:
    std::optional<INIReader> reader_;  // empty when the file was not found
    int parseError_ = -1;
};

#include "framework/settings_reader.h"

#include "framework/asset_path.h"
#include "framework/console.h"

SettingsReader::SettingsReader(const std::string& relativePath) {
    const std::string resolved = findAssetFile(relativePath);
    if (!resolved.empty()) {
        reader_.emplace(resolved);
        parseError_ = reader_->ParseError();
    }
    if (parseError_ < 0) {
        printLine(missingSettingsMessage(relativePath));
    }
}

std::string missingSettingsMessage(const std::string& relativePath) {
    return "ERROR: Failed to load '" + relativePath + "'. Using default values instead.";
}

std::string SettingsReader::Get(const std::string& section, const std::string& name,
                                const std::string& defaultValue) const {
    return reader_ ? reader_->Get(section, name, defaultValue) : defaultValue;
}

long SettingsReader::GetInteger(const std::string& section, const std::string& name,
                                long defaultValue) const {
    return reader_ ? reader_->GetInteger(section, name, defaultValue) : defaultValue;
}

double SettingsReader::GetReal(const std::string& section, const std::string& name,
                               double defaultValue) const {
    return reader_ ? reader_->GetReal(section, name, defaultValue) : defaultValue;
}

bool SettingsReader::GetBoolean(const std::string& section, const std::string& name,
                                bool defaultValue) const {
    return reader_ ? reader_->GetBoolean(section, name, defaultValue) : defaultValue;
}

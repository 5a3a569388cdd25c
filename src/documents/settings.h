#pragma once
#include <cstdint>
#include <string>

constexpr const char* SETTINGS_FILE_NAME = "corvantakeys.qvxconfig";
constexpr int32_t MAX_STORED_PATH_LENGTH = 259;

// The configuration file beside the executable: a 4-byte settings word
// (bit 0 continuousSelect, bit 1 runByDefault), the 4-byte length N of the
// last file's path, then its N characters when 1 <= N <= 259.
struct ProgramSettings {
    std::string settingsPath;
    bool continuousSelect = false;
    bool runByDefault = false;
    std::string lastFilePath;
    int32_t lastFileLength = 0;
};

extern ProgramSettings programSettings;

// Forgets the last file, then puts the settings file beside the executable
// (after the last '/' or '\'; the bare name when there is none).
void locateSettings(ProgramSettings& settings, const std::string& executablePath);
// True when the file could be opened. A file that ends early leaves what no
// read filled at its default; a stored name is cut at a NUL, and its length
// with it.
bool loadSettings(ProgramSettings& settings);
// False when the file could not be written completely; the old one then stays.
bool saveSettings(const ProgramSettings& settings);
void rememberLastFile(ProgramSettings& settings, const std::string& filePath);
// Also turns runByDefault off.
void forgetLastFile(ProgramSettings& settings);

#include "documents/settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "documents/safe_write.h"

ProgramSettings programSettings;

namespace {

constexpr uint32_t CONTINUOUS_SELECT_BIT = 1u << 0;
constexpr uint32_t RUN_BY_DEFAULT_BIT = 1u << 1;

bool storesName(int32_t length)
{
    return length >= 1 && length <= MAX_STORED_PATH_LENGTH;
}

// False when the file ended before all four bytes came.
bool readWord(std::FILE* file, uint32_t& word)
{
    uint8_t bytes[4];
    if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes)
        return false;
    word = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

void appendWord(std::vector<uint8_t>& bytes, uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

// Each field is taken whole or not at all; the caller has put the defaults
// in place, so a file that ends early leaves the rest at them.
void readSettingsFields(std::FILE* file, ProgramSettings& settings)
{
    uint32_t switches = 0;
    if (!readWord(file, switches))
        return;
    settings.continuousSelect = (switches & CONTINUOUS_SELECT_BIT) != 0;
    settings.runByDefault = (switches & RUN_BY_DEFAULT_BIT) != 0;

    uint32_t word = 0;
    if (!readWord(file, word))
        return;
    const int32_t length = static_cast<int32_t>(word);
    if (!storesName(length)) {
        settings.lastFileLength = length;
        return;
    }

    // A name cut short by the end of the file is no name: no last file, length 0.
    std::string name(static_cast<size_t>(length), '\0');
    if (std::fread(&name[0], 1, name.size(), file) != name.size())
        return;
    // A NUL ends the name; the length follows so that the two stay in step.
    name.resize(std::min(name.find('\0'), name.size()));
    settings.lastFileLength = static_cast<int32_t>(name.size());
    settings.lastFilePath = std::move(name);
}

}  // namespace

void locateSettings(ProgramSettings& settings, const std::string& executablePath)
{
    forgetLastFile(settings);
    const size_t separator = executablePath.find_last_of("/\\");
    const std::string directory = separator == std::string::npos ? "" : executablePath.substr(0, separator + 1);
    settings.settingsPath = directory + SETTINGS_FILE_NAME;
}

bool loadSettings(ProgramSettings& settings)
{
    std::FILE* file = std::fopen(settings.settingsPath.c_str(), "rb");
    if (!file)
        return false;
    settings.continuousSelect = false;
    settings.runByDefault = false;
    settings.lastFilePath.clear();
    settings.lastFileLength = 0;
    readSettingsFields(file, settings);
    std::fclose(file);
    return true;
}

bool saveSettings(const ProgramSettings& settings)
{
    std::vector<uint8_t> bytes;
    appendWord(bytes, (settings.continuousSelect ? CONTINUOUS_SELECT_BIT : 0) |
                          (settings.runByDefault ? RUN_BY_DEFAULT_BIT : 0));
    appendWord(bytes, static_cast<uint32_t>(settings.lastFileLength));
    if (storesName(settings.lastFileLength)) {
        const size_t count = std::min(static_cast<size_t>(settings.lastFileLength), settings.lastFilePath.size());
        bytes.insert(bytes.end(), settings.lastFilePath.begin(), settings.lastFilePath.begin() + count);
    }
    return writeFileReplacing(settings.settingsPath, bytes.data(), bytes.size());
}

void rememberLastFile(ProgramSettings& settings, const std::string& filePath)
{
    settings.lastFilePath = filePath;
    settings.lastFileLength = static_cast<int32_t>(filePath.size());
}

void forgetLastFile(ProgramSettings& settings)
{
    settings.lastFilePath.clear();
    settings.lastFileLength = 0;
    settings.runByDefault = false;
}

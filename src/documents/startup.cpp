#include "documents/startup.h"

#include "documents/key_file.h"

namespace {

// A stored name of 259 characters is kept but not reopened.
constexpr int32_t MAX_REOPENED_PATH_LENGTH = MAX_STORED_PATH_LENGTH - 1;

}  // namespace

std::string reopenLastDocument(ProgramSettings& settings, KeyTable& table, const std::string& executablePath)
{
    table.resetToDefaults();
    // Both switches start off, whatever the record held before.
    settings = ProgramSettings{};
    locateSettings(settings, executablePath);
    if (!loadSettings(settings))
        return "";
    std::string filePath;
    if (settings.lastFileLength >= 1 && settings.lastFileLength <= MAX_REOPENED_PATH_LENGTH)
        filePath = settings.lastFilePath;
    if (filePath.empty() || !readKeyFile(filePath, table)) {
        forgetLastFile(settings);
        return "";
    }
    return filePath;
}

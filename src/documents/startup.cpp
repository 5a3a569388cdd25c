#include "documents/startup.h"

#include "documents/key_file.h"

bool loadStartupSettings(ProgramSettings& settings, KeyTable& table, const std::string& executablePath)
{
    table.resetToDefaults();
    // Both switches start off, whatever the record held before.
    settings = ProgramSettings{};
    locateSettings(settings, executablePath);
    return loadSettings(settings);
}

std::string reopenLastDocument(ProgramSettings& settings, KeyTable& table, const std::string& executablePath)
{
    if (!loadStartupSettings(settings, table, executablePath))
        return "";
    // Every name the file can store (1 to 259 characters) is reopened.
    const std::string filePath = settings.lastFilePath;
    if (filePath.empty() || !readKeyFile(filePath, table)) {
        forgetLastFile(settings);
        return "";
    }
    return filePath;
}

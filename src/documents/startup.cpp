#include "documents/startup.h"

#include "documents/key_file.h"

void loadStartupSettings(ProgramSettings& settings, KeyTable& table, const std::string& executablePath)
{
    table.resetToDefaults();
    // Both switches start off, whatever the record held before.
    settings = ProgramSettings{};
    locateSettings(settings, executablePath);
    loadSettings(settings);
}

std::string reopenLastFile(ProgramSettings& settings, KeyTable& table)
{
    // A stored length that brought no name remembers nothing.
    if (settings.lastFilePath.empty())
        settings.lastFileLength = 0;
    // Every name the file can store (1 to 259 characters) is reopened. One
    // that cannot be read now (a drive not plugged in, a folder renamed)
    // stays remembered, and runByDefault with it, as stored.
    const std::string filePath = settings.lastFilePath;
    if (filePath.empty() || !readKeyFile(filePath, table))
        return "";
    return filePath;
}

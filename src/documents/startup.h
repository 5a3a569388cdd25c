#pragma once
#include <string>

#include "documents/settings.h"
#include "model/key_table.h"

// Resets the table, then locates and loads the settings beside the
// executable; without a settings file the defaults stand.
void loadStartupSettings(ProgramSettings& settings, KeyTable& table, const std::string& executablePath);

// Reopens the last key code file the settings name. Returns the path of the
// reopened document, or "" when there is none; the settings keep the
// remembered path and runByDefault as stored either way. The configuration
// file is never written here.
std::string reopenLastFile(ProgramSettings& settings, KeyTable& table);

#pragma once
#include <string>

#include "documents/settings.h"
#include "model/key_table.h"

// The start-up decisions before the editor is refreshed: reset the table,
// locate and load the settings and reopen the last key code file. Returns the
// path of the reopened document, or "" when there is none; in that case a
// last file that failed to open has been forgotten (and runByDefault with
// it). The configuration file is never written here.
std::string reopenLastDocument(ProgramSettings& settings, KeyTable& table, const std::string& executablePath);

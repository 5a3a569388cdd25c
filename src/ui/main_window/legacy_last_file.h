#pragma once
#include "documents/settings.h"

// Paths travel as UTF-8 through the program, but settings written by an
// earlier version hold the last file's path in the system's legacy ANSI code
// page: a remembered path that is not valid UTF-8 is converted from that
// code page, and forgotten when it cannot be or no longer fits. A process
// the system does not run in UTF-8 (Windows before 1903) keeps it as it is.
void convertLegacyLastFile(ProgramSettings& settings);

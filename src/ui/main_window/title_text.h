#pragma once
#include <string>

#include "version.h"

constexpr const char* BASE_TITLE = "Corvanta Key Press Emulator";
constexpr const char* versionText = CORVANTA_VERSION_TEXT;

// The text after the last '/', then after the last '\' of that; a path
// without either is taken whole.
std::string fileNameOf(const std::string& path);

// "<base> [*name] - Connected"; no brackets while the document is unnamed,
// and the '*' only for a modified named document. connectResult 1 means
// connected.
std::string composeTitle(const std::string& filePath, bool modified, int connectResult);

// "Oct  8 2020" (the compiler's 11-character date) -> "October 8, 2020".
std::string buildDateText(const std::string& compilerDate);
// The date this program was built.
std::string buildDateText();

// The four lines of the About box.
std::string aboutText(const std::string& dateText);

#pragma once
#include <string>

constexpr int MAX_PATH_LENGTH = 259;

// The document being edited is the live KeyTable; this is its name (empty:
// unnamed) and whether it holds changes not yet written.
struct DocumentState {
    std::string filePath;
    bool modified = false;
};

extern DocumentState documentState;

#include "documents/safe_write.h"

#include <cstdio>

// rename replaces an existing file atomically.
bool replaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

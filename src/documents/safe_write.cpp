#include "documents/safe_write.h"

#include <cstdio>

std::string temporaryPathFor(const std::string& path, unsigned long long attempt)
{
    // A drive letter's colon ends the folder part as a separator does.
    const size_t separator = path.find_last_of("/\\:");
    const size_t nameLength = separator == std::string::npos ? path.size() : path.size() - separator - 1;
    const std::string ending = attempt == 0 ? "~" : "~" + std::to_string(attempt);
    if (nameLength < ending.size())
        return "";
    return path.substr(0, path.size() - ending.size()) + ending;
}

// Every name tried is either taken, and passed over, or ours from its
// creation on; the candidates end when the file name cannot hold the next
// ending.
bool writeFileReplacing(const std::string& path, const void* data, size_t size)
{
    for (unsigned long long attempt = 0;; ++attempt) {
        const std::string temporary = temporaryPathFor(path, attempt);
        if (temporary.empty())
            return false;
        if (temporary == path)  // a target ending in "~" or "~1" is never its own temporary
            continue;
        switch (writeNewFile(temporary, data, size)) {
        case NewFileResult::NAME_TAKEN:
            continue;
        case NewFileResult::FAILED:
            return false;
        case NewFileResult::WRITTEN:
            if (replaceFile(temporary, path))
                return true;
            std::remove(temporary.c_str());
            return false;
        }
    }
}

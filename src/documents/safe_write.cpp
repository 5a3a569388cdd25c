#include "documents/safe_write.h"

#include <cstdio>

std::string temporaryPathFor(const std::string& path)
{
    if (path.empty() || path.back() == '/' || path.back() == '\\')
        return "";
    std::string temporary = path;
    temporary.back() = temporary.back() == '~' ? '#' : '~';
    return temporary;
}

bool writeFileReplacing(const std::string& path, const void* data, size_t size)
{
    const std::string temporary = temporaryPathFor(path);
    if (temporary.empty())
        return false;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && replaceFile(temporary, path))
        return true;
    std::remove(temporary.c_str());
    return false;
}

#include "ui/shell/hand_over.h"

#include <cstring>

#include "documents/document_state.h"

bool readHandOver(uintptr_t tag, const void* data, size_t size, std::string& path)
{
    if (tag != HAND_OVER_TAG || data == nullptr || size == 0 || size > MAX_PATH_LENGTH + 1)
        return false;
    const char* text = static_cast<const char*>(data);
    if (std::memchr(text, '\0', size) != text + size - 1)
        return false;
    path.assign(text, size - 1);
    return true;
}

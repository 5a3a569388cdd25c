#include "documents/safe_write.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool writeAll(int file, const void* data, size_t size)
{
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(file, next, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

// O_EXCL refuses any existing name, a dangling link included, so nothing
// is ever written through another file. The data reaches the disk before
// the file is closed, so that the rename that follows can never put a file
// the disk does not hold yet in place of the old one.
NewFileResult writeNewFile(const std::string& path, const void* data, size_t size)
{
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0)
        return errno == EEXIST ? NewFileResult::NAME_TAKEN : NewFileResult::FAILED;
    bool written = writeAll(file, data, size) && fsync(file) == 0;
    written = close(file) == 0 && written;
    if (written)
        return NewFileResult::WRITTEN;
    unlink(path.c_str());
    return NewFileResult::FAILED;
}

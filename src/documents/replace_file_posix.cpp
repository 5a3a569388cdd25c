#include "documents/safe_write.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The rename itself reaches the disk only with its folder. Some file
// systems refuse to sync a folder; the file is replaced all the same.
void syncFolderOf(const std::string& path)
{
    const size_t separator = path.find_last_of('/');
    const std::string folder = separator == std::string::npos ? "." : path.substr(0, separator + 1);
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    fsync(handle);
    close(handle);
}

}  // namespace

// rename replaces an existing file atomically.
bool replaceFile(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    syncFolderOf(to);
    return true;
}

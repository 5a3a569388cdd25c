#include "documents/file_api.h"
#include "documents/safe_write.h"

// The C library's rename refuses an existing target on Windows. The move
// returns only once it is on the disk.
bool replaceFile(const std::string& from, const std::string& to)
{
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return activeFileApi().MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
}

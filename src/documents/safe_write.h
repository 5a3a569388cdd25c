#pragma once
#include <cstddef>
#include <string>

// Writes the bytes to a new temporary file beside the target and replaces the
// target only when every write and the close succeeded. The temporary file is
// created only under a name no file has, so no other file is ever written or
// removed; a name that is taken, by a file left behind or by another program
// saving at the same moment, is passed over for the next. On failure the old
// file is left as it was and the result is false.
bool writeFileReplacing(const std::string& path, const void* data, size_t size);

// Candidate `attempt` (0, 1, 2, ...) for the temporary file of `path`: the
// same folder and the same length, so that a target that fits the platform's
// path limit never has a temporary that does not. The first turns the last
// character into '~', later ones end in '~' and the attempt's number ("~1",
// "~2", ...). Empty when the file name is too short to hold that ending, or
// when `path` names no file (empty, or ending in a separator).
std::string temporaryPathFor(const std::string& path, unsigned long long attempt);

enum class NewFileResult { WRITTEN, NAME_TAKEN, FAILED };

// The platform's exclusive create: makes `path` only when nothing of that
// name exists and writes the bytes to it. NAME_TAKEN when something has the
// name; FAILED for any other failure, after which no file of ours remains.
NewFileResult writeNewFile(const std::string& path, const void* data, size_t size);

// The platform's replace step: moves `from` over `to`, replacing it.
// Paths are passed on as 8-bit text, never re-encoded.
bool replaceFile(const std::string& from, const std::string& to);

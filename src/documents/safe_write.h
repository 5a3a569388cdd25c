#pragma once
#include <cstddef>
#include <string>

// Writes the bytes to a temporary file beside the target and replaces the
// target only when every write, the flush and the close succeeded. On failure
// the temporary file is removed, the old file is left as it was and the
// result is false.
bool writeFileReplacing(const std::string& path, const void* data, size_t size);

// The temporary file used for `path`: same directory and same length, with
// the last character turned into '~' ('#' when it already is '~'), so that a
// target that fits the platform's path limit never has a temporary that does
// not. Empty when `path` names no file (empty, or ending in a separator).
std::string temporaryPathFor(const std::string& path);

// The platform's replace step: moves `from` over `to`, replacing it.
// Paths are passed on as 8-bit text, never re-encoded.
bool replaceFile(const std::string& from, const std::string& to);

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A second start of the program hands its key code file to the instance
// already running, as WM_COPYDATA to that instance's main window: dwData is
// HAND_OVER_TAG, the data the file's full path with its terminating NUL, or
// the NUL alone when the start named no file. Either way the running window
// comes to the front.
constexpr uintptr_t HAND_OVER_TAG = 0x4B565843;  // "CXVK"

// The path a hand-over carries; false when the message is none: another
// tag, no data, more than a path can hold (MAX_PATH_LENGTH characters), or a
// size other than the text's length plus its terminating NUL. The message
// may come from any process, so nothing beyond `size` bytes is read.
bool readHandOver(uintptr_t tag, const void* data, size_t size, std::string& path);

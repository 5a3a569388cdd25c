#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

// An edit control tied to one integer setting kept within [minimum, maximum].
// What the user types is taken over only at a commit (the field losing the
// focus, every refresh of the editor), which also rewrites the text in its
// canonical decimal form.
class BoundedIntField {
public:
    void bind(int id, HWND window, int32_t minimum, int32_t maximum, int32_t value, std::atomic<int32_t>& target);
    // Reads the text, parses, clamps, and writes the result to the text,
    // to value and to the target.
    void commit();
    // Shows the target's current value, then commits it: a target outside
    // the range is pulled to the nearest bound and written back.
    void showTarget();

    int id = 0;
    HWND window = nullptr;
    int32_t value = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    std::atomic<int32_t>* target = nullptr;
};

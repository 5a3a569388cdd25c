#include "ui/editor/bounded_int_field.h"

#include "ui/editor/bounded_int_text.h"

void BoundedIntField::bind(int id, HWND window, int32_t minimum, int32_t maximum, int32_t value,
                           std::atomic<int32_t>& target)
{
    this->id = id;
    this->window = window;
    this->minimum = minimum;
    this->maximum = maximum;
    this->value = value;
    this->target = &target;
}

void BoundedIntField::commit()
{
    char text[BOUNDED_INT_TEXT_LIMIT + 1] = {};
    GetWindowTextA(window, text, sizeof text);
    const int32_t result = clampToRange(parseIntText(text), minimum, maximum);
    SetWindowTextA(window, decimalText(result).c_str());
    value = result;
    // The whole value: cutting it to 16 bits would make the target disagree
    // with the field for any range beyond 16 bits.
    target->store(result, std::memory_order_relaxed);
}

void BoundedIntField::showTarget()
{
    SetWindowTextA(window, decimalText(target->load(std::memory_order_relaxed)).c_str());
    commit();
}

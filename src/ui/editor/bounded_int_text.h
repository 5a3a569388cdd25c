#pragma once
#include <cstdint>
#include <string>

// How the steps field reads what the user typed.
// The field is read into a 10-character buffer, so at most 9 characters count.
constexpr int BOUNDED_INT_TEXT_LIMIT = 9;

// Stream extraction of a signed decimal integer from the first 9 characters:
// leading blanks skipped, an optional sign, digits up to the first non-digit.
// Text that does not begin with a number reads as 0.
int32_t parseIntText(const std::string& text);

int32_t clampToRange(int32_t value, int32_t minimum, int32_t maximum);

// The canonical text of a value: plain decimal, a minus sign when negative.
std::string decimalText(int32_t value);

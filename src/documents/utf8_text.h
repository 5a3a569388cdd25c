#pragma once
#include <string>

// True when the text is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool isValidUtf8(const std::string& text);

#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/key_table.h"

// A key code file is a 157-byte little-endian image of the KeyTable:
// buttonKeys (128 bytes), pulseEnabled (1), cycleSteps (4), axisKeys (24).
constexpr int KEY_FILE_SIZE = 157;
using KeyFileImage = std::array<uint8_t, KEY_FILE_SIZE>;

KeyFileImage keyFileImage(const KeyTable& table);

// False when the file could not be written completely; the previous file is
// then untouched.
bool writeKeyFile(const std::string& filePath, const KeyTable& table);

// Reads the file as a whole table, which then replaces the table's fields
// one by one. A short file fills the fields it covers (a field cut by the
// end takes the bytes it got as its low-order bytes) and leaves every other
// field empty: no key, pulse off, 6 steps. Bytes after the 157th are
// ignored. The number of bytes read, at most 157; none when the file cannot
// be opened, and the table is then unchanged.
std::optional<size_t> readKeyFile(const std::string& filePath, KeyTable& table);

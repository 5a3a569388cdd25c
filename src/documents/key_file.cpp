#include "documents/key_file.h"

#include <cstdio>
#include <type_traits>

#include "documents/safe_write.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

template <typename T>
size_t putLittleEndian(KeyFileImage& image, size_t offset, T value)
{
    using Bits = std::make_unsigned_t<T>;
    const Bits bits = static_cast<Bits>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        image[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
    return offset + sizeof(T);
}

// Reads one field into the live table. A read cut short by the end of the
// file lays the bytes it got over the field's low-order bytes and keeps the
// rest, so nothing is stored that the read did not fill. False when cut short.
template <typename T>
bool readField(std::FILE* file, std::atomic<T>& field)
{
    using Bits = std::make_unsigned_t<T>;
    uint8_t bytes[sizeof(T)];
    const size_t got = std::fread(bytes, 1, sizeof(T), file);
    if (got == 0)
        return false;
    Bits bits = static_cast<Bits>(field.load(relaxed));
    for (size_t i = 0; i < got; ++i) {
        bits = static_cast<Bits>(bits & ~(Bits(0xFF) << (8 * i)));
        bits = static_cast<Bits>(bits | (Bits(bytes[i]) << (8 * i)));
    }
    field.store(static_cast<T>(bits), relaxed);
    return got == sizeof(T);
}

}  // namespace

KeyFileImage keyFileImage(const KeyTable& table)
{
    KeyFileImage image{};
    size_t offset = 0;
    for (const KeyCell& cell : table.buttonKeys)
        offset = putLittleEndian(image, offset, cell.load(relaxed));
    offset = putLittleEndian(image, offset, table.pulseEnabled.load(relaxed));
    offset = putLittleEndian(image, offset, table.cycleSteps.load(relaxed));
    for (const KeyCell& cell : table.axisKeys)
        offset = putLittleEndian(image, offset, cell.load(relaxed));
    return image;
}

bool writeKeyFile(const std::string& filePath, const KeyTable& table)
{
    const KeyFileImage image = keyFileImage(table);
    return writeFileReplacing(filePath, image.data(), image.size());
}

bool readKeyFile(const std::string& filePath, KeyTable& table)
{
    std::FILE* file = std::fopen(filePath.c_str(), "rb");
    if (!file)
        return false;
    // Once a read meets the end of the file, no later field is touched.
    bool complete = true;
    auto read = [&](auto& field) {
        if (complete)
            complete = readField(file, field);
    };
    for (KeyCell& cell : table.buttonKeys)
        read(cell);
    read(table.pulseEnabled);
    read(table.cycleSteps);
    for (KeyCell& cell : table.axisKeys)
        read(cell);
    std::fclose(file);
    return true;
}

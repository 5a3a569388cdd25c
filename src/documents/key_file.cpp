#include "documents/key_file.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "documents/safe_write.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// The table's fields in file order.
template <typename Table, typename Visit>
void forEachField(Table& table, Visit visit)
{
    for (auto& cell : table.buttonKeys)
        visit(cell);
    visit(table.pulseEnabled);
    visit(table.cycleSteps);
    for (auto& cell : table.axisKeys)
        visit(cell);
}

template <typename T>
size_t putLittleEndian(KeyFileImage& image, size_t offset, T value)
{
    using Bits = std::make_unsigned_t<T>;
    const Bits bits = static_cast<Bits>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        image[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
    return offset + sizeof(T);
}

// Stores one field whole: the worker reads the table while it is loaded.
template <typename T>
size_t takeLittleEndian(const KeyFileImage& image, size_t offset, std::atomic<T>& field)
{
    using Bits = std::make_unsigned_t<T>;
    Bits bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        bits = static_cast<Bits>(bits | Bits(image[offset + i]) << (8 * i));
    field.store(static_cast<T>(bits), relaxed);
    return offset + sizeof(T);
}

}  // namespace

KeyFileImage keyFileImage(const KeyTable& table)
{
    KeyFileImage image{};
    size_t offset = 0;
    forEachField(table, [&](const auto& field) { offset = putLittleEndian(image, offset, field.load(relaxed)); });
    return image;
}

bool writeKeyFile(const std::string& filePath, const KeyTable& table)
{
    const KeyFileImage image = keyFileImage(table);
    return writeFileReplacing(filePath, image.data(), image.size());
}

std::optional<size_t> readKeyFile(const std::string& filePath, KeyTable& table)
{
    std::FILE* file = std::fopen(filePath.c_str(), "rb");
    if (!file)
        return std::nullopt;
    uint8_t bytes[KEY_FILE_SIZE];
    const size_t length = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    // What a short file lacks comes from an empty table; a field cut by the
    // end takes the bytes it got as its low-order bytes.
    KeyFileImage image = keyFileImage(KeyTable{});
    std::copy(bytes, bytes + length, image.begin());
    size_t offset = 0;
    forEachField(table, [&](auto& field) { offset = takeLittleEndian(image, offset, field); });
    return length;
}

#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Gives every test its own empty folder, so parallel runs never meet, and
// removes it afterwards. Files are handled through 8-bit paths in UTF-8 and
// the C library, as the program does.
class TempFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::path(testing::TempDir()) /
                  (std::string(info->test_suite_name()) + "." + info->name() + "." + std::to_string(ticks));
        std::filesystem::create_directories(folder_);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string path(const std::string& name) const { return (folder_ / std::filesystem::u8path(name)).u8string(); }

    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void makeFolder(const std::string& name) const { std::filesystem::create_directory(folder_ / name); }

    std::filesystem::path folder_;
};

inline void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    if (!bytes.empty()) {
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    ASSERT_EQ(std::fclose(file), 0);
}

// The whole file; empty when it cannot be opened.
inline Bytes readBytes(const std::string& path)
{
    Bytes bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    uint8_t buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return bytes;
}

inline bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

inline void appendLittleEndian32(Bytes& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void appendText(Bytes& bytes, const std::string& text)
{
    bytes.insert(bytes.end(), text.begin(), text.end());
}

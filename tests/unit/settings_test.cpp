#include <random>

#include "documents/safe_write.h"
#include "documents/settings.h"
#include "documents/utf8_text.h"
#include "temp_folder.h"

namespace {

Bytes settingsBytes(uint32_t word, int32_t length, const std::string& name = "")
{
    Bytes bytes;
    appendLittleEndian32(bytes, word);
    appendLittleEndian32(bytes, static_cast<uint32_t>(length));
    appendText(bytes, name);
    return bytes;
}

// Settings that differ from the defaults in every loaded field.
void fillWithNonDefaults(ProgramSettings& settings)
{
    settings.continuousSelect = true;
    settings.runByDefault = true;
    settings.lastFilePath = "stale.qvxkeys";
    settings.lastFileLength = 13;
}

void expectDefaults(const ProgramSettings& settings)
{
    EXPECT_FALSE(settings.continuousSelect);
    EXPECT_FALSE(settings.runByDefault);
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);
}

class SettingsFileTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        settings.settingsPath = path(SETTINGS_FILE_NAME);
    }

    Bytes saved()
    {
        EXPECT_TRUE(saveSettings(settings));
        return readBytes(settings.settingsPath);
    }

    void load(const Bytes& bytes)
    {
        writeBytes(settings.settingsPath, bytes);
        fillWithNonDefaults(settings);
        EXPECT_TRUE(loadSettings(settings));
    }

    ProgramSettings settings;
};

}  // namespace

using SettingsWrite = SettingsFileTest;

TEST_F(SettingsWrite, ExamplesMatchByteForByte)
{
    settings.continuousSelect = true;
    rememberLastFile(settings, "C:\\keys\\a.qvxkeys");
    EXPECT_EQ(saved(), settingsBytes(0x01, 17, "C:\\keys\\a.qvxkeys"));
    EXPECT_EQ(saved().size(), 25u);

    settings.continuousSelect = false;
    settings.runByDefault = true;
    rememberLastFile(settings, "D:\\maps\\readme.qvxkeys");
    EXPECT_EQ(saved(), settingsBytes(0x02, 22, "D:\\maps\\readme.qvxkeys"));
    EXPECT_EQ(saved().size(), 30u);
}

TEST_F(SettingsWrite, WordCarriesOnlyTheTwoSwitches)
{
    EXPECT_EQ(saved(), settingsBytes(0x00, 0));
    settings.continuousSelect = true;
    EXPECT_EQ(saved(), settingsBytes(0x01, 0));
    settings.runByDefault = true;
    EXPECT_EQ(saved(), settingsBytes(0x03, 0));
    settings.continuousSelect = false;
    EXPECT_EQ(saved(), settingsBytes(0x02, 0));
}

TEST_F(SettingsWrite, NameIsWrittenOnlyForLengthsOneTo259)
{
    const std::string longest(259, 'p');
    rememberLastFile(settings, longest);
    EXPECT_EQ(saved(), settingsBytes(0, 259, longest));

    rememberLastFile(settings, longest + "q");
    EXPECT_EQ(saved(), settingsBytes(0, 260));

    settings.lastFilePath = "abc";
    settings.lastFileLength = -1;
    EXPECT_EQ(saved(), settingsBytes(0, -1));

    // A length beyond the name never reaches past it.
    settings.lastFileLength = 10;
    EXPECT_EQ(saved(), settingsBytes(0, 10, "abc"));
}

TEST_F(SettingsWrite, FailedWriteKeepsTheOldFile)
{
    // A one-character name has one temporary name only, and it is taken.
    settings.settingsPath = path("s");
    const Bytes old = settingsBytes(0x01, 3, "a.k");
    writeBytes(settings.settingsPath, old);
    makeFolder("~");
    settings.runByDefault = true;
    EXPECT_FALSE(saveSettings(settings));
    EXPECT_EQ(readBytes(settings.settingsPath), old);

    writeBytes(path("plain"), {7});
    settings.settingsPath = path("plain") + "/" + SETTINGS_FILE_NAME;
    EXPECT_FALSE(saveSettings(settings));
    EXPECT_EQ(readBytes(path("plain")), Bytes{7});
}

TEST_F(SettingsWrite, RoundTripThroughLoad)
{
    settings.continuousSelect = true;
    settings.runByDefault = true;
    rememberLastFile(settings, "C:\\keys\\round trip.qvxkeys");
    ASSERT_TRUE(saveSettings(settings));

    ProgramSettings read;
    read.settingsPath = settings.settingsPath;
    ASSERT_TRUE(loadSettings(read));
    EXPECT_TRUE(read.continuousSelect);
    EXPECT_TRUE(read.runByDefault);
    EXPECT_EQ(read.lastFilePath, settings.lastFilePath);
    EXPECT_EQ(read.lastFileLength, settings.lastFileLength);
}

using SettingsRead = SettingsFileTest;

TEST_F(SettingsRead, OnlyBitsZeroAndOneOfTheWordCount)
{
    load(settingsBytes(0xFFFFFFFC, 0));
    EXPECT_FALSE(settings.continuousSelect);
    EXPECT_FALSE(settings.runByDefault);
    load(settingsBytes(0xFFFFFFFF, 0));
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_TRUE(settings.runByDefault);
    load(settingsBytes(0x00000002, 0));
    EXPECT_FALSE(settings.continuousSelect);
    EXPECT_TRUE(settings.runByDefault);
    load(settingsBytes(0x80000001, 0));
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_FALSE(settings.runByDefault);
}

TEST_F(SettingsRead, NameIsReadOnlyForLengthsOneTo259)
{
    load(settingsBytes(0, 0, "ignored"));
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);

    const std::string longest(259, 'n');
    load(settingsBytes(0, 259, longest + "tail"));
    EXPECT_EQ(settings.lastFilePath, longest);
    EXPECT_EQ(settings.lastFileLength, 259);

    load(settingsBytes(0, 260, longest + "n"));
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 260);

    load(settingsBytes(0, -1, "abc"));
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, -1);
}

TEST_F(SettingsRead, NameIsCutAtANulAndItsLengthWithIt)
{
    load(settingsBytes(0, 8, std::string("C:\\ab\0cd", 8)));
    EXPECT_EQ(settings.lastFilePath, "C:\\ab");
    EXPECT_EQ(settings.lastFileLength, 5);

    load(settingsBytes(0, 3, std::string("\0xy", 3)));
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);
}

TEST_F(SettingsRead, FileEndingEarlyLeavesUnreadFieldsAtDefaults)
{
    load({});
    expectDefaults(settings);

    load({0x03, 0x00, 0x00});
    expectDefaults(settings);

    load({0x03, 0x00, 0x00, 0x00, 0x11, 0x00});
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_TRUE(settings.runByDefault);
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);

    load(settingsBytes(0x01, 17, "C:\\keys"));
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_FALSE(settings.runByDefault);
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);
}

TEST_F(SettingsRead, MissingFileFailsAndChangesNothing)
{
    fillWithNonDefaults(settings);
    EXPECT_FALSE(loadSettings(settings));
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_TRUE(settings.runByDefault);
    EXPECT_EQ(settings.lastFilePath, "stale.qvxkeys");
    EXPECT_EQ(settings.lastFileLength, 13);
}

TEST_F(SettingsRead, RandomFilesOfEveryLengthGiveDefinedValues)
{
    std::mt19937 random(259);
    for (size_t length = 0; length <= 300; ++length) {
        SCOPED_TRACE(length);
        Bytes bytes(length);
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(random());
        // Every other file carries a plausible name length, some of them
        // reaching past the end, so the name is read as well.
        if (length >= 9 && length % 2 == 1) {
            const uint32_t name = 1 + random() % std::min<size_t>(MAX_STORED_PATH_LENGTH, length - 8 + 3);
            for (int i = 0; i < 4; ++i)
                bytes[4 + i] = static_cast<uint8_t>(name >> (8 * i));
        }
        load(bytes);

        EXPECT_EQ(settings.continuousSelect, length >= 4 && (bytes[0] & 1));
        EXPECT_EQ(settings.runByDefault, length >= 4 && (bytes[0] & 2));
        if (length < 8) {
            EXPECT_EQ(settings.lastFileLength, 0);
        }
        if (settings.lastFilePath.empty() && settings.lastFileLength >= 1 &&
            settings.lastFileLength <= MAX_STORED_PATH_LENGTH) {
            ADD_FAILURE() << "a length without its name";
        }
        const std::string& name = settings.lastFilePath;
        EXPECT_LE(name.size(), static_cast<size_t>(MAX_STORED_PATH_LENGTH));
        EXPECT_EQ(name.find('\0'), std::string::npos);
        if (!name.empty()) {
            EXPECT_EQ(settings.lastFileLength, static_cast<int32_t>(name.size()));
            ASSERT_LE(8 + name.size(), length);
            EXPECT_EQ(name, std::string(bytes.begin() + 8, bytes.begin() + 8 + name.size()));
        }
    }
}

TEST(SettingsLocate, DirectoryEndsAtTheLastSeparatorOfEitherKind)
{
    ProgramSettings settings;
    const std::pair<std::string, std::string> cases[] = {
        {"C:/tools/app.exe", "C:/tools/corvantakeys.qvxconfig"},
        {"C:\\tools\\app.exe", "C:\\tools\\corvantakeys.qvxconfig"},
        {"C:\\tools/sub\\app.exe", "C:\\tools/sub\\corvantakeys.qvxconfig"},
        {"C:\\tools\\sub/app.exe", "C:\\tools\\sub/corvantakeys.qvxconfig"},
        {"C:\\tools\\", "C:\\tools\\corvantakeys.qvxconfig"},
        {"app.exe", "corvantakeys.qvxconfig"},
        {"", "corvantakeys.qvxconfig"},
    };
    for (const auto& [executable, expected] : cases) {
        locateSettings(settings, executable);
        EXPECT_EQ(settings.settingsPath, expected) << executable;
    }
}

TEST(SettingsLocate, ForgetsTheLastFileAndRunByDefaultOnly)
{
    ProgramSettings settings;
    fillWithNonDefaults(settings);
    locateSettings(settings, "C:\\app.exe");
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_FALSE(settings.runByDefault);
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);
}

// A remembered path that is not UTF-8 comes from an earlier version.
TEST(SettingsLastFile, OnlyWellFormedUtf8CountsAsUtf8)
{
    const std::pair<std::string, bool> rows[] = {
        {"C:\\keys\\a.qvxkeys", true},
        {"C:\\\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87\xD0\xB8.qvxkeys", true},
        {"\xE3\x83\x86\xF0\x9F\x94\x91", true},  // a three- and a four-byte form
        {"C:\\caf\xE9.qvxkeys", false},          // Windows-1252
        {"\xD0", false},                         // cut short
        {"\xED\xA0\x80", false},                 // a surrogate
    };
    for (const auto& [text, valid] : rows)
        EXPECT_EQ(isValidUtf8(text), valid) << text;
}

TEST(SettingsLastFile, RememberAndForgetChangeNameAndLengthTogether)
{
    ProgramSettings settings;
    settings.runByDefault = true;
    rememberLastFile(settings, "D:\\maps\\readme.qvxkeys");
    EXPECT_EQ(settings.lastFilePath, "D:\\maps\\readme.qvxkeys");
    EXPECT_EQ(settings.lastFileLength, 22);
    EXPECT_TRUE(settings.runByDefault);

    forgetLastFile(settings);
    EXPECT_EQ(settings.lastFilePath, "");
    EXPECT_EQ(settings.lastFileLength, 0);
    EXPECT_FALSE(settings.runByDefault);
}

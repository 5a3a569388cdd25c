#include "documents/key_file.h"
#include "documents/startup.h"
#include "temp_folder.h"

namespace {

// The program lies in the test folder with its configuration beside it.
class StartupTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        executable = path("corvanta.exe");
        configuration = path(SETTINGS_FILE_NAME);
        // Whatever start-up finds in the table must not survive it.
        for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
            table.setSlotKey(slot, 0xEEEE);
        table.pulseEnabled = 1;
        table.cycleSteps = 99;
    }

    void writeConfiguration(uint32_t word, const std::string& lastFile)
    {
        writeConfiguration(word, static_cast<int32_t>(lastFile.size()), lastFile);
    }

    void writeConfiguration(uint32_t word, int32_t length, const std::string& name)
    {
        Bytes bytes;
        appendLittleEndian32(bytes, word);
        appendLittleEndian32(bytes, static_cast<uint32_t>(length));
        appendText(bytes, name);
        writeBytes(configuration, bytes);
        configurationBytes = bytes;
    }

    // A key file whose button 1 is `code`; the rest at the defaults.
    void writeKeys(const std::string& file, uint16_t code)
    {
        KeyTable keys;
        keys.setSlotKey(0, code);
        ASSERT_TRUE(writeKeyFile(file, keys));
    }

    std::string start()
    {
        loadStartupSettings(settings, table, executable);
        return reopenLastFile(settings, table);
    }

    void expectDefaultTable()
    {
        for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
            EXPECT_EQ(table.slotKey(slot), 0) << "slot " << slot;
        EXPECT_EQ(table.pulseEnabled.load(), 0);
        EXPECT_EQ(table.cycleSteps.load(), DEFAULT_CYCLE_STEPS);
    }

    void expectNoLastFile()
    {
        EXPECT_EQ(settings.lastFilePath, "");
        EXPECT_EQ(settings.lastFileLength, 0);
    }

    void expectRemembered(const std::string& lastFile)
    {
        EXPECT_EQ(settings.lastFilePath, lastFile);
        EXPECT_EQ(settings.lastFileLength, static_cast<int32_t>(lastFile.size()));
    }

    // A path of exactly `length` characters in the test folder.
    std::string pathOfLength(size_t length)
    {
        const std::string prefix = path("k");
        EXPECT_LT(prefix.size() + 8, length) << "test folder path too long";
        return prefix + std::string(length - prefix.size() - 8, 'k') + ".qvxkeys";
    }

    std::string executable;
    std::string configuration;
    Bytes configurationBytes;
    ProgramSettings settings;
    KeyTable table;
};

}  // namespace

using StartupReopen = StartupTest;

TEST_F(StartupReopen, WithoutConfigurationStartsEmptyAndCreatesNothing)
{
    settings.continuousSelect = true;
    EXPECT_EQ(start(), "");
    EXPECT_EQ(settings.settingsPath, configuration);
    EXPECT_FALSE(settings.continuousSelect);
    EXPECT_FALSE(settings.runByDefault);
    expectNoLastFile();
    expectDefaultTable();
    EXPECT_FALSE(fileExists(configuration));
}

TEST_F(StartupReopen, RunByDefaultWithoutLastFileIsKept)
{
    writeConfiguration(0x02, "");
    EXPECT_EQ(start(), "");
    EXPECT_TRUE(settings.runByDefault);
    expectNoLastFile();
    expectDefaultTable();
    EXPECT_EQ(readBytes(configuration), (Bytes{0x02, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(StartupReopen, LastFileThatOpensIsLoadedAndKeepsRunByDefault)
{
    const std::string keys = path("last.qvxkeys");
    writeKeys(keys, 0x141);
    writeConfiguration(0x03, keys);

    EXPECT_EQ(start(), keys);
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_TRUE(settings.runByDefault);
    expectRemembered(keys);
    EXPECT_EQ(table.slotKey(0), 0x141);
    EXPECT_EQ(table.slotKey(1), 0);
    EXPECT_EQ(table.cycleSteps.load(), DEFAULT_CYCLE_STEPS);
    EXPECT_EQ(readBytes(configuration), configurationBytes);
}

// A drive not plugged in or a folder renamed: the next start may find it.
TEST_F(StartupReopen, LastFileThatCannotBeReadStaysRememberedWithRunByDefault)
{
    const std::string keys = path("gone.qvxkeys");
    writeConfiguration(0x03, keys);

    EXPECT_EQ(start(), "");
    EXPECT_TRUE(settings.continuousSelect);
    EXPECT_TRUE(settings.runByDefault);
    expectRemembered(keys);
    expectDefaultTable();
    EXPECT_EQ(readBytes(configuration), configurationBytes);
}

TEST_F(StartupReopen, ShortLastFileLoadsOverTheDefaults)
{
    const std::string keys = path("short.qvxkeys");
    writeBytes(keys, {0x41, 0x00, 0x42});
    writeConfiguration(0x00, keys);

    EXPECT_EQ(start(), keys);
    EXPECT_EQ(table.slotKey(0), 0x41);
    EXPECT_EQ(table.slotKey(1), 0x42);
    EXPECT_EQ(table.slotKey(2), 0);
    EXPECT_EQ(table.cycleSteps.load(), DEFAULT_CYCLE_STEPS);
}

// The longest name the configuration stores is reopened like any other.
TEST_F(StartupReopen, NamesOf258And259AreReopened)
{
    for (size_t length : {258, 259}) {
        SCOPED_TRACE(length);
        const std::string keys = pathOfLength(length);
        writeKeys(keys, static_cast<uint16_t>(length));
        writeConfiguration(0x02, keys);
        EXPECT_EQ(start(), keys);
        EXPECT_EQ(table.slotKey(0), length);
        EXPECT_TRUE(settings.runByDefault);
    }
}

TEST_F(StartupReopen, StoredLengthOutsideTheRangeRemembersNothing)
{
    for (int32_t length : {260, -1}) {
        SCOPED_TRACE(length);
        writeConfiguration(0x02, length, std::string(300, 'x'));
        EXPECT_EQ(start(), "");
        EXPECT_TRUE(settings.runByDefault);
        expectNoLastFile();
        EXPECT_EQ(readBytes(configuration), configurationBytes);
    }
}

TEST_F(StartupReopen, NameCutAtANulReopensTheShorterPath)
{
    const std::string keys = path("cut.qvxkeys");
    writeKeys(keys, 0x4E);
    writeConfiguration(0x00, static_cast<int32_t>(keys.size() + 4), keys + std::string("\0zzz", 4));

    EXPECT_EQ(start(), keys);
    EXPECT_EQ(settings.lastFileLength, static_cast<int32_t>(keys.size()));
    EXPECT_EQ(table.slotKey(0), 0x4E);
}

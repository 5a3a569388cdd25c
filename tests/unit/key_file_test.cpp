#include <random>

#include "documents/key_file.h"
#include "documents/safe_write.h"
#include "temp_folder.h"

namespace {

// The table's fields in file order with their sizes: 64 buttons, the pulse
// byte, the steps, 12 axis directions.
struct FieldValue {
    size_t size;
    uint32_t value;
};

std::vector<FieldValue> fieldsInFileOrder(const KeyTable& table)
{
    std::vector<FieldValue> fields;
    for (const KeyCell& cell : table.buttonKeys)
        fields.push_back({2, cell.load()});
    fields.push_back({1, table.pulseEnabled.load()});
    fields.push_back({4, static_cast<uint32_t>(table.cycleSteps.load())});
    for (const KeyCell& cell : table.axisKeys)
        fields.push_back({2, cell.load()});
    return fields;
}

// Values no file byte resembles, so any field a load wrongly touches shows.
void fillWithSentinels(KeyTable& table)
{
    for (int i = 0; i < BUTTON_SLOT_COUNT; ++i)
        table.buttonKeys[i] = static_cast<uint16_t>(0xA000 + i);
    for (int j = 0; j < AXIS_SLOT_COUNT; ++j)
        table.axisKeys[j] = static_cast<uint16_t>(0xB000 + j);
    table.pulseEnabled = 0x5A;
    table.cycleSteps = 0x7B6C5D4E;
}

// What a load of `bytes` must give, whatever the table held: each field
// takes the file bytes that reach it as its low-order bytes over an empty
// table's value.
std::vector<FieldValue> expectedAfterLoad(const Bytes& bytes)
{
    std::vector<FieldValue> fields = fieldsInFileOrder(KeyTable{});
    size_t offset = 0;
    for (FieldValue& field : fields) {
        for (size_t i = 0; i < field.size && offset + i < bytes.size(); ++i) {
            field.value &= ~(0xFFu << (8 * i));
            field.value |= uint32_t(bytes[offset + i]) << (8 * i);
        }
        offset += field.size;
    }
    return fields;
}

void expectFields(const std::vector<FieldValue>& actual, const std::vector<FieldValue>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i].value, expected[i].value) << "field " << i;
}

Bytes numberedBytes(size_t length)
{
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    return bytes;
}

}  // namespace

using KeyFileFormat = TempFolderTest;

TEST_F(KeyFileFormat, ExampleTableIsStoredAs157Bytes)
{
    KeyTable table;
    table.setSlotKey(0, 0x41);
    table.setSlotKey(32, 0x20);
    table.setSlotKey(64, 0x26);
    Bytes expected(KEY_FILE_SIZE, 0);
    expected[0] = 0x41;
    expected[64] = 0x20;
    expected[129] = 0x06;
    expected[133] = 0x26;

    const std::string file = path("example.qvxkeys");
    ASSERT_TRUE(writeKeyFile(file, table));
    EXPECT_EQ(readBytes(file), expected);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"example.qvxkeys"});
}

TEST_F(KeyFileFormat, DefaultTableIsZerosWithSixSteps)
{
    KeyTable table;
    Bytes expected(KEY_FILE_SIZE, 0);
    expected[129] = 0x06;

    const std::string file = path("default.qvxkeys");
    ASSERT_TRUE(writeKeyFile(file, table));
    EXPECT_EQ(readBytes(file), expected);
}

TEST_F(KeyFileFormat, FieldsSitUnalignedAndLittleEndian)
{
    KeyTable table;
    table.setSlotKey(63, 0xABCD);
    table.setSlotKey(75, 0x1234);
    table.pulseEnabled = 0x05;
    table.cycleSteps = -2;
    const KeyFileImage image = keyFileImage(table);

    EXPECT_EQ(image[126], 0xCD);
    EXPECT_EQ(image[127], 0xAB);
    EXPECT_EQ(image[128], 0x05);
    EXPECT_EQ((Bytes{image.begin() + 129, image.begin() + 133}), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(image[155], 0x34);
    EXPECT_EQ(image[156], 0x12);
}

TEST_F(KeyFileFormat, WritingOverALongerFileLeavesExactly157Bytes)
{
    const std::string file = path("old.qvxkeys");
    writeBytes(file, Bytes(300, 0xEE));
    KeyTable table;
    table.setSlotKey(5, 0x77);

    ASSERT_TRUE(writeKeyFile(file, table));
    const KeyFileImage image = keyFileImage(table);
    EXPECT_EQ(readBytes(file), Bytes(image.begin(), image.end()));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"old.qvxkeys"});
}

TEST_F(KeyFileFormat, RoundTripKeepsEveryValueIncludingWideCodes)
{
    KeyTable written;
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        written.setSlotKey(slot, static_cast<uint16_t>(0x0101 * (slot + 1)));
    written.pulseEnabled = 1;
    written.cycleSteps = 120;
    const std::string file = path("round.qvxkeys");
    ASSERT_TRUE(writeKeyFile(file, written));

    KeyTable read;
    ASSERT_TRUE(readKeyFile(file, read));
    expectFields(fieldsInFileOrder(read), fieldsInFileOrder(written));
}

using KeyFileRead = TempFolderTest;

TEST_F(KeyFileRead, EachLengthFillsExactlyTheBytesItCovers)
{
    for (size_t length : {0, 1, 100, 127, 128, 129, 131, 156, 157, 200}) {
        SCOPED_TRACE(length);
        const Bytes bytes = numberedBytes(length);
        const std::string file = path("len" + std::to_string(length) + ".qvxkeys");
        writeBytes(file, bytes);
        KeyTable table;
        fillWithSentinels(table);

        EXPECT_EQ(readKeyFile(file, table), std::min<size_t>(length, KEY_FILE_SIZE));
        expectFields(fieldsInFileOrder(table), expectedAfterLoad(bytes));
    }
}

TEST_F(KeyFileRead, CutFieldsTakeTheirLowOrderBytes)
{
    KeyTable table;
    fillWithSentinels(table);
    const std::string file127 = path("127.qvxkeys");
    writeBytes(file127, numberedBytes(127));
    ASSERT_TRUE(readKeyFile(file127, table));
    EXPECT_EQ(table.slotKey(62), 0x6C65);
    EXPECT_EQ(table.slotKey(63), 0x0073);  // byte 126, over an empty key
    EXPECT_EQ(table.pulseEnabled.load(), 0);

    fillWithSentinels(table);
    const std::string file131 = path("131.qvxkeys");
    writeBytes(file131, numberedBytes(131));
    ASSERT_TRUE(readKeyFile(file131, table));
    EXPECT_EQ(table.pulseEnabled.load(), 0x81);
    EXPECT_EQ(table.cycleSteps.load(), 0x8F88);  // bytes 129-130 over the empty table's 6
    EXPECT_EQ(table.slotKey(FIRST_AXIS_SLOT), 0);
}

TEST_F(KeyFileRead, StepsOfZeroOrBelowAreStoredUnchanged)
{
    for (int32_t steps : {0, -1, INT32_MIN}) {
        SCOPED_TRACE(steps);
        KeyTable written;
        written.cycleSteps = steps;
        const std::string file = path("steps.qvxkeys");
        ASSERT_TRUE(writeKeyFile(file, written));
        KeyTable read;
        ASSERT_TRUE(readKeyFile(file, read));
        EXPECT_EQ(read.cycleSteps.load(), steps);
    }
}

TEST_F(KeyFileRead, MissingFileFailsAndChangesNothing)
{
    KeyTable table;
    fillWithSentinels(table);
    const std::vector<FieldValue> before = fieldsInFileOrder(table);
    EXPECT_FALSE(readKeyFile(path("absent.qvxkeys"), table));
    EXPECT_FALSE(readKeyFile("", table));
    expectFields(fieldsInFileOrder(table), before);
}

TEST_F(KeyFileRead, RandomFilesOfEveryLengthLoadOnlyWhatTheyHold)
{
    std::mt19937 random(157);
    for (size_t length = 0; length <= 300; ++length) {
        SCOPED_TRACE(length);
        Bytes bytes(length);
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(random());
        const std::string file = path("random.qvxkeys");
        writeBytes(file, bytes);
        KeyTable table;
        fillWithSentinels(table);

        ASSERT_TRUE(readKeyFile(file, table));
        expectFields(fieldsInFileOrder(table), expectedAfterLoad(bytes));
    }
}

using KeyFileWriteFailure = TempFolderTest;

TEST_F(KeyFileWriteFailure, TargetUnderARegularFileFails)
{
    const std::string plain = path("plain");
    writeBytes(plain, {1, 2, 3});
    KeyTable table;
    EXPECT_FALSE(writeKeyFile(plain + "/keys.qvxkeys", table));
    EXPECT_FALSE(writeKeyFile(path("missing") + "/keys.qvxkeys", table));
    EXPECT_EQ(readBytes(plain), (Bytes{1, 2, 3}));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"plain"});
}

TEST_F(KeyFileWriteFailure, TargetThatIsAFolderStaysAndNoTemporaryRemains)
{
    makeFolder("keys.qvxkeys");
    writeBytes(path("keys.qvxkeys") + "/inside", {9});
    KeyTable table;

    EXPECT_FALSE(writeKeyFile(path("keys.qvxkeys"), table));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"keys.qvxkeys"});
    EXPECT_EQ(readBytes(path("keys.qvxkeys") + "/inside"), Bytes{9});
}

// A one-character name has one temporary name only, "~"; when it is taken
// the save fails, and neither file changes.
TEST_F(KeyFileWriteFailure, TakenTemporaryNamesKeepTheOldFileByteForByte)
{
    const std::string file = path("k");
    const Bytes old = numberedBytes(KEY_FILE_SIZE);
    writeBytes(file, old);
    writeBytes(path("~"), {5});
    KeyTable table;

    EXPECT_FALSE(writeKeyFile(file, table));
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(readBytes(path("~")), Bytes{5});
}

// Files named like a temporary, the user's own or left by a crash, are
// passed over and never written or removed.
TEST_F(KeyFileWriteFailure, FilesNamedLikeATemporaryNeitherBlockNorChange)
{
    writeBytes(path("a.qvxkey~"), {1});
    makeFolder("a.qvxke~1");
    KeyTable table;
    ASSERT_TRUE(writeKeyFile(path("a.qvxkeys"), table));
    EXPECT_EQ(readBytes(path("a.qvxkeys")).size(), static_cast<size_t>(KEY_FILE_SIZE));
    EXPECT_EQ(readBytes(path("a.qvxkey~")), Bytes{1});
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"a.qvxkeys", "a.qvxkey~", "a.qvxke~1"}));
}

TEST(KeyFileTemporaryName, LiesBesideTheTargetWithTheSameLength)
{
    EXPECT_EQ(temporaryPathFor("C:\\keys\\a.qvxkeys", 0), "C:\\keys\\a.qvxkey~");
    EXPECT_EQ(temporaryPathFor("C:\\keys\\a.qvxkeys", 1), "C:\\keys\\a.qvxke~1");
    EXPECT_EQ(temporaryPathFor("dir/a.qvxkeys", 12), "dir/a.qvxk~12");
    EXPECT_EQ(temporaryPathFor("x", 0), "~");
    EXPECT_EQ(temporaryPathFor("dir/x", 1), "");
    EXPECT_EQ(temporaryPathFor("C:x", 1), "");
    EXPECT_EQ(temporaryPathFor("", 0), "");
    EXPECT_EQ(temporaryPathFor("dir/", 0), "");
    EXPECT_EQ(temporaryPathFor("C:\\dir\\", 0), "");
    EXPECT_FALSE(writeFileReplacing("", "x", 1));
}

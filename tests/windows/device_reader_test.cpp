#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "fake_device_api.h"

namespace {

const std::string HANDLE_PATH = "\\\\?\\hid#vid_04d8&pid_0f2d#handle";

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        api.interfaces = {joystickHandle(HANDLE_PATH)};
        ASSERT_TRUE(connect(link));
        api.calls.clear();
        api.opens.clear();
    }

    // On every path: the device handle closed exactly once, and the event
    // reset once for every read that got as far as opening.
    void TearDown() override
    {
        EXPECT_TRUE(api.misuses.empty()) << joined(api.misuses);
        for (int closes : api.closeCounts("device"))
            EXPECT_EQ(closes, 1);
        const auto count = [&](const std::string& call) {
            return std::count(api.calls.begin(), api.calls.end(), call);
        };
        EXPECT_EQ(count("ResetEvent event") + count("ResetEvent null"), count("CreateFileA device"));
    }

    FakeDeviceApi api;
    DeviceLink link{api};
};

TEST_F(ReaderTest, NothingIsOpenedWhileNotConnected)
{
    DeviceLink neverDiscovered{api};
    EXPECT_EQ(readReport(neverDiscovered), 0);

    api.interfaces.clear();
    ASSERT_FALSE(connect(link));
    api.calls.clear();
    EXPECT_EQ(readReport(link), 0);

    EXPECT_TRUE(api.calls.empty()) << joined(api.calls);
}

TEST_F(ReaderTest, AReportWithinTheWaitIsDelivered)
{
    api.report = {1, 0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0x80};

    EXPECT_EQ(readReport(link), 17);

    EXPECT_TRUE(std::equal(api.report.begin(), api.report.end(), link.reportBuffer.begin()));
    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "ReadFile", "WaitForSingleObject event 16",
                                                   "GetOverlappedResult", "ResetEvent event", "CloseHandle device"}));
}

TEST_F(ReaderTest, OpensAndReadsWithTheDocumentedArguments)
{
    api.report = std::vector<uint8_t>(20, 1);

    readReport(link);

    ASSERT_EQ(api.opens.size(), 1u);
    const FakeOpen& open = api.opens[0];
    EXPECT_EQ(open.path, HANDLE_PATH);
    EXPECT_EQ(open.access, static_cast<DWORD>(GENERIC_READ));
    EXPECT_EQ(open.shareMode, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE));
    EXPECT_FALSE(open.security);
    EXPECT_EQ(open.disposition, static_cast<DWORD>(OPEN_EXISTING));
    EXPECT_EQ(open.flags, static_cast<DWORD>(FILE_FLAG_OVERLAPPED));
    EXPECT_FALSE(open.templateFile);
    ASSERT_EQ(api.reads.size(), 1u);
    EXPECT_EQ(api.reads[0].buffer, link.reportBuffer.data());
    EXPECT_EQ(api.reads[0].size, 32u);
    EXPECT_EQ(api.reads[0].bytesRead, nullptr);
    EXPECT_EQ(api.reads[0].overlapped, &link.readOverlapped);
    EXPECT_EQ(api.overlappedRecords, std::vector<OVERLAPPED*>{&link.readOverlapped});
    EXPECT_EQ(api.overlappedWaits, std::vector<BOOL>{TRUE});
}

TEST_F(ReaderTest, AReadThatCompletesAtOnceIsStillCollectedAfterTheWait)
{
    api.readFileResult = TRUE;
    api.report = std::vector<uint8_t>(20, 1);

    EXPECT_EQ(readReport(link), 20);

    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "ReadFile", "WaitForSingleObject event 16",
                                                   "GetOverlappedResult", "ResetEvent event", "CloseHandle device"}));
}

// Unlike a time-out, a failed open tells that the handle may have gone.
TEST_F(ReaderTest, AFailedOpenResetsTheEventOnlyAndSaysSo)
{
    api.deviceOpenFails = true;

    EXPECT_EQ(readReport(link), READ_OPEN_FAILED);

    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "ResetEvent event"}));
}

TEST_F(ReaderTest, AFailedReadResetsTheEventAndClosesTheDevice)
{
    api.readFileError = ERROR_INVALID_FUNCTION;

    EXPECT_EQ(readReport(link), 0);

    EXPECT_EQ(api.calls,
              (std::vector<std::string>{"CreateFileA device", "ReadFile", "ResetEvent event", "CloseHandle device"}));
}

TEST_F(ReaderTest, NoReportWithinSixteenMillisecondsGivesNothing)
{
    for (const DWORD waitResult :
         {static_cast<DWORD>(WAIT_TIMEOUT), static_cast<DWORD>(WAIT_FAILED), static_cast<DWORD>(WAIT_ABANDONED)}) {
        SCOPED_TRACE(waitResult);
        api.calls.clear();
        api.waitTimeouts.clear();
        api.waitResult = waitResult;
        api.report = std::vector<uint8_t>(20, 1);

        EXPECT_EQ(readReport(link), 0);

        EXPECT_EQ(api.waitTimeouts, std::vector<DWORD>{16});
        EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "ReadFile", "WaitForSingleObject event 16",
                                                       "ResetEvent event", "CloseHandle device"}));
    }
}

TEST_F(ReaderTest, AFailedCompletionGivesNothing)
{
    api.overlappedResultFails = true;

    EXPECT_EQ(readReport(link), 0);

    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "ReadFile", "WaitForSingleObject event 16",
                                                   "GetOverlappedResult", "ResetEvent event", "CloseHandle device"}));
}

TEST_F(ReaderTest, TheBufferKeepsBytesBeyondTheLatestRead)
{
    api.report = std::vector<uint8_t>(20, 0xAA);
    ASSERT_EQ(readReport(link), 20);
    api.report = std::vector<uint8_t>(17, 0x11);
    ASSERT_EQ(readReport(link), 17);

    EXPECT_EQ(link.reportBuffer[16], 0x11);
    EXPECT_EQ(link.reportBuffer[17], 0xAA);
    EXPECT_EQ(link.reportBuffer[19], 0xAA);
}

// No read could complete without its event: the handle counts as not
// connected, and nothing is opened.
TEST_F(ReaderTest, WithoutAnEventNothingIsRead)
{
    api.eventCreationFails = true;
    ASSERT_FALSE(connect(link));
    api.calls.clear();

    EXPECT_EQ(readReport(link), 0);

    EXPECT_TRUE(api.calls.empty()) << joined(api.calls);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "fake_device_api.h"

namespace {

const std::string HANDLE_PATH = "\\\\?\\hid#vid_04d8&pid_0f2d#handle";
const std::vector<std::string> OPENING = {"CreateFileA device", "CreateEventA", "ReadFile"};
const std::vector<std::string> CLOSING = {"CancelIoEx", "GetOverlappedResult", "CloseHandle device",
                                          "CloseHandle event"};

std::vector<std::string> operator+(std::vector<std::string> calls, const std::vector<std::string>& more)
{
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        api.interfaces = {joystickHandle(HANDLE_PATH)};
        ASSERT_TRUE(connect(link));
        api.calls.clear();
        api.opens.clear();
    }

    // On every path, once reading stops: each device handle and its event
    // closed exactly once, never with a read outstanding.
    void TearDown() override
    {
        stopReading(link);
        EXPECT_TRUE(api.misuses.empty()) << joined(api.misuses);
        for (const char* kind : {"device", "event"})
            for (int closes : api.closeCounts(kind))
                EXPECT_EQ(closes, 1) << kind;
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
    EXPECT_EQ(api.calls,
              (OPENING + std::vector<std::string>{"WaitForSingleObject event 16", "GetOverlappedResult", "ReadFile"}));
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
    ASSERT_EQ(api.eventCreations.size(), 1u);
    EXPECT_TRUE(api.eventCreations[0].manualReset);
    EXPECT_FALSE(api.eventCreations[0].initialState);
    ASSERT_EQ(api.reads.size(), 2u);
    EXPECT_EQ(api.reads[0].buffer, link.reader.readBuffer.data());
    EXPECT_EQ(api.reads[0].size, 32u);
    EXPECT_EQ(api.reads[0].bytesRead, nullptr);
    EXPECT_EQ(api.reads[0].overlapped, &link.reader.readOverlapped);
    EXPECT_EQ(link.reader.readOverlapped.hEvent, link.reader.readEvent);
    EXPECT_EQ(api.overlappedRecords, std::vector<OVERLAPPED*>{&link.reader.readOverlapped});
    EXPECT_EQ(api.overlappedWaits, std::vector<BOOL>{FALSE});
}

TEST_F(ReaderTest, EachCycleTakesEveryQueuedReportAndUsesTheNewestOverOneOpening)
{
    for (uint8_t cycle = 1; cycle <= 3; ++cycle) {
        api.calls.clear();
        api.queued = {std::vector<uint8_t>(20, cycle), std::vector<uint8_t>(17, cycle + 10)};

        EXPECT_EQ(readReport(link), 17);

        EXPECT_EQ(link.reportBuffer[0], cycle + 10);
        EXPECT_EQ(api.calls,
                  ((cycle == 1 ? OPENING : std::vector<std::string>{"WaitForSingleObject event 0"}) +
                   std::vector<std::string>{"GetOverlappedResult", "ReadFile", "GetOverlappedResult", "ReadFile"}));
    }
    EXPECT_EQ(api.opens.size(), 1u);
}

TEST_F(ReaderTest, StoppingCancelsTheOutstandingReadWaitsForItAndCloses)
{
    api.waitResult = WAIT_TIMEOUT;
    EXPECT_EQ(readReport(link), 0);
    api.calls.clear();

    stopReading(link);

    EXPECT_EQ(api.calls, CLOSING);
    EXPECT_EQ(api.overlappedWaits, std::vector<BOOL>{TRUE});
}

// The same handle found again is read on; at a new path the reader reopens.
TEST_F(ReaderTest, ADiscoveryThatMovesThePathMakesTheReaderReopen)
{
    api.queued = {std::vector<uint8_t>(17, 1)};
    ASSERT_EQ(readReport(link), 17);
    for (const std::string& path : {HANDLE_PATH, std::string("second")}) {
        api.interfaces = {joystickHandle(path)};
        ASSERT_TRUE(connect(link));
        api.calls.clear();
        api.queued = {std::vector<uint8_t>(17, 1)};
        EXPECT_EQ(readReport(link), 17);
        EXPECT_EQ(api.calls,
                  ((path == HANDLE_PATH ? std::vector<std::string>{"WaitForSingleObject event 0"} : CLOSING + OPENING) +
                   std::vector<std::string>{"GetOverlappedResult", "ReadFile"}));
    }
    EXPECT_EQ(api.opens.back().path, "second");
}

// Unlike a time-out, a failed open tells that the handle may have gone.
TEST_F(ReaderTest, AFailedOpenOpensNothingElseAndSaysSo)
{
    api.deviceOpenFails = true;

    EXPECT_EQ(readReport(link), READ_OPEN_FAILED);

    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device"}));
}

// A handle pulled out fails its reads; the next cycle opens it again.
TEST_F(ReaderTest, AFailedReadClosesTheDeviceAndTheNextCycleReopens)
{
    api.readFileError = ERROR_DEVICE_NOT_CONNECTED;

    EXPECT_EQ(readReport(link), 0);

    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "CreateEventA", "ReadFile",
                                                   "CloseHandle device", "CloseHandle event"}));
    api.readFileError = ERROR_IO_PENDING;
    api.queued = {std::vector<uint8_t>(20, 1)};
    EXPECT_EQ(readReport(link), 20);
}

TEST_F(ReaderTest, NoReportWithinSixteenMillisecondsGivesNothing)
{
    for (const DWORD waitResult :
         {static_cast<DWORD>(WAIT_TIMEOUT), static_cast<DWORD>(WAIT_FAILED), static_cast<DWORD>(WAIT_ABANDONED)}) {
        SCOPED_TRACE(waitResult);
        stopReading(link);
        api.calls.clear();
        api.waitTimeouts.clear();
        api.waitResult = waitResult;
        api.report = std::vector<uint8_t>(20, 1);

        EXPECT_EQ(readReport(link), 0);

        EXPECT_EQ(api.waitTimeouts, std::vector<DWORD>{16});
        // A read that timed out stays outstanding for the next cycle.
        EXPECT_EQ(api.calls, (OPENING + std::vector<std::string>{"WaitForSingleObject event 16"} +
                              (waitResult == WAIT_TIMEOUT ? std::vector<std::string>{} : CLOSING)));
    }
}

TEST_F(ReaderTest, AFailedCompletionGivesNothing)
{
    api.overlappedResultFails = true;

    EXPECT_EQ(readReport(link), 0);

    EXPECT_EQ(api.calls, (OPENING + std::vector<std::string>{"WaitForSingleObject event 16", "GetOverlappedResult",
                                                             "CloseHandle device", "CloseHandle event"}));
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

// No read could complete without its event: the device counts as not opened.
TEST_F(ReaderTest, WithoutAnEventNothingIsRead)
{
    api.eventCreationFails = true;

    EXPECT_EQ(readReport(link), READ_OPEN_FAILED);

    EXPECT_EQ(api.calls, (std::vector<std::string>{"CreateFileA device", "CreateEventA", "CloseHandle device"}));
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "device/device_link.h"
#include "device/windows_device_api.h"
#include "simulated_device/handle_server.h"
#include "simulated_device/simulated_device_api.h"
#include "simulated_device/simulated_handle.h"

namespace {

// The server's log, written on the server's thread while the test reads it:
// every line the server ends with std::endl shows whole, and wakes a test
// that waits for it.
class SharedLog : public std::stringbuf {
public:
    // The log once it satisfies the condition, or as it stands after 10 s
    // (the server answers in milliseconds; the rest is room for a busy machine).
    template <class Condition>
    std::string await(Condition condition)
    {
        std::unique_lock<std::mutex> hold(lock);
        grown.wait_for(hold, std::chrono::seconds(10), [&] { return condition(lines); });
        return lines;
    }

protected:
    int sync() override
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            lines += str();
        }
        str("");
        grown.notify_all();
        return 0;
    }

private:
    std::mutex lock;
    std::condition_variable grown;
    std::string lines;
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The log's lines that start with one of the words, in order. Reads that
// time out under load add lines of their own in between.
std::vector<std::string> linesOf(const std::string& text, const std::vector<std::string>& words)
{
    std::vector<std::string> found;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        for (const std::string& word : words)
            if (line.rfind(word, 0) == 0)
                found.push_back(line);
    return found;
}

// The simulator's server on a thread of the test, and the program's own
// discovery and reader over the simulated handle.
class HandleServerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (thread.joinable()) {
            SetEvent(stopEvent);
            thread.join();
        }
        server.reset();
        CloseHandle(goSignal);
        CloseHandle(stopEvent);
    }

    void serve(const std::string& text)
    {
        std::istringstream stream(text);
        HandleScript script = parseHandleScript(stream);
        ASSERT_EQ(script.error, "");
        server = std::make_unique<HandleServer>(std::move(script.steps), log);
        ASSERT_TRUE(server->plugIn());
        thread = std::thread([this] { server->run(goSignal, stopEvent); });
    }

    // The server logs an answer or a closed connection only once it has
    // handled it, which may be well after the reader has moved on; so the
    // test waits for the lines it expects (and sees the log when they fail
    // to come).
    std::string awaitLines(const std::vector<std::string>& words, const std::vector<std::string>& expected)
    {
        return sharedLog.await([&](const std::string& text) { return linesOf(text, words) == expected; });
    }

    std::string awaitText(const std::string& part)
    {
        return sharedLog.await([&](const std::string& text) { return contains(text, part); });
    }

    void go() { ReleaseSemaphore(goSignal, 1, nullptr); }

    JoystickState nextReport(int& length)
    {
        length = readReport(link);
        return decodeReport(link.reportBuffer, length);
    }

    // Reads until a report comes, as the output loop does; 0 when none came.
    int readUntilReport()
    {
        for (int attempt = 0; attempt < 200; ++attempt)
            if (const int length = readReport(link); length > 0)
                return length;
        return 0;
    }

    SimulatedDeviceApi api{windowsDeviceApi()};
    DeviceLink link{api};
    SharedLog sharedLog;
    std::ostream log{&sharedLog};
    std::unique_ptr<HandleServer> server;
    std::thread thread;
    HANDLE goSignal = CreateSemaphoreA(nullptr, 0, 100, nullptr);
    HANDLE stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

}  // namespace

TEST_F(HandleServerTest, EachReadGetsTheNextReportOnceThenReadsTimeOut)
{
    serve("report 2 x=700 buttons=1 len=17\nreport 1 y=300 len=20\n");
    ASSERT_TRUE(connect(link));
    ASSERT_EQ(link.devicePath, SIMULATED_HANDLE_PATH);

    int length = 0;
    for (int copy = 0; copy < 2; ++copy) {
        ASSERT_EQ(readUntilReport(), 17);
        const JoystickState state = decodeReport(link.reportBuffer, 17);
        EXPECT_EQ(state.axisValue[0], 700);
        EXPECT_EQ(state.buttonBits, 1u);
    }
    ASSERT_EQ(readUntilReport(), 20);
    EXPECT_EQ(decodeReport(link.reportBuffer, 20).axisValue[1], 300);

    // The script has ended: the next read waits its 16 ms and gets nothing.
    nextReport(length);
    EXPECT_EQ(length, 0);

    const std::vector<std::string> outcomes{"taken 1 1", "taken 1 2", "taken 2 1", "done"};
    std::string written = awaitLines({"taken", "done"}, outcomes);
    EXPECT_EQ(linesOf(written, {"taken", "done"}), outcomes) << written;
    written = awaitText("held ");
    EXPECT_TRUE(contains(written, "held ")) << written;
}

// A report whose reader gave up before taking it is not lost: the next
// connection gets it, so every cycle of the program sees every report.
TEST_F(HandleServerTest, ReportNotTakenIsServedAgain)
{
    serve("report 1 x=900\nreport 1 x=100\n");
    ASSERT_TRUE(connect(link));

    const HANDLE impatient =
        CreateFileA(SIMULATED_HANDLE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(impatient, INVALID_HANDLE_VALUE);
    uint8_t bytes[32];
    DWORD got = 0;
    ASSERT_TRUE(WriteFile(impatient, &READ_WAITING, 1, &got, nullptr));
    ASSERT_TRUE(ReadFile(impatient, bytes, sizeof bytes, &got, nullptr));
    EXPECT_EQ(got, 17u);
    CloseHandle(impatient);

    ASSERT_EQ(readUntilReport(), 17);
    EXPECT_EQ(decodeReport(link.reportBuffer, 17).axisValue[0], 900);
    ASSERT_EQ(readUntilReport(), 17);
    EXPECT_EQ(decodeReport(link.reportBuffer, 17).axisValue[0], 100);

    const std::vector<std::string> taken{"taken 1 1", "taken 2 1"};
    const std::string written = awaitLines({"taken"}, taken);
    EXPECT_EQ(linesOf(written, {"taken"}), taken) << written;
    const std::vector<std::string> outcomes = linesOf(written, {"taken", "returned"});
    ASSERT_FALSE(outcomes.empty()) << written;
    EXPECT_EQ(outcomes.front(), "returned") << written;
}

TEST_F(HandleServerTest, WaitHoldsReportsBackUntilGo)
{
    serve("wait\nreport 1 z=0\n");
    ASSERT_TRUE(connect(link));
    int length = 0;
    for (int read = 0; read < 3; ++read) {
        nextReport(length);
        EXPECT_EQ(length, 0);
    }
    // Released before the server saw those reads end, the report would go
    // to a connection already closed, where no "held" line is logged.
    std::string written = awaitText("held ");
    EXPECT_EQ(written.rfind("ready\nwaiting\nheld ", 0), 0u) << written;
    go();
    ASSERT_EQ(readUntilReport(), 17);
    EXPECT_EQ(decodeReport(link.reportBuffer, 17).axisValue[2], 0);

    written = awaitLines({"taken"}, {"taken 2 1"});
    EXPECT_EQ(linesOf(written, {"taken"}), std::vector<std::string>{"taken 2 1"}) << written;
}

// Unplugged, the handle's reads fail and discovery no longer lists it;
// plugged in again, both work as before.
TEST_F(HandleServerTest, RemovedHandleIsGoneUntilAddedAgain)
{
    serve("report 1\nremove\nwait\nadd\nreport 1 roll=1023\n");
    ASSERT_TRUE(connect(link));
    ASSERT_EQ(readUntilReport(), 17);

    bool gone = false;
    for (int attempt = 0; attempt < 500 && !gone; ++attempt) {
        gone = !connect(link);
        Sleep(10);
    }
    ASSERT_TRUE(gone);
    EXPECT_FALSE(link.connected);
    link.connected = true;  // as a reader that has not heard of the removal yet
    int result = 0;
    for (int attempt = 0; attempt < 100 && result == 0; ++attempt)
        result = readReport(link);
    EXPECT_EQ(result, READ_OPEN_FAILED);

    go();
    bool back = false;
    for (int attempt = 0; attempt < 500 && !back; ++attempt) {
        back = connect(link);
        Sleep(10);
    }
    ASSERT_TRUE(back);
    ASSERT_EQ(readUntilReport(), 17);
    EXPECT_EQ(decodeReport(link.reportBuffer, 17).axisValue[4], 1023);

    const std::vector<std::string> events{"taken 1 1", "removed", "waiting", "added", "taken 5 1"};
    const std::string written = awaitLines({"taken", "removed", "waiting", "added"}, events);
    EXPECT_EQ(linesOf(written, {"taken", "removed", "waiting", "added"}), events) << written;
}

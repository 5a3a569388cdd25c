#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "device/device_link.h"
#include "device/hid_notices.h"
#include "device/windows_device_api.h"
#include "fake_device_api.h"

namespace {

// The real calls, with every handle they open tracked: a call on a handle
// that the code under test already closed is recorded as a misuse. (The
// system reuses handle values, so a misuse can hide behind a new handle;
// it never shows up falsely.)
class TrackedSystemApi : public DeviceApi {
public:
    void HidD_GetHidGuid(GUID* hidGuid) override { system.HidD_GetHidGuid(hidGuid); }

    BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) override
    {
        if (!isLive(device, "HidD_GetAttributes"))
            return FALSE;
        const BOOLEAN delivered = system.HidD_GetAttributes(device, attributes);
        attributesDelivered += delivered != FALSE;
        return delivered;
    }

    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent, DWORD flags) override
    {
        return system.SetupDiGetClassDevsA(classGuid, enumerator, parent, flags);
    }

    BOOL SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA* deviceInfo, const GUID* classGuid, DWORD index,
                                     SP_DEVICE_INTERFACE_DATA* interfaceData) override
    {
        return system.SetupDiEnumDeviceInterfaces(list, deviceInfo, classGuid, index, interfaceData);
    }

    BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                          DWORD* requiredSize, SP_DEVINFO_DATA* deviceInfo) override
    {
        return system.SetupDiGetDeviceInterfaceDetailA(list, interfaceData, detail, detailSize, requiredSize,
                                                       deviceInfo);
    }

    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override { return system.SetupDiDestroyDeviceInfoList(list); }

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override
    {
        return track(system.CreateFileA(path, access, shareMode, security, disposition, flags, templateFile));
    }

    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* bytesRead, OVERLAPPED* overlapped) override
    {
        if (!isLive(file, "ReadFile") || !isLive(overlapped->hEvent, "ReadFile's OVERLAPPED"))
            return FALSE;
        return system.ReadFile(file, buffer, size, bytesRead, overlapped);
    }

    BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) override
    {
        if (!isLive(file, "GetOverlappedResult"))
            return FALSE;
        return system.GetOverlappedResult(file, overlapped, bytesTransferred, wait);
    }

    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override
    {
        if (!isLive(object, "WaitForSingleObject"))
            return WAIT_FAILED;
        return system.WaitForSingleObject(object, milliseconds);
    }

    BOOL CancelIoEx(HANDLE file, OVERLAPPED* overlapped) override
    {
        return isLive(file, "CancelIoEx") && system.CancelIoEx(file, overlapped);
    }

    HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState, const char* name) override
    {
        const HANDLE event = system.CreateEventA(security, manualReset, initialState, name);
        return event == nullptr ? event : track(event);
    }

    BOOL CloseHandle(HANDLE object) override
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (live.erase(object) == 0) {
                misuses.push_back("CloseHandle: handle not open");
                return FALSE;
            }
        }
        return system.CloseHandle(object);
    }

    DWORD GetLastError() override { return system.GetLastError(); }

    HDEVNOTIFY RegisterDeviceNotificationA(HANDLE recipient, void* filter, DWORD flags) override
    {
        return system.RegisterDeviceNotificationA(recipient, filter, flags);
    }

    BOOL UnregisterDeviceNotification(HDEVNOTIFY notification) override
    {
        return system.UnregisterDeviceNotification(notification);
    }

    size_t liveHandles()
    {
        std::lock_guard<std::mutex> hold(lock);
        return live.size();
    }

    std::vector<std::string> misuses;
    std::atomic<int> attributesDelivered{0};

protected:
    bool isLive(HANDLE object, const char* call)
    {
        std::lock_guard<std::mutex> hold(lock);
        if (live.count(object) != 0)
            return true;
        misuses.push_back(std::string(call) + ": handle not open");
        return false;
    }

    DeviceApi& system = windowsDeviceApi();

private:
    HANDLE track(HANDLE opened)
    {
        if (opened != INVALID_HANDLE_VALUE) {
            std::lock_guard<std::mutex> hold(lock);
            live.insert(opened);
        }
        return opened;
    }

    std::mutex lock;
    std::set<HANDLE> live;
};

TEST(RealDeviceNoticesTest, RegistrationForTheHidClassGivesAHandleThatCanBeUndone)
{
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    DeviceApi& api = windowsDeviceApi();
    const HDEVNOTIFY notices = registerForHidNotices(api, window);
    EXPECT_NE(notices, nullptr);
    EXPECT_TRUE(api.UnregisterDeviceNotification(notices));
    DestroyWindow(window);
}

TEST(RealDiscoveryTest, WinesOwnHidDevicesAreNotTheHandle)
{
    TrackedSystemApi api;
    DeviceLink link{api};

    const bool connectResult = connect(link);

    EXPECT_FALSE(link.connected);
    EXPECT_FALSE(connectResult);
    EXPECT_GT(api.attributesDelivered, 0) << "no HID interface was examined";
    EXPECT_EQ(readReport(link), 0);
    EXPECT_EQ(api.liveHandles(), 0u);
    EXPECT_TRUE(api.misuses.empty()) << joined(api.misuses);
}

std::string handlePipeName()
{
    return "\\\\.\\pipe\\corvanta-handle-" + std::to_string(GetCurrentProcessId());
}

// Serves a named pipe that stands in for the handle: every client that
// connects, for a query or the reader's opening, gets one 17-byte report,
// unless silent.
class PipeServer {
public:
    explicit PipeServer(bool silent) : name(handlePipeName()), silent(silent)
    {
        listen();
        thread = std::thread([this] { serve(); });
    }

    ~PipeServer()
    {
        stopping = true;
        // Connects once more, to wake the server from its wait for a client.
        const HANDLE waker = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        thread.join();
        if (waker != INVALID_HANDLE_VALUE)
            CloseHandle(waker);
        for (HANDLE instance : served)
            CloseHandle(instance);
    }

    // Waits, up to 10 s, until this many clients were served; by then the
    // next instance listens, so the next open finds the pipe free.
    bool waitForClients(int count)
    {
        const ULONGLONG giveUp = GetTickCount64() + 10000;
        while (clients < count) {
            if (GetTickCount64() > giveUp)
                return false;
            Sleep(1);
        }
        return true;
    }

    const std::string name;

private:
    void listen()
    {
        waiting =
            CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                             PIPE_UNLIMITED_INSTANCES, 64, 64, 0, nullptr);
    }

    void serve()
    {
        while (waiting != INVALID_HANDLE_VALUE) {
            // A client may have come, and even gone again, before the wait.
            const bool connected = ConnectNamedPipe(waiting, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED ||
                                   GetLastError() == ERROR_NO_DATA;
            const HANDLE instance = waiting;
            // The next instance listens before this one is answered, so a
            // client rarely finds the pipe busy.
            listen();
            if (stopping) {
                CloseHandle(instance);
                break;
            }
            if (connected && !silent) {
                static const uint8_t report[17] = {1, 0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0x01};
                DWORD written = 0;
                WriteFile(instance, report, sizeof report, &written, nullptr);
            }
            clients += connected;
            // Kept open to the end, so that a client reads what was written.
            served.push_back(instance);
        }
        if (waiting != INVALID_HANDLE_VALUE)
            CloseHandle(waiting);
    }

    const bool silent;
    std::atomic<int> clients{0};
    std::atomic<bool> stopping{false};
    HANDLE waiting = INVALID_HANDLE_VALUE;
    std::vector<HANDLE> served;
    std::thread thread;
};

// The pipe listed as the one HID interface present, with the handle's IDs:
// discovery and the reader run unchanged over real handles and events.
class PipeHandleApi final : public TrackedSystemApi {
public:
    explicit PipeHandleApi(const std::string& pipeName) : pipeName(pipeName) {}

    BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) override
    {
        if (!isLive(device, "HidD_GetAttributes"))
            return FALSE;
        attributes->VendorID = HANDLE_VENDOR_ID;
        attributes->ProductID = HANDLE_PRODUCT_ID;
        return TRUE;
    }

    HDEVINFO SetupDiGetClassDevsA(const GUID*, const char*, HWND, DWORD) override { return LIST; }

    BOOL SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA*, const GUID*, DWORD index,
                                     SP_DEVICE_INTERFACE_DATA*) override
    {
        return list == LIST && index == 0;
    }

    BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO, SP_DEVICE_INTERFACE_DATA*,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                          DWORD* requiredSize, SP_DEVINFO_DATA*) override
    {
        const DWORD needed = static_cast<DWORD>(sizeof(DWORD) + pipeName.size() + 1);
        if (requiredSize != nullptr)
            *requiredSize = needed;
        if (detail == nullptr || detailSize < needed) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        memcpy(detail->DevicePath, pipeName.c_str(), pipeName.size() + 1);
        return TRUE;
    }

    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override { return list == LIST; }

private:
    static inline const HDEVINFO LIST = reinterpret_cast<HDEVINFO>(0x5EED);
    const std::string pipeName;
};

class PipeReaderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        stopReading(link);
        EXPECT_TRUE(api.misuses.empty()) << joined(api.misuses);
        EXPECT_EQ(api.liveHandles(), 0u);
    }

    PipeHandleApi api{handlePipeName()};
    DeviceLink link{api};
};

TEST_F(PipeReaderTest, AReportSentAtOnceIsRead)
{
    PipeServer server(false);
    ASSERT_TRUE(connect(link));
    ASSERT_EQ(link.devicePath, server.name);
    ASSERT_TRUE(server.waitForClients(1));

    // A busy machine may delay the server past one 16 ms window, or many.
    int length = 0;
    const ULONGLONG giveUp = GetTickCount64() + 10000;
    while (length <= 0 && GetTickCount64() < giveUp)
        length = readReport(link);

    EXPECT_EQ(length, 17);
    EXPECT_EQ(link.reportBuffer[0], 1);
    EXPECT_EQ(decodeReport(link.reportBuffer, length).axisValue[0], 511);
    EXPECT_EQ(decodeReport(link.reportBuffer, length).buttonBits, 1u);
}

TEST_F(PipeReaderTest, NoReportGivesNothingAfterTheWait)
{
    PipeServer server(true);
    ASSERT_TRUE(connect(link));
    ASSERT_TRUE(server.waitForClients(1));

    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    EXPECT_EQ(readReport(link), 0);
    QueryPerformanceCounter(&ended);

    const int64_t elapsedMs = (ended.QuadPart - started.QuadPart) * 1000 / frequency.QuadPart;
    EXPECT_GE(elapsedMs, 15);
    // The read gave up rather than waiting on; 2 s leaves a busy machine
    // more than 100 times the wait.
    EXPECT_LT(elapsedMs, 2000);
    EXPECT_TRUE(server.waitForClients(2)) << "the read never reached the pipe";
}

// The race of DeviceLinkRaceTest, over real events, pipe handles and reads.
TEST_F(PipeReaderTest, DiscoveryDuringRealReadsNeverClosesWhatTheyUse)
{
    PipeServer server(false);
    ASSERT_TRUE(connect(link));
    std::atomic<bool> done{false};
    std::atomic<int> reads{0}, deliveredReads{0};
    std::thread worker([&] {
        for (; !done; ++reads)
            deliveredReads += readReport(link) > 0;
    });
    const ULONGLONG giveUp = GetTickCount64() + 20000;
    for (int discovery = 0; (discovery < 200 || reads < 20 || deliveredReads == 0) && GetTickCount64() < giveUp;
         ++discovery)
        connect(link);
    done = true;
    worker.join();

    // The reader's connection brings one report; other reads wait or find the
    // pipe busy.
    EXPECT_GE(reads, 20);
    EXPECT_GE(deliveredReads, 1);
}

}  // namespace

#include <algorithm>

#include "device/device_link.h"

namespace {

bool isOpen(const ReportReader& reader)
{
    return reader.device != INVALID_HANDLE_VALUE;
}

bool openDevice(DeviceLink& link)
{
    DeviceApi& api = link.api;
    ReportReader& reader = link.reader;
    std::lock_guard<std::mutex> hold(link.pathLock);
    const HANDLE device = api.CreateFileA(link.devicePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return false;
    const HANDLE event = api.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (event == nullptr) {
        api.CloseHandle(device);
        return false;
    }
    reader.device = device;
    reader.readEvent = event;
    reader.readOverlapped = OVERLAPPED{};
    reader.readOverlapped.hEvent = event;
    reader.pathGeneration = link.pathGeneration;
    return true;
}

// Takes the outstanding read, which its event says has ended: a report that
// came becomes the newest in reportBuffer. False when the read failed.
bool takeRead(DeviceLink& link, int& newest)
{
    ReportReader& reader = link.reader;
    DWORD length = 0;
    if (!link.api.GetOverlappedResult(reader.device, &reader.readOverlapped, &length, FALSE)) {
        // An event that was set early: the read is still under way.
        if (link.api.GetLastError() == ERROR_IO_INCOMPLETE)
            return true;
        reader.readOutstanding = false;
        return false;
    }
    reader.readOutstanding = false;
    if (length > 0) {
        newest = static_cast<int>(std::min<DWORD>(length, REPORT_BUFFER_SIZE));
        std::copy_n(reader.readBuffer.begin(), newest, link.reportBuffer.begin());
    }
    return true;
}

// Issues the next read, and takes it and issues another for as long as they
// complete at once: those reports had come already. Ends with one read
// pending, which stays outstanding. False when a read failed.
bool issueReads(DeviceLink& link, int& newest)
{
    DeviceApi& api = link.api;
    ReportReader& reader = link.reader;
    for (int read = 0; read < MAX_READS_PER_CYCLE && !reader.readOutstanding; ++read) {
        reader.readOutstanding = true;
        if (!api.ReadFile(reader.device, reader.readBuffer.data(), REPORT_BUFFER_SIZE, nullptr,
                          &reader.readOverlapped)) {
            reader.readOutstanding = api.GetLastError() == ERROR_IO_PENDING;
            return reader.readOutstanding;
        }
        if (!takeRead(link, newest))
            return false;
    }
    return true;
}

bool takeAndReissue(DeviceLink& link, int& newest)
{
    return takeRead(link, newest) && issueReads(link, newest);
}

}  // namespace

int readReport(DeviceLink& link)
{
    if (!link.connected)
        return 0;
    ReportReader& reader = link.reader;
    if (isOpen(reader) && reader.pathGeneration != link.pathGeneration)
        stopReading(link);
    if (!isOpen(reader) && !openDevice(link))
        return READ_OPEN_FAILED;

    DeviceApi& api = link.api;
    int newest = 0;
    bool readsWork = true;
    if (!reader.readOutstanding)
        readsWork = issueReads(link, newest);
    else if (api.WaitForSingleObject(reader.readEvent, 0) == WAIT_OBJECT_0)
        readsWork = takeAndReissue(link, newest);
    if (readsWork && newest == 0 && reader.readOutstanding) {
        const DWORD waited = api.WaitForSingleObject(reader.readEvent, REPORT_WAIT_MS);
        readsWork = waited == WAIT_OBJECT_0 ? takeAndReissue(link, newest) : waited == WAIT_TIMEOUT;
    }
    if (!readsWork)
        stopReading(link);
    return newest;
}

void stopReading(DeviceLink& link)
{
    ReportReader& reader = link.reader;
    if (!isOpen(reader))
        return;
    DeviceApi& api = link.api;
    if (reader.readOutstanding) {
        DWORD ignored = 0;
        api.CancelIoEx(reader.device, &reader.readOverlapped);
        api.GetOverlappedResult(reader.device, &reader.readOverlapped, &ignored, TRUE);
        reader.readOutstanding = false;
    }
    api.CloseHandle(reader.device);
    api.CloseHandle(reader.readEvent);
    reader.device = INVALID_HANDLE_VALUE;
    reader.readEvent = nullptr;
}

#include "handle_server.h"

#include <dbt.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "simulated_handle.h"

namespace {

// What Windows does when a device comes or goes: WM_DEVICECHANGE to every
// top-level window, with the device's interface in the parameter block.
void broadcastDeviceChange(WPARAM event)
{
    struct {
        DEV_BROADCAST_DEVICEINTERFACE_A header;
        char name[sizeof SIMULATED_HANDLE_PATH];
    } notice{};
    notice.header.dbcc_size = sizeof notice;
    notice.header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(notice.header.dbcc_name, SIMULATED_HANDLE_PATH, sizeof SIMULATED_HANDLE_PATH);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&notice), SMTO_ABORTIFHUNG,
                        5000, &result);
}

// A memory stick pulled out of drive E:.
void broadcastVolumeRemoval()
{
    DEV_BROADCAST_VOLUME notice{};
    notice.dbcv_size = sizeof notice;
    notice.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    notice.dbcv_unitmask = 1u << ('E' - 'A');
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&notice),
                        SMTO_ABORTIFHUNG, 5000, &result);
}

}  // namespace

HandleServer::HandleServer(std::vector<ScriptStep> steps, std::ostream& log)
    : steps(std::move(steps)), log(log),
      presentEvent(CreateEventA(nullptr, TRUE, FALSE, SIMULATED_HANDLE_PRESENT_EVENT)),
      writeEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    for (Instance& instance : instances)
        instance.overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

HandleServer::~HandleServer()
{
    unplug();
    for (Instance& instance : instances)
        CloseHandle(instance.overlapped.hEvent);
    CloseHandle(writeEvent);
    CloseHandle(presentEvent);
}

bool HandleServer::plugIn()
{
    for (int i = 0; i < PIPE_INSTANCES; ++i) {
        Instance& instance = instances[i];
        const DWORD firstInstance = i == 0 ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0;
        instance.pipe =
            CreateNamedPipeA(SIMULATED_HANDLE_PATH, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | firstInstance,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_BYTE | PIPE_WAIT, PIPE_INSTANCES,
                             QUEUE_LIMIT * REPORT_BUFFER_SIZE, QUEUE_LIMIT * REPORT_BUFFER_SIZE, 0, nullptr);
        if (instance.pipe == INVALID_HANDLE_VALUE) {
            unplug();
            return false;
        }
        listen(instance);
    }
    SetEvent(presentEvent);
    return true;
}

// Reads that are under way fail, as they do when a device is pulled out.
void HandleServer::unplug()
{
    ResetEvent(presentEvent);
    if (outstanding != nullptr)
        log << "returned" << std::endl;
    outstanding = nullptr;
    for (Instance& instance : instances) {
        if (instance.state == Instance::ABSENT)
            continue;
        DWORD ignored = 0;
        CancelIoEx(instance.pipe, &instance.overlapped);
        GetOverlappedResult(instance.pipe, &instance.overlapped, &ignored, TRUE);
        DisconnectNamedPipe(instance.pipe);
        CloseHandle(instance.pipe);
        instance.pipe = INVALID_HANDLE_VALUE;
        instance.state = Instance::ABSENT;
    }
}

void HandleServer::listen(Instance& instance)
{
    instance.state = Instance::LISTENING;
    instance.readsWaiting = instance.untaken = instance.untilReached = 0;
    ResetEvent(instance.overlapped.hEvent);
    if (ConnectNamedPipe(instance.pipe, &instance.overlapped))
        return;  // completes through the event
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED)
        onConnected(instance);
    else if (error != ERROR_IO_PENDING)
        log << "error: ConnectNamedPipe failed with " << error << std::endl;
}

void HandleServer::onConnected(Instance& instance)
{
    instance.state = Instance::OPEN;
    instance.order = ++connections;
    awaitAnswer(instance);
}

// A connection sends what the program's side tells of its reads; the pending
// read also tells when the program's side closes the connection.
void HandleServer::awaitAnswer(Instance& instance)
{
    ResetEvent(instance.overlapped.hEvent);
    if (!ReadFile(instance.pipe, instance.news, sizeof instance.news, nullptr, &instance.overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        onClosed(instance);
}

void HandleServer::onCompleted(Instance& instance)
{
    DWORD bytes = 0;
    const bool done = GetOverlappedResult(instance.pipe, &instance.overlapped, &bytes, FALSE);
    if (instance.state == Instance::LISTENING) {
        if (done) {
            onConnected(instance);
        } else {
            DisconnectNamedPipe(instance.pipe);
            listen(instance);
        }
        return;
    }
    if (!done) {
        onClosed(instance);
        return;
    }
    for (const uint8_t news : std::basic_string_view<uint8_t>(instance.news, bytes)) {
        if (news == READ_WAITING && instance.readsWaiting++ == 0)
            instance.waitingSince = GetTickCount64();
        instance.readsSince += news == READ_WAITING;
        if (news == READ_HELD)
            log << "held " << GetTickCount64() - instance.waitingSince << std::endl;
        if (news == REPORT_TAKEN)
            instance.untaken -= instance.untaken > 0;
        if (news == REPORT_TAKEN && instance.untilReached > 0 && --instance.untilReached == 0)
            log << "reached " << instance.reachLine << " " << instance.readsSince << std::endl;
        if (news == REPORT_TAKEN && outstanding == &instance) {
            outstanding = nullptr;
            ++takenOfStep;
            log << "taken " << steps[cursor].line << " " << takenOfStep << std::endl;
        }
    }
    awaitAnswer(instance);
}

void HandleServer::onClosed(Instance& instance)
{
    if (outstanding == &instance) {
        outstanding = nullptr;
        log << "returned" << std::endl;
    }
    DisconnectNamedPipe(instance.pipe);
    listen(instance);
}

void HandleServer::advanceScript()
{
    wakeAt = 0;
    while (cursor < steps.size()) {
        const ScriptStep& step = steps[cursor];
        switch (step.kind) {
        case ScriptStep::REPORT:
            if (onClock ? !sendDueCopies(step) : takenOfStep < step.count)
                return;
            takenOfStep = 0;
            break;
        case ScriptStep::PAUSE:
            if (pauseEnd == 0)
                pauseEnd = GetTickCount64() + step.milliseconds;
            if (GetTickCount64() < pauseEnd) {
                wakeAt = pauseEnd;
                return;
            }
            pauseEnd = 0;
            break;
        case ScriptStep::CLOCK:
            onClock = true;
            break;
        case ScriptStep::WAIT:
            if (goSignals == 0) {
                if (!waitAnnounced)
                    log << "waiting" << std::endl;
                waitAnnounced = true;
                return;
            }
            --goSignals;
            waitAnnounced = false;
            break;
        case ScriptStep::REMOVE:
        case ScriptStep::VANISH:
            // The moment the handle goes, on the clock that stamps input messages.
            log << "unplugged " << GetTickCount() << std::endl;
            unplug();
            if (step.kind == ScriptStep::VANISH) {
                log << "vanished" << std::endl;
                break;
            }
            broadcastDeviceChange(DBT_DEVICEREMOVECOMPLETE);
            log << "removed" << std::endl;
            break;
        case ScriptStep::ADD:
            if (!plugIn())
                log << "error: the pipe could not be created again" << std::endl;
            broadcastDeviceChange(DBT_DEVICEARRIVAL);
            log << "added" << std::endl;
            break;
        case ScriptStep::EJECT:
            broadcastVolumeRemoval();
            log << "ejected" << std::endl;
            break;
        }
        ++cursor;
    }
    if (!doneAnnounced)
        log << "done" << std::endl;
    doneAnnounced = true;
}

// Sends the step's copies whose time has come, each to every connection
// with room for it; true once all are sent.
bool HandleServer::sendDueCopies(const ScriptStep& step)
{
    if (stepStart == 0)
        stepStart = GetTickCount64();
    const std::vector<uint8_t> bytes = encodeReport(step.report);
    for (; takenOfStep < step.count && stepStart + takenOfStep <= GetTickCount64(); ++takenOfStep) {
        bool heard = false;
        for (Instance& instance : instances) {
            // Reports taken by now count before the next goes out.
            while (instance.state == Instance::OPEN &&
                   WaitForSingleObject(instance.overlapped.hEvent, 0) == WAIT_OBJECT_0)
                onCompleted(instance);
            heard = heard || instance.state == Instance::OPEN;
            if (instance.state == Instance::OPEN && instance.untaken < QUEUE_LIMIT && write(instance, bytes))
                ++instance.untaken;
            if (takenOfStep == 0 && instance.state == Instance::OPEN) {
                instance.untilReached = instance.untaken;
                instance.readsSince = 0;
                instance.reachLine = step.line;
            }
        }
        lostOfStep += !heard;
    }
    if (takenOfStep < step.count) {
        wakeAt = stepStart + takenOfStep;
        return false;
    }
    stepStart = 0;
    if (lostOfStep > 0)
        log << "lost " << step.line << " " << lostOfStep << std::endl;
    lostOfStep = 0;
    return true;
}

bool HandleServer::write(Instance& instance, const std::vector<uint8_t>& bytes)
{
    OVERLAPPED write{};
    write.hEvent = writeEvent;
    DWORD written = 0;
    const bool sent = WriteFile(instance.pipe, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &write) ||
                      GetLastError() == ERROR_IO_PENDING;
    return sent && GetOverlappedResult(instance.pipe, &write, &written, TRUE);
}

// Gives the current report to the connection whose read has waited longest.
void HandleServer::serve()
{
    if (onClock || outstanding != nullptr || cursor >= steps.size() || steps[cursor].kind != ScriptStep::REPORT)
        return;
    Instance* oldest = nullptr;
    for (Instance& instance : instances)
        if (instance.state == Instance::OPEN && instance.readsWaiting > 0 &&
            (!oldest || instance.order < oldest->order))
            oldest = &instance;
    if (oldest == nullptr)
        return;
    --oldest->readsWaiting;
    if (write(*oldest, encodeReport(steps[cursor].report)))
        outstanding = oldest;
}

DWORD HandleServer::untilWake() const
{
    if (wakeAt == 0)
        return INFINITE;
    const ULONGLONG now = GetTickCount64();
    return now >= wakeAt ? 0 : static_cast<DWORD>(wakeAt - now);
}

void HandleServer::run(HANDLE goSignal, HANDLE stopEvent)
{
    log << "ready" << std::endl;
    for (;;) {
        advanceScript();
        serve();
        HANDLE waitFor[2 + PIPE_INSTANCES] = {stopEvent, goSignal};
        Instance* owners[2 + PIPE_INSTANCES] = {};
        DWORD count = 2;
        for (Instance& instance : instances) {
            if (instance.state == Instance::ABSENT)
                continue;
            owners[count] = &instance;
            waitFor[count++] = instance.overlapped.hEvent;
        }
        const DWORD woken = WaitForMultipleObjects(count, waitFor, FALSE, untilWake());
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            return;
        if (woken == WAIT_OBJECT_0 + 1)
            ++goSignals;
        else if (woken < WAIT_OBJECT_0 + count)
            onCompleted(*owners[woken - WAIT_OBJECT_0]);
    }
}

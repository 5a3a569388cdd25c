#pragma once
#include <windows.h>

#include <ostream>
#include <vector>

#include "handle_script.h"

// Serves a script over the simulated handle's pipe. Until a "clock" step,
// each report goes to one waiting read at a time, in script order, and counts
// as delivered only when the program's side answers that it took it; a
// report still untaken when its connection closes is served again. While the
// script holds back, and after its end, reads get nothing. On the clock, each
// report is written at once into every open connection that holds fewer than
// QUEUE_LIMIT untaken ones: what is in a pipe cannot be taken back, so a full
// queue drops the newest report, not the oldest.
//
// It writes one line to the log per event: "ready", "taken <line> <n>" (the
// n-th copy of the report on that script line was taken, until the clock),
// "returned" (a report went back unread), "held <ms>" (a wait of the
// program's gave up on a read that had waited that long), "waiting",
// "reached <line> <n>" (the first report of that step on the clock was taken
// after n of the program's reads had gone waiting since it went out), "lost
// <line> <n>" (n of its reports went out while no connection was open),
// "unplugged <GetTickCount>" (as the handle goes), "removed", "added",
// "vanished", "ejected" and "done".
class HandleServer {
public:
    HandleServer(std::vector<ScriptStep> steps, std::ostream& log);
    ~HandleServer();
    HandleServer(const HandleServer&) = delete;
    HandleServer& operator=(const HandleServer&) = delete;

    // Creates the pipe's instances and marks the handle present; false when
    // the pipe exists already (another simulator serves it).
    bool plugIn();
    // Runs until stopEvent is set; every count released on the goSignal
    // semaphore lets one "wait" step pass.
    void run(HANDLE goSignal, HANDLE stopEvent);

private:
    static constexpr int PIPE_INSTANCES = 4;
    static constexpr int QUEUE_LIMIT = 32;  // a HID handle's default

    struct Instance {
        enum State { ABSENT, LISTENING, OPEN };
        HANDLE pipe = INVALID_HANDLE_VALUE;
        OVERLAPPED overlapped{};
        State state = ABSENT;
        int readsWaiting = 0;
        ULONGLONG waitingSince = 0;
        int untaken = 0;       // reports written on the clock
        int untilReached = 0;  // takes until a step's first is taken
        int readsSince = 0;    // waiting reads since it was written
        int reachLine = 0;
        unsigned long long order = 0;  // connections in the order they came
        uint8_t news[QUEUE_LIMIT] = {};
    };

    void unplug();
    void listen(Instance& instance);
    void onConnected(Instance& instance);
    void awaitAnswer(Instance& instance);
    void onCompleted(Instance& instance);
    void onClosed(Instance& instance);
    void advanceScript();
    bool sendDueCopies(const ScriptStep& step);
    bool write(Instance& instance, const std::vector<uint8_t>& bytes);
    void serve();
    DWORD untilWake() const;

    std::vector<ScriptStep> steps;
    std::ostream& log;
    HANDLE presentEvent;
    HANDLE writeEvent;
    Instance instances[PIPE_INSTANCES];
    Instance* outstanding = nullptr;  // holds a report not yet taken
    size_t cursor = 0;
    int takenOfStep = 0;  // on the clock: sent
    int goSignals = 0;
    bool waitAnnounced = false;
    ULONGLONG pauseEnd = 0;
    ULONGLONG wakeAt = 0;  // when the script moves on by itself; 0: never
    bool onClock = false;
    ULONGLONG stepStart = 0;  // of a report step on the clock
    int lostOfStep = 0;
    bool doneAnnounced = false;
    unsigned long long connections = 0;
};

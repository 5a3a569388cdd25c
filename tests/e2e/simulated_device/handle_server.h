#pragma once
#include <windows.h>

#include <ostream>
#include <vector>

#include "handle_script.h"

// Serves a script over the simulated handle's pipe: each report goes to one
// connection at a time, in script order, and counts as delivered only when
// the program's side answers that it took it; a report whose read timed out
// is served again to the next connection. While the script holds back, and
// after its end, connections get nothing and their reads time out.
//
// It writes one line to the log per event: "ready", "taken <line> <n>" (the
// n-th copy of the report on that script line was taken), "returned" (a
// report went back unread), "held <ms>" (a connection closed after that long
// without a report), "waiting", "unplugged <GetTickCount>" (as the handle
// goes), "removed", "added", "vanished", "ejected" and "done".
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

    struct Instance {
        enum State { ABSENT, LISTENING, OPEN };
        HANDLE pipe = INVALID_HANDLE_VALUE;
        OVERLAPPED overlapped{};
        State state = ABSENT;
        bool served = false;           // this connection got a report
        unsigned long long order = 0;  // connections in the order they came
        ULONGLONG openedAt = 0;
        uint8_t answer = 0;
    };

    void unplug();
    void listen(Instance& instance);
    void onConnected(Instance& instance);
    void awaitAnswer(Instance& instance);
    void onCompleted(Instance& instance);
    void onClosed(Instance& instance);
    void advanceScript();
    void serve();
    DWORD pauseRemaining() const;

    std::vector<ScriptStep> steps;
    std::ostream& log;
    HANDLE presentEvent;
    HANDLE writeEvent;
    Instance instances[PIPE_INSTANCES];
    Instance* outstanding = nullptr;  // holds a report not yet taken
    size_t cursor = 0;
    int takenOfStep = 0;
    int goSignals = 0;
    bool waitAnnounced = false;
    ULONGLONG pauseEnd = 0;
    bool doneAnnounced = false;
    unsigned long long connections = 0;
};

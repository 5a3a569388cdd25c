// The simulated joystick handle: serves the reports of a script (see
// handle_script.h) over a named pipe that the test build of the program
// lists as the handle. Usage: handle_simulator <script>
// Every line "go" on stdin releases one "wait" step; "quit" or the end of
// stdin unplugs the handle and ends the simulator.
#include <windows.h>

#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "handle_server.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: handle_simulator <script>" << std::endl;
        return 2;
    }
    std::ifstream file(argv[1]);
    if (!file) {
        std::cerr << "cannot open " << argv[1] << std::endl;
        return 2;
    }
    HandleScript script = parseHandleScript(file);
    if (!script.error.empty()) {
        std::cerr << argv[1] << ", " << script.error << std::endl;
        return 2;
    }

    HandleServer server(std::move(script.steps), std::cout);
    if (!server.plugIn()) {
        std::cerr << "the simulated handle is served already" << std::endl;
        return 1;
    }
    const HANDLE goSignal = CreateSemaphoreA(nullptr, 0, 1000, nullptr);
    const HANDLE stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread commands([&] {
        std::string line;
        while (std::getline(std::cin, line) && line != "quit")
            if (line == "go")
                ReleaseSemaphore(goSignal, 1, nullptr);
        SetEvent(stopEvent);
    });
    server.run(goSignal, stopEvent);
    commands.join();
    return 0;
}

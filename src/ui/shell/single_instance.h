#pragma once
#include <string>

// Exit code of a second start that found the program running but could not
// hand over to it.
constexpr int EXIT_ALREADY_RUNNING = 4;

// Claims the session's one place for the program, which the process then
// holds until it ends, however it ends. False when another instance holds it.
bool claimSingleInstance();

// A second start's whole work: waits up to 5 s for the running instance's
// main window (it may still be starting), hands it documentPath by its full
// path (empty: no file) and lets it come to the front. 0 when the window took the hand-over;
// otherwise tells the user and gives EXIT_ALREADY_RUNNING. Never reads the
// handle or shows a window of its own.
int handOverToRunningInstance(const std::string& documentPath);

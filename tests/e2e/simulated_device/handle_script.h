#pragma once
#include <istream>
#include <string>
#include <vector>

#include "simulated_report.h"

// A script for the handle simulator, one step a line ('#' starts a comment):
//   report <count> [x=..] [y=..] [z=..] [pitch=..] [roll=..] [yaw=..]
//                  [buttons=1,3,40] [id=1] [len=17]
//                        the report, served to <count> reads in a row;
//                        axes default to the centre 511, no button pressed
//   pause <ms>           nothing to read for that long: reads time out
//   clock                from here on the handle sends on its own clock, as
//                        a real one: "report" sends <count> copies 1 ms
//                        apart, each to the queue of every connection open
//                        at that moment (lost when there is none), "pause"
//                        sends nothing for that long
//   wait                 nothing to read until "go" arrives on stdin
//   remove               unplug the handle and broadcast the removal
//   add                  plug it in again and broadcast the arrival
//   vanish               unplug the handle without any notice
//   eject                broadcast the removal of a volume (a memory stick);
//                        the handle stays
struct ScriptStep {
    enum Kind { REPORT, PAUSE, WAIT, REMOVE, ADD, VANISH, EJECT, CLOCK };
    Kind kind;
    int line;              // in the script, for the log
    int count = 0;         // REPORT: how many reads get it
    int milliseconds = 0;  // PAUSE
    SimulatedReport report;
};

struct HandleScript {
    std::vector<ScriptStep> steps;
    std::string error;  // empty when the whole script was understood
};

HandleScript parseHandleScript(std::istream& text);

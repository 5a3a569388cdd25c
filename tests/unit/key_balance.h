#pragma once
#include <map>
#include <string>
#include <vector>

#include "scripted_ports.h"

// Follows every code through the recorded calls: a key-up may only undo a
// key-down, so per code the running count of downs never falls below ups.
struct KeyBalance {
    std::map<uint16_t, int> down;  // downs minus ups per code
    std::string firstFault;

    void follow(const std::vector<RecordedCall>& calls)
    {
        for (const RecordedCall& call : calls)
            for (const KeyEvent& event : call.events) {
                int& count = down[event.code];
                count += event.up ? -1 : 1;
                if (count < 0 && firstFault.empty())
                    firstFault = "key-up of " + std::to_string(event.code) + " without key-down at read " +
                                 std::to_string(call.read);
            }
    }

    std::string stillDown() const
    {
        std::string codes;
        for (const auto& [code, count] : down)
            if (count != 0)
                codes += " " + std::to_string(code) + "x" + std::to_string(count);
        return codes;
    }
};

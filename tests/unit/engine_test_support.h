#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "engine/output_loop.h"
#include "scripted_ports.h"

// A joystick report as the handle sends it: ID 1, six packed 10-bit axes,
// the button bits at byte 9 (17-byte reports) or byte 12 (other lengths).
inline ScriptedReport joystickReport(std::vector<int> axes, uint64_t buttons, int length = 17, uint8_t id = 1)
{
    axes.resize(AXIS_COUNT, AXIS_CENTRE);
    ScriptedReport report{length, {}};
    report.bytes[0] = id;
    uint64_t packed = 0;
    for (int k = 0; k < AXIS_COUNT; ++k)
        packed |= static_cast<uint64_t>(axes[k] & 0x3FF) << (10 * k);
    for (int i = 0; i < 8; ++i)
        report.bytes[1 + i] = static_cast<uint8_t>(packed >> (8 * i));
    const int firstButtonByte = length == 17 ? 9 : 12;
    for (int i = 0; i < 8; ++i)
        report.bytes[firstButtonByte + i] = static_cast<uint8_t>(buttons >> (8 * i));
    return report;
}

inline ScriptedReport centred(uint64_t buttons = 0)
{
    return joystickReport({}, buttons);
}

inline ScriptedReport xAt(int x, uint64_t buttons = 0)
{
    return joystickReport({x}, buttons);
}

inline uint64_t button(int number)
{
    return uint64_t{1} << (number - 1);
}

// Each SendInput call as "<read>: +65 -66", the read being the cycle's
// 1-based report read, '+' a key-down record and '-' a key-up record.
inline std::vector<std::string> describe(const std::vector<RecordedCall>& calls)
{
    std::vector<std::string> lines;
    for (const RecordedCall& call : calls) {
        std::string line = std::to_string(call.read) + ":";
        for (const KeyEvent& event : call.events)
            line += std::string(event.up ? " -" : " +") + std::to_string(event.code);
        lines.push_back(line);
    }
    return lines;
}

// Runs the loop over the whole script; the last report's cycle is the final one.
inline std::vector<std::string> runScript(ScriptedPorts& ports, const KeyTable& table)
{
    std::atomic<bool> stopRequested{false};
    ports.stopAfterScript = &stopRequested;
    runOutputLoop(ports, table, stopRequested);
    return describe(ports.calls);
}

inline void repeat(std::vector<ScriptedReport>& script, const ScriptedReport& report, int times)
{
    script.insert(script.end(), times, report);
}

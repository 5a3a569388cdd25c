#include "handle_script.h"

#include <sstream>

namespace {

bool parseNumber(const std::string& text, int low, int high, int& value)
{
    size_t used = 0;
    try {
        value = std::stoi(text, &used, 0);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size() && value >= low && value <= high;
}

bool parseButtons(const std::string& list, uint64_t& bits)
{
    bits = 0;
    std::istringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        int button = 0;
        if (!parseNumber(item, 1, 64, button))
            return false;
        bits |= uint64_t{1} << (button - 1);
    }
    return true;
}

// One "name=value" field of a report line.
bool parseReportField(const std::string& field, SimulatedReport& report)
{
    static const char* const axisNames[AXIS_COUNT] = {"x", "y", "z", "pitch", "roll", "yaw"};
    const size_t equals = field.find('=');
    if (equals == std::string::npos)
        return false;
    const std::string name = field.substr(0, equals);
    const std::string value = field.substr(equals + 1);
    for (int axis = 0; axis < AXIS_COUNT; ++axis)
        if (name == axisNames[axis])
            return parseNumber(value, 0, 1023, report.axisValue[axis]);
    if (name == "buttons")
        return parseButtons(value, report.buttonBits);
    int number = 0;
    if (name == "id" && parseNumber(value, 0, 255, number)) {
        report.reportId = static_cast<uint8_t>(number);
        return true;
    }
    if (name == "len")
        return parseNumber(value, 1, REPORT_BUFFER_SIZE, report.length);
    return false;
}

bool parseStep(std::istringstream& words, const std::string& command, ScriptStep& step)
{
    std::string word;
    if (command == "report") {
        step.kind = ScriptStep::REPORT;
        if (!(words >> word) || !parseNumber(word, 1, 1000000, step.count))
            return false;
        while (words >> word)
            if (!parseReportField(word, step.report))
                return false;
        return true;
    }
    if (command == "pause") {
        step.kind = ScriptStep::PAUSE;
        if (!(words >> word) || !parseNumber(word, 0, 600000, step.milliseconds))
            return false;
    } else if (command == "wait") {
        step.kind = ScriptStep::WAIT;
    } else if (command == "remove") {
        step.kind = ScriptStep::REMOVE;
    } else if (command == "add") {
        step.kind = ScriptStep::ADD;
    } else if (command == "vanish") {
        step.kind = ScriptStep::VANISH;
    } else if (command == "eject") {
        step.kind = ScriptStep::EJECT;
    } else if (command == "clock") {
        step.kind = ScriptStep::CLOCK;
    } else {
        return false;
    }
    return !(words >> word);
}

}  // namespace

HandleScript parseHandleScript(std::istream& text)
{
    HandleScript script;
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) {
        const size_t comment = line.find('#');
        std::istringstream words(line.substr(0, comment));
        std::string command;
        if (!(words >> command))
            continue;
        ScriptStep step{};
        step.line = number;
        if (!parseStep(words, command, step)) {
            script.error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            script.steps.clear();
            return script;
        }
        script.steps.push_back(step);
    }
    return script;
}

#include <gtest/gtest.h>

#include <sstream>

#include "simulated_device/handle_script.h"

namespace {

HandleScript parsed(const std::string& text)
{
    std::istringstream stream(text);
    return parseHandleScript(stream);
}

}  // namespace

TEST(HandleScript, ReadsEveryKindOfStepWithItsLine)
{
    const HandleScript script = parsed("# start when told\n"
                                       "wait\n"
                                       "\n"
                                       "report 12 x=700 y=300 buttons=1,3,40 len=20   # held\n"
                                       "report 1 id=2 pitch=0x3FF\n"
                                       "pause 250\n"
                                       "remove\n"
                                       "add\n"
                                       "vanish\n"
                                       "eject\n"
                                       "clock\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.steps.size(), 9u);

    EXPECT_EQ(script.steps[0].kind, ScriptStep::WAIT);
    EXPECT_EQ(script.steps[0].line, 2);

    const ScriptStep& held = script.steps[1];
    EXPECT_EQ(held.kind, ScriptStep::REPORT);
    EXPECT_EQ(held.line, 4);
    EXPECT_EQ(held.count, 12);
    EXPECT_EQ(held.report.axisValue[0], 700);
    EXPECT_EQ(held.report.axisValue[1], 300);
    EXPECT_EQ(held.report.axisValue[2], 511);
    EXPECT_EQ(held.report.buttonBits, (1ULL << 0) | (1ULL << 2) | (1ULL << 39));
    EXPECT_EQ(held.report.reportId, 1);
    EXPECT_EQ(held.report.length, 20);

    const ScriptStep& foreign = script.steps[2];
    EXPECT_EQ(foreign.report.reportId, 2);
    EXPECT_EQ(foreign.report.axisValue[3], 1023);
    EXPECT_EQ(foreign.report.buttonBits, 0u);
    EXPECT_EQ(foreign.report.length, 17);

    EXPECT_EQ(script.steps[3].kind, ScriptStep::PAUSE);
    EXPECT_EQ(script.steps[3].milliseconds, 250);
    EXPECT_EQ(script.steps[4].kind, ScriptStep::REMOVE);
    EXPECT_EQ(script.steps[5].kind, ScriptStep::ADD);
    EXPECT_EQ(script.steps[6].kind, ScriptStep::VANISH);
    EXPECT_EQ(script.steps[7].kind, ScriptStep::EJECT);
    EXPECT_EQ(script.steps[8].kind, ScriptStep::CLOCK);
}

// A typing error must stop the simulator, not quietly serve another report.
TEST(HandleScript, RejectsWhatItCannotServeNamingTheLine)
{
    const char* const wrong[] = {
        "report 1 x=1024",
        "report 1 buttons=0",
        "report 1 buttons=65",
        "report 1 buttons=1,,2",
        "report 0 x=700",
        "report x=700",
        "report 1 len=33",
        "report 1 len=0",
        "report 1 id=256",
        "report 1 throttle=5",
        "report 1 x700",
        "pause",
        "pause 10 20",
        "wait 5",
        "unplug",
        "report 1 x=7o0",
    };
    for (const char* line : wrong) {
        const HandleScript script = parsed(std::string("report 1\n") + line + "\n");
        EXPECT_EQ(script.error.rfind("line 2:", 0), 0u) << line << " gave \"" << script.error << "\"";
        EXPECT_TRUE(script.steps.empty()) << line;
    }
}

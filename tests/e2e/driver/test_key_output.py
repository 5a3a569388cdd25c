"""The keys that reach the application in the foreground while output runs."""
import e2e_case
from emulator_files import KeyTable, windows_path
from expected_keys import output_run
from handle_script import CLOCK, WAIT, delivered, pause, report

VK_A, VK_B, VK_C, VK_D, VK_E, VK_F, VK_Q, VK_S, VK_F10 = 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x51, 0x53, 0x79
VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP = 1, 0x201, 0x202

# Buttons 1, 3 and 40; X+ and Y- pulse. X- and Y+ have keys too, but the
# axes never lean that way; Z+ has one while Z stays centred.
TABLE = KeyTable(buttons={1: VK_A, 3: VK_F, 40: VK_F10},
                 axes={"X+": VK_D, "X-": VK_Q, "Y+": VK_E, "Y-": VK_S, "Z+": 0x5A},
                 pulse_enabled=True, cycle_steps=6)


def pulsing(cycles, **extra):
    """X held at 700 and Y at 300 (both 2 of 6 cycles down with 6 steps),
    buttons 3 and 40 held, and button 1 toggled every cycle: each cycle then
    shows in the log as exactly one A event, a clock to count cycles by."""
    return [report(1, x=700, y=300, buttons=[3, 40] + ([1] if c % 2 == 0 else []), **extra)
            for c in range(cycles)]


SCRIPT = [
    WAIT,
    report(1, buttons=[1]),
    report(2),
    report(1, buttons=[3]),
    report(1, buttons=[3, 40]),
    report(1, id=2),                         # not the handle's report: no cycle
    *pulsing(9),
    # Reads time out and nothing moves. A read gives up after 16 ms, so the
    # two such reads asserted below fit more than ten times into the pause.
    pause(400),
    *pulsing(9),
    report(1, x=1023, buttons=[1], id=2),    # no cycle either
    *pulsing(7, length=20),                  # buttons from byte 12 on
]


# A, Up, keypad 8, right Ctrl and keypad "/": their codes, scan codes (E0xx:
# extended) and DirectInput codes. Buttons 1-5 press and release them in
# turn, then button 6 presses the left mouse button and holds it.
GAME_KEYS = [(VK_A, 0x1E, 0x1E), (0x26, 0xE048, 0xC8), (0x68, 0x48, 0x48), (0xA3, 0xE01D, 0x9D), (0x6F, 0xE035, 0xB5)]
GAME_TABLE = KeyTable(buttons={**{n + 1: key[0] for n, key in enumerate(GAME_KEYS)}, 6: VK_LBUTTON})
GAME_SCRIPT = [WAIT, *[r for n in range(1, 6) for r in (report(1, buttons=[n]), report(1))], report(1, buttons=[6])]

# A handle that reports only what changes presses buttons 1 and 2 and lets
# go of them 3 ms apart, each in its own report, round after round, each
# change once its keys came; then one that reports every millisecond for 2 s
# holds button 3 for the middle second.
ROUNDS = 20
ON_ITS_CLOCK = [CLOCK, *[step for _ in range(ROUNDS) for step in (
    WAIT, report(1, buttons=[1, 2]), WAIT, report(1, buttons=[2]), pause(3), report(1))],
    WAIT, report(500), report(1000, buttons=[3]), report(500)]


def cycles_between(events, first, second, clock=VK_A):
    """How many clock events lie between the first event of each kind."""
    start = events.index(first)
    end = events.index(second, start + 1)
    return sum(1 for _, code in events[start:end] if code == clock)


class KeyOutputTest(e2e_case.EmulatorTestCase):
    def test_reports_become_the_expected_keys_and_every_key_is_released(self):
        key_file = self.write_key_file(TABLE)
        self.write_settings(last_file=windows_path(key_file), run_by_default=True)
        recorder = self.start_recorder()
        simulator = self.start_simulator(SCRIPT)
        # Started as Windows starts it at log-on: the window stays hidden,
        # its icon in the notification area, and output runs all the same.
        emulator = self.start(self.emulator_exe, "--minimized", talk=False)
        hidden_and_connected = (False, "Corvanta Key Press Emulator [keys.qvxkeys] - Connected")
        self.assert_becomes(self.window_state, hidden_and_connected)
        recorder.send("focus")
        self.assertEqual(recorder.expect("focused", timeout=10), "focused 1")

        simulator.send("go")
        simulator.expect("done", timeout=60)
        self.assertEqual(self.window_state(), hidden_and_connected)
        self.close_emulator(emulator)
        simulator.send("quit")
        self.assertEqual(simulator.wait(), 0)
        events = self.recorded_keys(recorder)

        reports = delivered(SCRIPT)
        self.assertEqual(sum(line.startswith("taken") for line in simulator.lines), len(reports))
        # The pause: the reads found nothing, gave up and came back, again
        # and again, instead of waiting for the next report.
        pause_line = SCRIPT.index(pause(400)) + 1
        log = simulator.lines
        before = max(n for n, line in enumerate(log) if line.startswith(f"taken {pause_line - 1} "))
        after = log.index(f"taken {pause_line + 1} 1")
        self.assertGreaterEqual(sum(line.startswith("held") for line in log[before:after]), 2, log[before:after])
        self.assertEqual(events, output_run(TABLE, reports))

        # The same, restated from the rules by hand.
        pulse = events[events.index(("down", VK_D)):]
        self.assertEqual(cycles_between(pulse, ("down", VK_D), ("up", VK_D)), 2)
        self.assertEqual(cycles_between(pulse, ("down", VK_D), ("down", VK_D)), 6)
        self.assertEqual(cycles_between(pulse, ("down", VK_S), ("up", VK_S)), 2)
        self.assertEqual(events[:4], [("down", VK_A), ("up", VK_A), ("down", VK_F), ("down", VK_F10)])
        for never in (VK_Q, VK_E, 0x5A):
            self.assertNotIn(never, [code for _, code in events])
        down = set()
        for kind, code in events:
            (down.add if kind == "down" else down.discard)(code)
        self.assertEqual(down, set(), "keys left pressed")

    def logged(self, source):
        return [(kind, int(code, 16)) for kind, code, _ in self.key_log_lines() if kind.startswith(source)]

    def test_games_read_the_scan_codes_and_the_mouse_button_clicks_until_output_stops(self):
        self.write_settings(last_file=windows_path(self.write_key_file(GAME_TABLE)), run_by_default=True)
        recorder = self.start_recorder()
        simulator = self.start_simulator(GAME_SCRIPT)
        emulator, _ = self.start_emulator(title=r"\[keys\.qvxkeys\] - Connected$")
        self.bring_recorder_forward(recorder)
        simulator.send("go")
        self.assert_becomes(lambda: self.logged("mouse"), [("mouse", WM_LBUTTONDOWN)])
        for source, column in (("scan", 1), ("raw", 1), ("dik", 2)):
            self.assert_becomes(lambda: self.logged(source),
                                [(source + edge, key[column]) for key in GAME_KEYS for edge in ("down", "up")])
        # Stop, pressed while the button is held, lets go of it.
        self.assertEqual(self.window_tool("click", e2e_case.EMULATOR_CLASS, e2e_case.STOP_BUTTON_ID)[0], 0)
        self.assert_becomes(lambda: self.logged("mouse"), [("mouse", WM_LBUTTONDOWN), ("mouse", WM_LBUTTONUP)])
        self.close_emulator(emulator)

    def test_no_report_of_a_handle_on_its_own_clock_is_lost_or_late(self):
        key_file = self.write_key_file(KeyTable(buttons={1: VK_A, 2: VK_B, 3: VK_C}))
        self.write_settings(last_file=windows_path(key_file), run_by_default=True)
        recorder = self.start_recorder()
        simulator = self.start_simulator(ON_ITS_CLOCK)
        emulator, _ = self.start_emulator(title=r"\[keys\.qvxkeys\] - Connected$")
        self.bring_recorder_forward(recorder)

        # Every key comes up while output runs, not at its end.
        expected = []
        for events in [[("down", VK_A), ("down", VK_B)], [("up", VK_A), ("up", VK_B)]] * ROUNDS + [[("down", VK_C), ("up", VK_C)]]:
            simulator.send("go")
            expected += events
            self.assert_becomes(lambda: [(kind, int(code)) for kind, code, _ in self.key_log_lines()
                                         if kind in ("down", "up")], expected)
        simulator.expect("done", timeout=60)
        self.close_emulator(emulator)
        simulator.send("quit")
        self.assertEqual(simulator.wait(), 0)
        self.assertEqual(self.recorded_keys(recorder), expected)
        self.assertEqual([line for line in simulator.lines if line.startswith("lost")], [])
        # No backlog: the cycle that lets go of C takes the first report
        # without button 3 at the latest one cycle after it could have, here
        # counted in the cycles' reads rather than in time a busy machine sets.
        reached = next(line for line in simulator.lines if line.startswith(f"reached {len(ON_ITS_CLOCK)} "))
        self.assertLessEqual(int(reached.split()[2]), 1, reached)


if __name__ == "__main__":
    e2e_case.main()

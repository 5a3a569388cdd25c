"""Output follows the handle with "Run By Default" on: it starts by itself
when the handle is plugged in, runs on when another device goes, and lets go
of every key when the handle goes, whether its removal is announced or not."""
import time

import desktop
import e2e_case
from emulator_files import KeyTable, windows_path
from expected_keys import output_run
from handle_script import ADD, EJECT, REMOVE, VANISH, WAIT, delivered, report

VK_A, VK_B, VK_D = 0x41, 0x42, 0x44
TABLE = KeyTable(buttons={1: VK_A, 2: VK_B}, axes={"X+": VK_D}, pulse_enabled=True, cycle_steps=6)

# A memory stick goes while button 1 is held; D, A and B are down when the
# handle is pulled out, B when it goes without any notice.
FIRST_RUN = [report(1, buttons=[1]), EJECT, report(2, buttons=[1]), report(4, x=1023, buttons=[1, 2])]
SECOND_RUN = [report(2, x=600), report(3, x=600, buttons=[2])]
# The handle is not plugged in when the program starts.
SCRIPT = [REMOVE, WAIT, ADD, *FIRST_RUN, WAIT, REMOVE, WAIT, ADD, *SECOND_RUN, VANISH]


class DeviceChangeTest(e2e_case.EmulatorTestCase):
    def output_buttons(self):
        """(Start enabled, Stop enabled)."""
        return self.control(e2e_case.START_BUTTON_ID).enabled, self.control(e2e_case.STOP_BUTTON_ID).enabled

    def assert_keys_released_in_time(self, expected, releases, unplugged):
        """Waits for the expected keys in the recorder's log; the last
        `releases` of them come within 1 s of the handle's going (message
        times and the simulator's ticks are milliseconds of one clock)."""
        deadline = time.monotonic() + 20
        while True:
            logged = [(kind, int(code), int(when)) for kind, code, when in self.key_log_lines()
                      if kind in ("down", "up")]
            if len(logged) >= len(expected) or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        self.assertEqual([(kind, code) for kind, code, _ in logged], expected)
        self.assertTrue(all(kind == "up" for kind, _ in expected[-releases:]))
        for _, _, when in logged[-releases:]:
            self.assertLessEqual((when - unplugged + 2**31) % 2**32 - 2**31, 1000)

    def test_output_follows_the_handle(self):
        key_file = self.write_key_file(TABLE)
        self.write_settings(last_file=windows_path(key_file), run_by_default=True)
        recorder = self.start_recorder()
        simulator = self.start_simulator(SCRIPT)
        simulator.expect("removed")
        emulator, window = self.start_emulator(title=r"\[keys\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.output_buttons(), (False, False))
        self.bring_recorder_forward(recorder)

        simulator.send("go")
        simulator.expect("added", timeout=20)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Connected$")
        self.assertEqual(self.output_buttons(), (False, True))
        simulator.expect("ejected", timeout=60)
        simulator.expect("waiting", timeout=60)

        simulator.send("go")
        unplugged = int(simulator.expect("unplugged", timeout=20).split()[1])
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.output_buttons(), (False, False))
        first_run = output_run(TABLE, delivered(FIRST_RUN))
        self.assert_keys_released_in_time(first_run, 3, unplugged)

        simulator.send("go")
        simulator.expect("added", timeout=20)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Connected$")
        unplugged = int(simulator.expect("unplugged", timeout=60).split()[1])
        second_run = output_run(TABLE, delivered(SECOND_RUN))
        self.assert_keys_released_in_time(first_run + second_run, 1, unplugged)
        # Nothing told the window.
        self.assertRegex(desktop.window_title(window), r" - Connected$")

        simulator.expect("done", timeout=20)
        self.close_emulator(emulator)
        simulator.send("quit")
        self.assertEqual(simulator.wait(), 0)
        # Each run starts afresh: the pulse at its first phase, no button down.
        self.assertEqual(self.recorded_keys(recorder), first_run + second_run)


if __name__ == "__main__":
    e2e_case.main()

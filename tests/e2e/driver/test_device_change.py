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
START_BUTTON_ID, STOP_BUTTON_ID = 10000, 10001
TABLE = KeyTable(buttons={1: VK_A, 2: VK_B}, axes={"X+": VK_D}, pulse_enabled=True, cycle_steps=6)
RELEASE_WITHIN_MS = 1000

# A memory stick is pulled out while button 1 is held; buttons 1 and 2 and
# X+ are down when the handle is pulled out.
FIRST_RUN = [report(1, buttons=[1]), EJECT, report(2, buttons=[1]), report(4, x=1023, buttons=[1, 2])]
FIRST_RELEASES = [("up", VK_D), ("up", VK_A), ("up", VK_B)]
# Button 2 is down when the handle goes without any notice.
SECOND_RUN = [report(2, x=600), report(3, x=600, buttons=[2])]
SECOND_RELEASES = [("up", VK_B)]
# The handle is not plugged in when the program starts.
SCRIPT = [REMOVE, WAIT, ADD, *FIRST_RUN, WAIT, REMOVE, WAIT, ADD, *SECOND_RUN, VANISH]


class DeviceChangeTest(e2e_case.EmulatorTestCase):
    def output_buttons(self):
        """(Start enabled, Stop enabled)."""
        return self.control(START_BUTTON_ID).enabled, self.control(STOP_BUTTON_ID).enabled

    def logged_keys(self):
        """[(kind, code, message time in ms), ...] in the recorder's log so far."""
        return [(kind, int(code), int(when)) for kind, code, when in
                (line.split() for line in self.key_log.read_text().splitlines()) if kind in ("down", "up")]

    def wait_for_keys(self, expected, timeout=20):
        """The message times of the expected keys, once all of them are logged."""
        deadline = time.monotonic() + timeout
        while len(self.logged_keys()) < len(expected) and time.monotonic() < deadline:
            time.sleep(0.1)
        logged = self.logged_keys()
        self.assertEqual([(kind, code) for kind, code, _ in logged], expected)
        return [when for _, _, when in logged]

    def assert_released_in_time(self, times, releases, unplugged):
        """The releases end the keys so far, each within the bound after the
        handle went (message times are milliseconds of the same clock)."""
        for when in times[-len(releases):]:
            late = (when - unplugged + 2**31) % 2**32 - 2**31
            self.assertLessEqual(late, RELEASE_WITHIN_MS)

    def test_output_follows_the_handle(self):
        key_file = self.write_key_file(TABLE)
        self.write_settings(last_file=windows_path(key_file), run_by_default=True)
        recorder = self.start_recorder()
        simulator = self.start_simulator(SCRIPT)
        simulator.expect("removed")
        emulator, window = self.start_emulator(title=r"\[keys\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.output_buttons(), (False, False))
        self.bring_recorder_forward(recorder)

        # Plugged in, it starts output; the memory stick changes nothing.
        simulator.send("go")
        simulator.expect("added", timeout=20)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Connected$")
        self.assertEqual(self.output_buttons(), (False, True))
        simulator.expect("ejected", timeout=60)
        simulator.expect("waiting", timeout=60)

        # Pulled out with keys held.
        simulator.send("go")
        unplugged = int(simulator.expect("unplugged", timeout=60).split()[1])
        simulator.expect("removed", timeout=20)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.output_buttons(), (False, False))
        first_run = output_run(TABLE, delivered(FIRST_RUN))
        self.assertEqual(first_run[-len(FIRST_RELEASES):], FIRST_RELEASES)
        self.assert_released_in_time(self.wait_for_keys(first_run), FIRST_RELEASES, unplugged)

        # Plugged in again, then gone without a word: the title cannot know.
        simulator.send("go")
        simulator.expect("added", timeout=20)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Connected$")
        unplugged = int(simulator.expect("unplugged", timeout=60).split()[1])
        simulator.expect("vanished", timeout=20)
        second_run = output_run(TABLE, delivered(SECOND_RUN))
        self.assertEqual(second_run[-len(SECOND_RELEASES):], SECOND_RELEASES)
        self.assert_released_in_time(self.wait_for_keys(first_run + second_run), SECOND_RELEASES, unplugged)
        self.assertRegex(desktop.window_title(window), r" - Connected$")

        simulator.expect("done", timeout=20)
        self.close_emulator(emulator)
        simulator.send("quit")
        self.assertEqual(simulator.wait(), 0)
        # Each run starts afresh: the pulse at its first phase, no button down.
        self.assertEqual(self.recorded_keys(recorder), first_run + second_run)


if __name__ == "__main__":
    e2e_case.main()

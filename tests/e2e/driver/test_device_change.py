"""Output stops when the handle is pulled out and starts again by itself when
it comes back, with "Run By Default" on."""
import desktop
import e2e_case
from emulator_files import KeyTable, windows_path
from expected_keys import output_run
from handle_script import ADD, REMOVE, WAIT, delivered, report

VK_A, VK_B, VK_D = 0x41, 0x42, 0x44
START_BUTTON_ID, STOP_BUTTON_ID = 10000, 10001
TABLE = KeyTable(buttons={1: VK_A, 2: VK_B}, axes={"X+": VK_D}, pulse_enabled=True, cycle_steps=6)

BEFORE_REMOVAL = [report(1, buttons=[1]), report(4, x=1023, buttons=[1, 2])]
AFTER_ARRIVAL = [report(2, x=600), report(3, x=600, buttons=[2])]
SCRIPT = [WAIT, *BEFORE_REMOVAL, REMOVE, WAIT, ADD, *AFTER_ARRIVAL]


class DeviceChangeTest(e2e_case.EmulatorTestCase):
    def output_buttons(self):
        """(Start enabled, Stop enabled)."""
        return self.control(START_BUTTON_ID).enabled, self.control(STOP_BUTTON_ID).enabled

    def keys_so_far(self):
        return [tuple(line.split()[:2]) for line in self.key_log.read_text().splitlines()
                if line.split()[0] in ("down", "up")]

    def test_removal_releases_the_keys_and_arrival_restarts_output(self):
        key_file = self.write_key_file(TABLE)
        self.write_settings(last_file=windows_path(key_file), run_by_default=True)
        recorder = self.start_recorder()
        simulator = self.start_simulator(SCRIPT)
        emulator, window = self.start_emulator(title=r" - Connected$")
        self.assertEqual(self.output_buttons(), (False, True))
        self.bring_recorder_forward(recorder)

        simulator.send("go")
        simulator.expect("removed", timeout=60)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.output_buttons(), (False, False))
        first_run = output_run(TABLE, delivered(BEFORE_REMOVAL))
        self.assertEqual(self.keys_so_far(), [(kind, str(code)) for kind, code in first_run])

        simulator.send("go")
        simulator.expect("added", timeout=20)
        desktop.wait_for_title(window, r"\[keys\.qvxkeys\] - Connected$")
        self.assertEqual(self.output_buttons(), (False, True))
        simulator.expect("done", timeout=60)
        self.close_emulator(emulator)
        simulator.send("quit")
        self.assertEqual(simulator.wait(), 0)

        # Each run starts afresh: the pulse at its first phase, no button down.
        self.assertEqual(self.recorded_keys(recorder), first_run + output_run(TABLE, delivered(AFTER_ARRIVAL)))


if __name__ == "__main__":
    e2e_case.main()

"""A user's session, mouse and keyboard only: keys chosen by pressing them,
saved through the menu and the real save dialog, found again at the next
start, and quits with unsaved changes, saved before or never."""
import time

import desktop
import e2e_case
from emulator_files import KeyTable, read_key_code_file, windows_path

CONTINUOUS_SELECT_ID = 10002
CLOSE_QUESTION_TEXT_ID = 0xFFFF  # the message box's text


def select_id(slot):
    return 10006 + 3 * slot


def key_list_id(slot):
    return 10007 + 3 * slot


class UserSessionTest(e2e_case.EmulatorTestCase):
    def shown_keys(self, slots):
        return [self.control(key_list_id(slot)).text for slot in slots]

    def press_into_slot(self, key, slot, name):
        """Holds the key down until the slot shows it: the capture looks at the
        keyboard on a timer, and a busy machine can delay the emulator past
        any fixed hold, so that it sees the key go down and up at once."""
        desktop.key_down(key)
        try:
            self.assert_becomes(lambda: self.shown_keys([slot]), [name])
        finally:
            desktop.key_up(key)

    def answer_close_question(self, key):
        desktop.wait_for_window("^Continue\\?$")
        self.assertEqual(self.control(CLOSE_QUESTION_TEXT_ID, "#32770").text, "Close without saving?")
        desktop.keys(key)

    def test_keys_pressed_into_slots_are_saved_reopened_and_not_lost_unasked(self):
        emulator, window = self.start_emulator(title=r"Emulator - Not Connected$")
        # Without a window manager a click does not move the X server's
        # keyboard focus, as a user's window manager would.
        desktop.focus(window)

        # Continuous Select on: the settings file is written at once.
        self.click_control(CONTINUOUS_SELECT_ID)
        self.wait_until(lambda: self.control(CONTINUOUS_SELECT_ID).checked, "Continuous Select stayed off")
        self.assertEqual(self.read_settings(), (True, False, ""))

        # Select slot 0 and press three keys: they fill slots 0, 1 and 2, and
        # the capture waits on slot 3.
        self.click_control(select_id(0))
        self.wait_until(lambda: self.control(select_id(0)).checked, "the Select button did not stay pressed")
        for slot, (key, name) in enumerate([("a", "A"), ("b", "B"), ("F5", "F5")]):
            self.press_into_slot(key, slot, name)
        self.assertEqual(self.shown_keys([0, 1, 2]), ["A", "B", "F5"])
        self.assertTrue(self.control(select_id(3)).checked)
        self.assertEqual(self.shown_keys([3]), [""])
        # Unnamed: the changes show nowhere in the title.
        self.assertRegex(desktop.window_title(window), r"Emulator - Not Connected$")

        # Never saved, yet Quit asks; Cancel keeps the window and the keys.
        self.click_control(select_id(3))
        self.wait_until(lambda: not self.control(select_id(3)).checked, "the capture did not end")
        desktop.keys("ctrl+q")
        self.answer_close_question("Escape")
        desktop.focus(window)
        self.assertEqual(self.shown_keys([0, 1, 2]), ["A", "B", "F5"])

        # File, Save As..., a name typed into the system's save dialog.
        desktop.keys("alt+f")
        for _ in range(3):
            desktop.keys("Down")
        desktop.keys("Return")
        dialog = desktop.wait_for_window("^Save As$")
        desktop.wait_for_title(dialog, "^Save As$")
        time.sleep(0.5)
        desktop.screenshot(*self.window_rect("#32770"), e2e_case.artifact("save-as-dialog.png"))
        # The dialog opens in whichever folder Wine remembers: the whole path,
        # without the extension, which the dialog adds.
        desktop.type_text(windows_path(self.folder / "session"))
        desktop.keys("Return")
        desktop.wait_for_title(window, r"\[session\.qvxkeys\] - Not Connected$")

        saved = self.folder / "session.qvxkeys"
        expected = KeyTable(buttons={1: 0x41, 2: 0x42, 3: 0x74}, pulse_enabled=False, cycle_steps=6)
        self.assertEqual(read_key_code_file(saved.read_bytes()).__dict__, expected.__dict__)
        self.assertEqual(self.read_settings(), (True, False, windows_path(saved)))
        desktop.keys("ctrl+q")
        self.assertEqual(emulator.wait(), 0)

        # The next start reopens the file and shows its keys.
        emulator, window = self.start_emulator(title=r"\[session\.qvxkeys\] - Not Connected$")
        desktop.focus(window)
        self.assertEqual(self.shown_keys([0, 1, 2, 3]), ["A", "B", "F5", ""])
        self.assertTrue(self.control(CONTINUOUS_SELECT_ID).checked)

        # A change, then Quit: the question comes; Cancel keeps the window.
        self.click_control(select_id(3))
        self.wait_until(lambda: self.control(select_id(3)).checked, "the Select button did not stay pressed")
        self.press_into_slot("d", 3, "D")
        desktop.wait_for_title(window, r"\[\*session\.qvxkeys\] - Not Connected$")
        self.click_control(select_id(4))  # pressed: clicking it ends the capture
        self.wait_until(lambda: not self.control(select_id(4)).checked, "the capture did not end")
        desktop.keys("ctrl+q")
        self.answer_close_question("Escape")
        # The emulator answers questions about its controls from its message
        # loop only, so an answer means the Escape has been dealt with; had it
        # chosen to close, the window would be gone.
        desktop.wait_for_no_window("^Continue\\?$")
        self.assertEqual(self.window_tool("control", e2e_case.EMULATOR_CLASS, CONTINUOUS_SELECT_ID)[0], 0)
        self.assertTrue(emulator.running())
        self.assertRegex(desktop.window_title(window), r"\[\*session\.qvxkeys\]")

        # OK closes without saving.
        desktop.keys("ctrl+q")
        self.answer_close_question("Return")
        self.assertEqual(emulator.wait(), 0)
        self.assertEqual(read_key_code_file(saved.read_bytes()).__dict__, expected.__dict__)

    def test_a_key_file_named_on_the_command_line_is_opened_instead_of_the_last_one(self):
        last = self.write_key_file(KeyTable(buttons={1: 0x4C}), "last.qvxkeys")
        self.write_settings(last_file=windows_path(last))
        # Explorer quotes a path with spaces; Wine passes the argument on so.
        # A console passes a name in any script relative to its folder, which
        # the settings keep as the full path.
        named = self.write_key_file(KeyTable(buttons={1: 0x4E, 2: 0x74}), "named ключи.qvxkeys")
        emulator, window = self.start_emulator(named.name, title=r"\[named ключи\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.shown_keys([0, 1, 2]), ["N", "F5", ""])
        self.assertEqual(self.read_settings(), (False, False, windows_path(named)))

        # A second start hands its file, by its full path, to the running program instead.
        handed = self.write_key_file(KeyTable(buttons={1: 0x48}), "handed over.qvxkeys")
        self.start_again(handed.name)
        desktop.wait_for_title(window, r"\[handed over\.qvxkeys\] - Not Connected$")
        self.assertEqual(self.shown_keys([0, 1]), ["H", ""])
        self.assertEqual(self.read_settings(), (False, False, windows_path(handed)))
        # Without a file it brings the running window to the front.
        recorder = self.start_recorder()
        recorder.send("focus")
        self.assertEqual(recorder.expect("focused", timeout=10), "focused 1")
        self.start_again()

        def foreground():
            recorder.send("foreground")
            return recorder.expect("foreground")
        self.assert_becomes(foreground, "foreground " + e2e_case.EMULATOR_CLASS)
        self.close_emulator(emulator)

    def start_again(self, *args):
        """Another start of the emulator while it runs: it ends with code 0
        within 10 s, and no second main window shows meanwhile."""
        second = self.start(self.emulator_exe, *args, talk=False)
        deadline = time.monotonic() + 10
        while second.running() and time.monotonic() < deadline:
            self.assertEqual(len(desktop.windows(e2e_case.EMULATOR_TITLE)), 1)
            time.sleep(0.1)
        self.assertEqual(second.wait(timeout=1), 0)


if __name__ == "__main__":
    e2e_case.main()

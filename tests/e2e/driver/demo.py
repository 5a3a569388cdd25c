"""The demonstration behind scripts/demo.sh: the simulated handle types a word
into Wine's Notepad through the test build of the emulator, with "Run By
Default" on. Its buttons spell the word, then its X axis held over pulses a
full stop. Saves a picture of both windows, prints what Notepad received and
exits 1 when that is not the expected text.

Usage: demo.py --bin <folder of the e2e programs> --work <demo folder>
               --picture <png> [--stay]
With --stay the windows stay open until the person closes them."""
import argparse
import pathlib
import shutil
import sys
import time

import desktop
from e2e_case import EMULATOR_CLASS, EMULATOR_EXE, EMULATOR_TITLE
from emulator_files import SETTINGS_NAME, KeyTable, key_code_file, settings_file, windows_path
from expected_keys import output_run
from handle_script import WAIT, delivered, pause, report, script_text
from wine_process import WineProcess

NOTEPAD_CLASS = "Notepad"
WORD = "hello"
BUTTONS = {"h": 1, "e": 2, "l": 3, "o": 4}
# Letters' virtual-key codes are their capitals; 0xBE is the full stop key.
CHARACTERS = {ord(letter.upper()): letter for letter in BUTTONS} | {0xBE: "."}
TABLE = KeyTable(buttons={button: ord(letter.upper()) for letter, button in BUTTONS.items()},
                 axes={"X+": 0xBE}, pulse_enabled=True, cycle_steps=6)


def typing(word):
    """Each letter's button pressed for three cycles and released, with a
    pause before the next, so that a watcher sees the letters come."""
    for letter in word:
        yield from (report(3, buttons=[BUTTONS[letter]]), report(1), pause(200))


# X at 800 holds the key down in 3 of every 6 cycles; the script ends with
# the axis back in the centre, so the number of pulses is fixed by the
# number of reports, one output cycle each.
SCRIPT = [WAIT, *typing(WORD), report(36, x=800), report(1)]
EXPECTED_TEXT = "".join(CHARACTERS[code] for kind, code in output_run(TABLE, delivered(SCRIPT)) if kind == "down")


class Demo:
    def __init__(self, options):
        self.bin = pathlib.Path(options.bin).resolve()
        self.folder = pathlib.Path(options.work).resolve()
        self.processes = []
        self.emulator = self.notepad = None

    def start(self, exe, *args, talk=True):
        process = WineProcess(exe, *args, cwd=self.folder, talk=talk)
        self.processes.append(process)
        return process

    def window_tool(self, *args):
        tool = WineProcess(self.bin / "window_tool.exe", *args, cwd=self.folder)
        return tool.wait(), tool.lines

    def window_rect(self, window_class):
        code, lines = self.window_tool("find", window_class)
        if code != 0:
            raise AssertionError(f"no {window_class} window")
        return tuple(map(int, lines[0].split()[1:5]))

    def notepad_text(self):
        code, lines = self.window_tool("text", NOTEPAD_CLASS, "Edit")
        return lines[0][len("text "):] if code == 0 and lines else None

    def prepare_folder(self):
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        shutil.copy(self.bin / EMULATOR_EXE, self.folder)
        key_file = self.folder / "demo.qvxkeys"
        key_file.write_bytes(key_code_file(TABLE))
        (self.folder / SETTINGS_NAME).write_bytes(settings_file(last_file=windows_path(key_file), run_by_default=True))
        (self.folder / "handle.script").write_text(script_text(SCRIPT))

    def place_notepad(self, emulator_rect):
        """Notepad opens where its settings say: right of the emulator, as
        tall, with a large font."""
        left, top, right, bottom = emulator_rect
        values = {"iWindowPosX": right + 10, "iWindowPosY": top, "iWindowPosDX": 480,
                  "iWindowPosDY": bottom - top, "iPointSize": 200}
        lines = ["REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Microsoft\\Notepad]"]
        lines += [f'"{name}"=dword:{value:08x}' for name, value in values.items()]
        settings = self.folder / "notepad.reg"
        settings.write_text("\n".join(lines) + "\n")
        if WineProcess("reg", "import", settings, cwd=self.folder).wait() != 0:
            raise AssertionError("Notepad's settings could not be written")

    def run(self, picture):
        """What Notepad received."""
        self.prepare_folder()
        simulator = self.start(self.bin / "handle_simulator.exe", "handle.script")
        simulator.expect("ready")
        self.emulator = self.start(self.folder / EMULATOR_EXE, talk=False)
        window = desktop.wait_for_window(EMULATOR_TITLE)
        print("emulator:", desktop.wait_for_title(window, r"\[demo\.qvxkeys\] - Connected$"))
        emulator_rect = self.window_rect(EMULATOR_CLASS)
        self.place_notepad(emulator_rect)
        self.notepad = self.start("notepad", talk=False)
        desktop.wait_for_window(" - Notepad$")
        # The keys go to the foreground window, which the emulator took when
        # it was shown.
        if self.window_tool("foreground", NOTEPAD_CLASS)[0] != 0:
            raise AssertionError("Notepad did not keep the foreground")

        simulator.send("go")
        simulator.expect("done", timeout=60)
        deadline = time.monotonic() + 10
        while self.notepad_text() != EXPECTED_TEXT and time.monotonic() < deadline:
            time.sleep(0.1)
        left, top, right, bottom = emulator_rect
        notepad_rect = self.window_rect(NOTEPAD_CLASS)
        desktop.screenshot(min(left, notepad_rect[0]), min(top, notepad_rect[1]), max(right, notepad_rect[2]),
                           max(bottom, notepad_rect[3]), picture)
        print("picture:", picture)
        return self.notepad_text()

    def wait_for_person(self):
        print("Close the emulator and Notepad to end the demo.")
        for process in (self.emulator, self.notepad):
            process.process.wait()

    def close(self):
        """The emulator as its close button closes it, releasing every key;
        Notepad, which would ask to save the text, and the simulator are ended."""
        self.window_tool("close", EMULATOR_CLASS)
        for process in reversed(self.processes):
            process.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--picture", required=True)
    parser.add_argument("--stay", action="store_true")
    options = parser.parse_args()
    demo = Demo(options)
    received = None
    try:
        received = demo.run(pathlib.Path(options.picture).resolve())
        print(f"Notepad received: {received!r} (expected {EXPECTED_TEXT!r})")
        if options.stay:
            demo.wait_for_person()
    except AssertionError as error:
        print("the demo failed:", error, file=sys.stderr)
    finally:
        demo.close()
    sys.exit(0 if received == EXPECTED_TEXT else 1)


if __name__ == "__main__":
    main()

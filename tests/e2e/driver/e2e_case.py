"""What every end-to-end test needs: the programs, a fresh folder for the
emulator with its files, and a runner that writes the results as XML.

Run a test file as: python3 <test file> --bin <folder of the e2e programs>
--work <scratch folder> --artifacts <folder for pictures> [--results <xml>]"""
import argparse
import pathlib
import shutil
import sys
import time
import unittest
import xml.etree.ElementTree as ET
from dataclasses import dataclass

import desktop
import emulator_files
from handle_script import script_text
from wine_process import WineProcess

EMULATOR_EXE = "CorvantaKeyPressEmulatorSim.exe"
EMULATOR_CLASS = "CorvantaKeyPressEmulatorClass"
EMULATOR_TITLE = "^Corvanta Key Press Emulator"
START_BUTTON_ID, STOP_BUTTON_ID = 10000, 10001
KEY_FILE_NAME = "keys.qvxkeys"

options = None


@dataclass
class Control:
    rect: tuple  # left, top, right, bottom in screen pixels
    visible: bool
    enabled: bool
    checked: bool
    text: str
    place: tuple  # left, top, right, bottom in its parent's client pixels

    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2


class EmulatorTestCase(unittest.TestCase):
    """Each test gets its own folder with a copy of the emulator, so its
    settings file lies beside it; every program a test starts is ended
    afterwards, whatever happened."""

    def setUp(self):
        self.folder = pathlib.Path(options.work) / self.id().rsplit(".", 2)[-1]
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        self.emulator_exe = self.folder / EMULATOR_EXE
        shutil.copy(pathlib.Path(options.bin) / EMULATOR_EXE, self.emulator_exe)
        self.processes = []
        self.addCleanup(self._end_processes)

    def _end_processes(self):
        # What the screen showed when a test failed, before its windows go.
        result = self._outcome.result
        if any(test is self for test, _ in result.failures + result.errors):
            desktop.screenshot(0, 0, *desktop.screen_size(), artifact(f"failures/{self.id()}.png"))
        for process in reversed(self.processes):
            process.kill()

    def wait_until(self, condition, what, timeout=10):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.fail(what)
            time.sleep(0.1)

    def assert_becomes(self, value, expected, timeout=10):
        """Asserts that value() comes to equal expected within timeout seconds:
        for what another process shows only once it gets round to it."""
        deadline = time.monotonic() + timeout
        while (seen := value()) != expected and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertEqual(seen, expected)

    def tool(self, name):
        return pathlib.Path(options.bin) / name

    def start(self, exe, *args, talk=True):
        process = WineProcess(exe, *args, cwd=self.folder, talk=talk)
        self.processes.append(process)
        return process

    # The emulator's files.

    def write_key_file(self, table, name=KEY_FILE_NAME):
        path = self.folder / name
        path.write_bytes(emulator_files.key_code_file(table))
        return path

    def write_settings(self, **settings):
        (self.folder / emulator_files.SETTINGS_NAME).write_bytes(emulator_files.settings_file(**settings))

    def read_settings(self):
        return emulator_files.read_settings_file((self.folder / emulator_files.SETTINGS_NAME).read_bytes())

    # The programs.

    def start_recorder(self):
        """The key recorder; its window has the focus once it is ready."""
        self.key_log = self.folder / "keys.log"
        recorder = self.start(self.tool("key_recorder.exe"), self.key_log)
        recorder.expect("ready")
        return recorder

    def start_simulator(self, steps):
        script = self.folder / "handle.script"
        script.write_text(script_text(steps))
        simulator = self.start(self.tool("handle_simulator.exe"), script)
        simulator.expect("ready")
        return simulator

    def start_emulator(self, *args, title=EMULATOR_TITLE):
        """The emulator, started with these arguments, once its window is
        shown with a title like the pattern."""
        emulator = self.start(self.emulator_exe, *args, talk=False)
        window = desktop.wait_for_window(EMULATOR_TITLE)
        desktop.wait_for_title(window, title)
        return emulator, window

    def window_tool(self, *args, timeout=10):
        """window_tool's exit code and the lines it printed. A run that fails
        is repeated until one succeeds or the time is up: a window or control
        may not be there yet, and under load a run has been seen to fail once
        in several hundred with the window and control in place. What each
        failed run said goes to the test's output."""
        deadline = time.monotonic() + timeout
        while True:
            tool = WineProcess(self.tool("window_tool.exe"), *args, cwd=self.folder)
            code = tool.wait()
            if code == 0:
                return code, tool.lines
            print(f"window_tool {' '.join(map(str, args))}: exit code {code}, {tool.lines} {tool.errors}",
                  file=sys.stderr)
            if time.monotonic() > deadline:
                return code, tool.lines
            time.sleep(0.1)

    def window_rect(self, window_class=EMULATOR_CLASS):
        """left, top, right, bottom of the top-level window, in screen pixels."""
        code, lines = self.window_tool("find", window_class)
        self.assertEqual(code, 0, f"no {window_class} window")
        return tuple(map(int, lines[0].split()[1:5]))

    def window_state(self, window_class=EMULATOR_CLASS):
        """(visible, title) of the top-level window, looked at from outside."""
        code, lines = self.window_tool("find", window_class)
        self.assertEqual(code, 0, f"no {window_class} window")
        return lines[0].split()[-1] == "1", lines[1][len("title "):]

    def control(self, control_id, window_class=EMULATOR_CLASS):
        """A control of the window, looked at from outside."""
        code, lines = self.window_tool("control", window_class, control_id)
        self.assertEqual(code, 0, f"no control {control_id} in a {window_class} window")
        fields = lines[0].split(" ", 8)
        return Control(tuple(map(int, fields[1:5])), fields[5] == "1", fields[6] == "1", fields[7] == "1",
                       fields[8] if len(fields) > 8 else "", tuple(map(int, lines[1].split()[1:5])))

    def click_control(self, control_id, window_class=EMULATOR_CLASS):
        desktop.click(*self.control(control_id, window_class).centre())

    def close_emulator(self, emulator):
        """WM_CLOSE, as the caption's close button sends it; the emulator ends."""
        self.assertEqual(self.window_tool("close", EMULATOR_CLASS)[0], 0, "the emulator's window stayed")
        self.assertEqual(emulator.wait(), 0)

    def bring_recorder_forward(self, recorder):
        """The emulator takes the foreground when it is shown; the keys it
        sends go to the foreground window, which must be the recorder."""
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            recorder.send("foreground")
            if recorder.expect("foreground") == "foreground " + EMULATOR_CLASS:
                break
            time.sleep(0.1)
        recorder.send("focus")
        self.assertEqual(recorder.expect("focused", timeout=10), "focused 1")

    def key_log_lines(self):
        """The recorder's log, split into fields; a line it is still writing is left out."""
        text = self.key_log.read_text()
        return [line.split() for line in text[:text.rfind("\n") + 1].splitlines()]

    def recorded_keys(self, recorder):
        """[("down" | "up", key code), ...] that reached the recorder; ends it."""
        recorder.send("quit")
        self.assertEqual(recorder.wait(), 0)
        lines = self.key_log_lines()
        focused = max((n for n, line in enumerate(lines) if line[0] == "focused"), default=-1)
        early = [line for line in lines[:focused] if line[0] in ("down", "up")]
        self.assertEqual(early, [], "keys came before the recorder had the focus")
        events = []
        for kind, code, _ in lines[focused + 1:]:
            if kind == "closing":
                break
            if kind == "unfocus":
                self.fail(f"the recorder lost the focus after {events}")
            if kind in ("down", "up"):
                events.append((kind, int(code)))
        return events


def artifact(name):
    """Where a test keeps a picture for people to look at."""
    return pathlib.Path(options.artifacts) / name


def _write_results(result, test_count, seconds, path):
    suite = ET.Element("testsuites", tests=str(test_count), failures=str(len(result.failures)),
                       errors=str(len(result.errors)), skipped=str(len(result.skipped)), time=f"{seconds:.3f}")
    for test, trace in result.failures + result.errors:
        ET.SubElement(suite, "failure", name=test.id()).text = trace
    path.parent.mkdir(parents=True, exist_ok=True)
    ET.ElementTree(suite).write(path, encoding="utf-8", xml_declaration=True)


def main():
    global options
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--results")
    options, rest = parser.parse_known_args()
    # The programs run in the test's own folder.
    for name in ("bin", "work", "artifacts"):
        setattr(options, name, str(pathlib.Path(getattr(options, name)).resolve()))
    tests = unittest.defaultTestLoader.loadTestsFromModule(sys.modules["__main__"])
    started = time.monotonic()
    result = unittest.TextTestRunner(verbosity=2).run(tests)
    if options.results:
        _write_results(result, tests.countTestCases(), time.monotonic() - started, pathlib.Path(options.results))
    sys.exit(0 if result.wasSuccessful() else 1)

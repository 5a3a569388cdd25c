"""The three pages, reached by clicking their tabs, kept as pictures: on a
display at 96 DPI and, in a second Wine prefix, on one at 144 DPI (150%),
where the window and its controls are half as large again."""
import os
import pathlib
import subprocess
import time

import desktop
import e2e_case
from emulator_files import KeyTable, windows_path

# Keys on every page, so that the lists show names.
TABLE = KeyTable(buttons={1: 0x41, 16: 0x20, 17: 0x70, 32: 0x0D, 33: 0x26, 64: 0x1B},
                 axes={"X+": 0x44, "X-": 0x41, "Yaw-": 0x5A}, pulse_enabled=True, cycle_steps=12)
PAGES = ["Regular", "Modified", "Axis Pulse"]
# The "Select" button of the first slot of each page: slots 0, 32 and 64.
FIRST_SELECT_IDS = [10006, 10006 + 3 * 32, 10201]
PAINT_SECONDS = 0.7
WINDOW_SIZE = (655, 639)
# Controls of the top row and of every page, with their place at 96 DPI in
# their parent's client pixels: left, top, width, height.
SAMPLE = {10000: (150, 14, 45, 25),  # "Start"
          10004: (10, 57, 626, 526),  # the tab control
          10006 + 3 * 16: (457, 12, 45, 25),  # slot 16's "Select", "Regular"
          10005 + 3 * 47: (-8, 467, 150, 16),  # slot 47's label, "Modified"
          10199: (138, 45, 50, 21),  # the steps field, "Axis Pulse"
          10201 + 3 * 11: (376, 245, 45, 25)}  # slot 75's "Select"
WINE_ENV = pathlib.Path(__file__).resolve().parents[3] / "scripts" / "wine-env.sh"


class PageScreenshotTest(e2e_case.EmulatorTestCase):
    DPI = 96

    def tab_rects(self):
        code, lines = self.window_tool("tabs", e2e_case.EMULATOR_CLASS)
        self.assertEqual(code, 0, "no tab control")
        return [tuple(map(int, line.split()[1:5])) for line in lines]

    def visible_page(self):
        return [page for page, control in enumerate(FIRST_SELECT_IDS) if self.control(control).visible]

    def assert_scaled(self, size, size_at_96, what):
        for actual, at_96 in zip(size, size_at_96):
            self.assertLessEqual(abs(actual - round(at_96 * self.DPI / 96)), 1,
                                 f"{what}: {size} at {self.DPI} DPI, {size_at_96} at 96")

    def test_each_tab_shows_its_page(self):
        key_file = self.write_key_file(TABLE)
        self.write_settings(last_file=windows_path(key_file))
        self.start_emulator(title=r"\[keys\.qvxkeys\]")
        window = self.window_rect()
        left, top, right, bottom = window
        self.assert_scaled((right - left, bottom - top), WINDOW_SIZE, "window")
        for control, place in SAMPLE.items():
            left, top, right, bottom = self.control(control).place
            self.assert_scaled((left, top, right - left, bottom - top), place, f"control {control}")
        tabs = self.tab_rects()
        self.assertEqual(len(tabs), 3)

        # Last to first, so that every click changes the page.
        for page in (2, 1, 0):
            left, top, right, bottom = tabs[page]
            desktop.click((left + right) // 2, (top + bottom) // 2)
            deadline = time.monotonic() + 5
            while self.visible_page() != [page] and time.monotonic() < deadline:
                time.sleep(0.1)
            self.assertEqual(self.visible_page(), [page], f"after a click on \"{PAGES[page]}\"")
            time.sleep(PAINT_SECONDS)
            name = PAGES[page].lower().replace(" ", "-")
            suffix = "" if self.DPI == 96 else f"-{self.DPI}dpi"
            desktop.screenshot(*window, e2e_case.artifact(f"page-{name}{suffix}.png"))


class PageScreenshotAt144DpiTest(PageScreenshotTest):
    """Wine has one DPI per prefix: this test's programs run in a prefix of
    their own beside the usual one, made once by scripts/wine-env.sh."""
    DPI = 144

    @classmethod
    def setUpClass(cls):
        usual = os.environ["WINEPREFIX"]
        build = str(pathlib.Path(usual).parent)
        made = subprocess.run(["bash", "-c", 'source "$0" "$1" "$2" && wine_prefix_make && echo "$WINEPREFIX"',
                               WINE_ENV, build, str(cls.DPI)],
                              stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=200)
        if made.returncode != 0:
            raise AssertionError(f"no Wine prefix at {cls.DPI} DPI: {made.stderr}")
        os.environ["WINEPREFIX"] = made.stdout.strip()
        cls.addClassCleanup(cls.leave_prefix, usual)

    @staticmethod
    def leave_prefix(usual):
        subprocess.run(["wineserver", "-k"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        os.environ["WINEPREFIX"] = usual


if __name__ == "__main__":
    e2e_case.main()

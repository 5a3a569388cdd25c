"""The three pages, reached by clicking their tabs, kept as pictures."""
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


class PageScreenshotTest(e2e_case.EmulatorTestCase):
    def tab_rects(self):
        code, lines = self.window_tool("tabs", e2e_case.EMULATOR_CLASS)
        self.assertEqual(code, 0, "no tab control")
        return [tuple(map(int, line.split()[1:5])) for line in lines]

    def visible_page(self):
        return [page for page, control in enumerate(FIRST_SELECT_IDS) if self.control(control).visible]

    def test_each_tab_shows_its_page(self):
        key_file = self.write_key_file(TABLE)
        self.write_settings(last_file=windows_path(key_file))
        self.start_emulator(title=r"\[keys\.qvxkeys\]")
        window = self.window_rect()
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
            desktop.screenshot(*window, e2e_case.artifact(f"page-{name}.png"))


if __name__ == "__main__":
    e2e_case.main()

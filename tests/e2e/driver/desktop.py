"""The X display that Wine's windows live on: finding, clicking, typing, pictures."""
import re
import subprocess
import time


def _xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout.split()


def wait_for_window(title_pattern, timeout=20):
    """The X window whose title matches the regular expression."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = _xdotool("search", "--name", title_pattern)
        if found:
            return found[0]
        time.sleep(0.1)
    raise AssertionError(f"no window titled like '{title_pattern}' within {timeout} s")


def windows(title_pattern):
    """The X windows whose titles match, now."""
    return _xdotool("search", "--name", title_pattern)


def wait_for_no_window(title_pattern, timeout=20):
    """Waits until no X window has a title that matches."""
    deadline = time.monotonic() + timeout
    while _xdotool("search", "--name", title_pattern):
        if time.monotonic() > deadline:
            raise AssertionError(f"a window titled like '{title_pattern}' stayed for {timeout} s")
        time.sleep(0.1)


def window_title(window):
    return subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True).stdout.strip()


def wait_for_title(window, pattern, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        title = window_title(window)
        if re.search(pattern, title):
            return title
        time.sleep(0.1)
    raise AssertionError(f"the title stayed '{window_title(window)}', never like '{pattern}'")


def focus(window):
    _xdotool("windowfocus", "--sync", window)


def click(x, y):
    """A left click at screen pixel (x, y)."""
    _xdotool("mousemove", "--sync", x, y)
    _xdotool("click", 1)


def keys(*names):
    """Key presses as xdotool names them ("ctrl+s", "Return", "a")."""
    _xdotool("key", "--clearmodifiers", *names)


def key_down(name):
    _xdotool("keydown", name)


def key_up(name):
    _xdotool("keyup", name)


def type_text(text):
    _xdotool("type", "--delay", 30, text)


def screen_size():
    return tuple(map(int, _xdotool("getdisplaygeometry")))


def screenshot(left, top, right, bottom, path):
    """Saves that part of the screen as a PNG."""
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                    "+repage", str(path)], check=True, capture_output=True)

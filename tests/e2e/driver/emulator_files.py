"""The two files the emulator reads, written byte by byte from their layouts."""
import struct

KEY_FILE_SIZE = 157
AXIS_DIRECTIONS = ["X+", "X-", "Y+", "Y-", "Z+", "Z-", "Pitch+", "Pitch-", "Roll+", "Roll-", "Yaw+", "Yaw-"]
SETTINGS_NAME = "corvantakeys.qvxconfig"


class KeyTable:
    """buttons: {button number 1..64: key code}; axes: {direction name: key code}."""

    def __init__(self, buttons=None, axes=None, pulse_enabled=False, cycle_steps=6):
        self.buttons = dict(buttons or {})
        self.axes = dict(axes or {})
        self.pulse_enabled = pulse_enabled
        self.cycle_steps = cycle_steps

    def button_key(self, button):
        return self.buttons.get(button, 0)

    def axis_key(self, direction_index):
        return self.axes.get(AXIS_DIRECTIONS[direction_index], 0)


def key_code_file(table):
    """64 button codes, the pulse byte, the steps, 12 axis codes; little-endian, no gaps."""
    buttons = [table.button_key(button) for button in range(1, 65)]
    axes = [table.axis_key(index) for index in range(12)]
    data = (struct.pack("<64H", *buttons) + struct.pack("<B", int(table.pulse_enabled))
            + struct.pack("<i", table.cycle_steps) + struct.pack("<12H", *axes))
    assert len(data) == KEY_FILE_SIZE
    return data


def read_key_code_file(data):
    """The KeyTable that 157 bytes hold."""
    assert len(data) == KEY_FILE_SIZE, f"a key code file of {len(data)} bytes"
    buttons = struct.unpack_from("<64H", data, 0)
    pulse, = struct.unpack_from("<B", data, 128)
    steps, = struct.unpack_from("<i", data, 129)
    axes = struct.unpack_from("<12H", data, 133)
    return KeyTable({b + 1: code for b, code in enumerate(buttons) if code},
                    {AXIS_DIRECTIONS[i]: code for i, code in enumerate(axes) if code}, pulse != 0, steps)


def settings_file(last_file="", continuous_select=False, run_by_default=False):
    """Settings word (bit 0 Continuous Select, bit 1 Run By Default), the
    length of the last file's path, the path in UTF-8 without a terminating NUL."""
    word = int(continuous_select) | int(run_by_default) << 1
    path = last_file.encode("utf-8")
    return struct.pack("<Ii", word, len(path)) + path


def read_settings_file(data):
    """(continuous_select, run_by_default, last file path)."""
    word, length = struct.unpack_from("<Ii", data, 0)
    return bool(word & 1), bool(word & 2), data[8:8 + length].decode("utf-8")


def windows_path(path):
    """The path under which Wine's programs see a Linux file."""
    return "Z:" + str(path).replace("/", "\\")

#!/usr/bin/env python3
"""Checks a release zip and unpacks it: exactly the program and README.txt
(Windows line endings), and the program's VERSIONINFO naming the version in
the zip's name. Usage: check_release_zip.py <zip> <folder to unpack into>"""
import pathlib
import re
import struct
import sys
import zipfile

EXE = "CorvantaKeyPressEmulator.exe"
STRINGS = {"ProductName": "Corvanta Key Press Emulator", "FileDescription": "Corvanta Key Press Emulator",
           "OriginalFilename": EXE}
FIXED_INFO_SIGNATURE = 0xFEEF04BD


def version_blocks(data, offset, end):
    """(key, value bytes, value type, children offset, block end) of each
    VERSIONINFO block from offset to end."""
    while offset + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
        if length == 0:
            return
        key_end = data.index(b"\0\0", offset + 6)
        while (key_end - offset) % 2:
            key_end = data.index(b"\0\0", key_end + 1)
        key = data[offset + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        size = value_length * 2 if value_type == 1 else value_length
        yield key, data[value_at:value_at + size], value_type, (value_at + size + 3) & ~3, offset + length
        offset = (offset + length + 3) & ~3


def version_info(exe):
    """The fixed file version as text and the string table of the VERSIONINFO."""
    data = exe.read_bytes()
    start = data.find("VS_VERSION_INFO".encode("utf-16-le")) - 6
    if start < 0:
        sys.exit(f"{EXE} carries no VERSIONINFO")
    root = next(version_blocks(data, start, len(data)))
    key, fixed, _, children, end = root
    signature, _, ms, ls = struct.unpack_from("<IIII", fixed)
    if signature != FIXED_INFO_SIGNATURE:
        sys.exit("VERSIONINFO has no fixed file information")
    fixed_version = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"
    strings = {}
    for key, _, _, table_at, table_end in version_blocks(data, children, end):
        if key == "StringFileInfo":
            for _, _, _, entry_at, entry_end in version_blocks(data, table_at, table_end):
                for name, value, _, _, _ in version_blocks(data, entry_at, entry_end):
                    strings[name] = value.decode("utf-16-le").rstrip("\0")
    return fixed_version, strings


def main():
    zip_path, folder = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    match = re.fullmatch(r"CorvantaKeyPressEmulator-(\d+\.\d+\.\d+)-win64\.zip", zip_path.name)
    if not match:
        sys.exit(f"{zip_path.name} is not named like a release")
    version = match.group(1)
    with zipfile.ZipFile(zip_path) as archive:
        names = sorted(archive.namelist())
        if names != sorted([EXE, "README.txt"]):
            sys.exit(f"the zip holds {names}")
        archive.extractall(folder)
    readme = (folder / "README.txt").read_bytes()
    if readme.count(b"\n") != readme.count(b"\r\n") or b"\r\n" not in readme:
        sys.exit("README.txt is not in Windows line endings")
    fixed_version, strings = version_info(folder / EXE)
    expected = dict(STRINGS, FileVersion=version, ProductVersion=version)
    wrong = {name: strings.get(name) for name, value in expected.items() if strings.get(name) != value}
    if fixed_version != version or wrong or not strings.get("LegalCopyright"):
        sys.exit(f"VERSIONINFO: version {fixed_version}, strings {strings}; expected {version}, {expected}")
    print(f"{zip_path.name}: {EXE} ({(folder / EXE).stat().st_size} bytes, version {version}) and README.txt")


main()

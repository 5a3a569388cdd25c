#!/usr/bin/env python3
"""Sums the GoogleTest XML results of one test layer into one line."""
import pathlib
import sys
import xml.etree.ElementTree as ET

name, folder = sys.argv[1], pathlib.Path(sys.argv[2])
tests = failures = skipped = 0
for path in sorted(folder.glob("*.xml")):
    root = ET.parse(path).getroot()
    tests += int(root.get("tests", 0))
    failures += int(root.get("failures", 0)) + int(root.get("errors", 0))
    skipped += int(root.get("disabled", 0)) + int(root.get("skipped", 0))
print(f"{name}: {tests} tests, {failures} failed, {skipped} skipped")

#!/usr/bin/env python3
"""Checks the bundle's rendered Info.plist.

Usage: check_info_plist.py <rendered Info.plist> <project version> <resources folder>

The file must be a property list holding what macOS needs of Kelvane: the bundle identifier the
login item and the user defaults hang on, the project's version, no Dock icon, macOS 13, the
German reason for controlling Terminal, and an icon that lies in the resources folder. Prints one
line per failure and exits 1 if there was any.
"""

import pathlib
import plistlib
import sys
from xml.parsers.expat import ExpatError


def failures(info, version, resources):
    expected = {
        "CFBundleIdentifier": "de.tolvo.Kelvane",
        "CFBundleName": "Kelvane",
        "CFBundleExecutable": "Kelvane",
        "CFBundlePackageType": "APPL",
        "CFBundleShortVersionString": version,
        "CFBundleVersion": version,
        "LSMinimumSystemVersion": "13.0",
        "LSUIElement": True,
    }
    for key, value in expected.items():
        if info.get(key) != value:
            yield f"{key} is {info.get(key)!r}, expected {value!r}"

    reason = info.get("NSAppleEventsUsageDescription", "")
    if not isinstance(reason, str) or "Terminal" not in reason or "Befehle" not in reason:
        yield f"NSAppleEventsUsageDescription does not say in German why: {reason!r}"

    icon = info.get("CFBundleIconFile")
    if not isinstance(icon, str) or not (resources / icon).is_file():
        yield f"CFBundleIconFile {icon!r} is not a file in {resources}"

    for key, value in info.items():
        if isinstance(value, str) and (not value or "@" in value or "${" in value):
            yield f"{key} was not rendered: {value!r}"


def main():
    path, version, resources = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    try:
        with open(path, "rb") as file:
            info = plistlib.load(file)
    except (OSError, plistlib.InvalidFileException, ExpatError, ValueError) as error:
        print(f"{path} is not a property list: {error}")
        return 1
    found = list(failures(info, version, resources))
    for failure in found:
        print(failure)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

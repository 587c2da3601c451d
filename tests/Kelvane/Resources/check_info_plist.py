#!/usr/bin/env python3
"""Usage: check_info_plist.py <rendered Info.plist> <project version> <resources folder>

Prints one line for each thing macOS needs of Kelvane that the file lacks; exits 1 if any."""

import pathlib
import plistlib
import sys


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
    # A file that is no property list fails with plistlib's own message.
    with open(path, "rb") as file:
        info = plistlib.load(file)
    found = list(failures(info, version, resources))
    for failure in found:
        print(failure)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

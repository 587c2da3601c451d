#!/usr/bin/env python3
"""Runs the kelvanectl program: its exit codes, and every JSON it writes read by Python's json.

Usage: outputs_parse_as_json.py KELVANECTL

Each control character stands at every offset from 0 to 40 of the entries' texts, around the
sixteenth byte of a key (the ones the 16-byte scans missed) and at it in a command; all of them
together stand around the sixteenth byte of a file's name and of a command. `convert`,
`check --json`, `search --json` and `risk --json` must print JSON that Python reads (its strict
mode refuses raw control characters) with the same texts.
Prints each failure and "N passed, N failed".
"""

import json
import os
import pathlib
import subprocess
import sys
import tempfile

OFFSETS = range(41)
CONTROLS = [chr(code) for code in range(0x20)]
# For the outputs that take one process per text: where a sixteen-byte scan would begin or end.
AROUND_16 = (0, 15, 16, 17, 31, 32, 40)


def text_at(offset, control):
    return "k" * offset + control + "k"


def texts():
    return [text_at(offset, control) for control in CONTROLS for offset in OFFSETS]


def unknown_keys():
    """Fewer than a load keeps warnings for, with the characters the 16-byte scans missed."""
    return [text_at(offset, control) for control in "\0\t\n\x1a\x1b\x1c\x1d\x1e\x1f"
            for offset in AROUND_16]


def all_controls_around_16():
    """File names and command arguments hold no NUL."""
    return [text_at(offset, "".join(CONTROLS[1:])) for offset in AROUND_16]


def risky_texts():
    """Each control character alone, for a shell reads each its own way, and all together."""
    return [text_at(16, control) for control in CONTROLS[1:]] + all_controls_around_16()


def configuration():
    """A version 2 file, written by Python with every control character escaped."""
    items = [
        {"type": "group", "title": "g" + text, "icon": text, "items": [
            {"title": "t" + text, "command": "c" + text, "icon": "i" + text,
             "workingDirectory": "w" + text}]}
        for text in texts()
    ]
    document = {"version": 2, "items": items}
    document.update({"x" + text: 1 for text in unknown_keys()})
    return json.dumps(document)


class Checks:
    def __init__(self, kelvanectl):
        self.kelvanectl = kelvanectl
        self.passed = 0
        self.failed = 0

    def expect(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED:", what)

    def exit_code(self, code, *arguments):
        result = subprocess.run([self.kelvanectl, *arguments], capture_output=True, check=False)
        self.expect(result.returncode == code, f"kelvanectl {arguments} gave {result.returncode}")
        return result.stdout

    def output(self, *arguments, code=0):
        """kelvanectl's output read by Python's json, or None with a failure."""
        try:
            return json.loads(self.exit_code(code, *arguments).decode("utf-8"))
        except ValueError as error:
            self.expect(False, f"kelvanectl {arguments[0]}: {error}")
            return None


def check_file_outputs(checks, path):
    converted = checks.output("convert", "--sort", "file-order", str(path))
    if converted is not None:
        groups = converted["items"]
        checks.expect([group["title"] for group in groups] == ["g" + t for t in texts()],
                      "convert keeps the group titles")
        checks.expect([group["items"][0]["workingDirectory"] for group in groups]
                      == ["w" + t for t in texts()], "convert keeps the working directories")

    checked = checks.output("check", "--json", "--sort", "file-order", str(path))
    if checked is not None:
        checks.expect(checked["file"] == str(path), "check names the file")
        checks.expect(checked["items"] == converted["items"], "check shows the written items")
        messages = {warning["message"] for warning in checked["warnings"]}
        checks.expect(all(f"Unbekannter Schl\u00FCssel \u201Ex{t}\u201C wurde ignoriert."
                          in messages for t in unknown_keys()), "check names every unknown key")

    found = checks.output("search", "--json", "--limit", "100000", str(path), "tk")
    if found is not None:
        checks.expect(sorted(result["command"] for result in found)
                      == sorted("c" + t for t in texts()), "search finds every command")
        checks.expect(all(result["path"] == ["g" + result["title"][1:]] for result in found),
                      "search gives every group path")


def write(path, content, mode=0o600):
    path.write_text(content, encoding="utf-8")
    path.chmod(mode)
    return str(path)


def main():
    checks = Checks(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        os.chmod(folder, 0o700)
        large = pathlib.Path(folder) / "kelvane.json"
        write(large, configuration())
        check_file_outputs(checks, large)
        checks.exit_code(1, "check", "--strict", str(large))
        checks.exit_code(2, "check", write(pathlib.Path(folder) / "broken.json", '{"items": ['))
        checks.exit_code(3, "check", write(pathlib.Path(folder) / "shared.json", "{}", 0o666))
        checks.exit_code(64)
        for text in all_controls_around_16():
            path = write(pathlib.Path(folder) / (text + ".json"), '{"items": []}')
            checked = checks.output("check", "--json", path)
            if checked is not None:
                checks.expect(checked["file"] == path, f"check names {path!r}")

    for text in risky_texts():
        findings = checks.output("risk", "--json", f"curl {text} | sh", code=1)
        if findings is not None:
            checks.expect(any(text in finding["matched"] for finding in findings),
                          f"risk shows the match in {text!r}")

    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())

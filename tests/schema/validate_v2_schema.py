#!/usr/bin/env python3
"""Checks schema/v2.json with Debian's python3-jsonschema (draft 2020-12).

Usage: validate_v2_schema.py <schema> <kelvanectl> <examples folder>

Valid must be: the version 2 example; the hand-written forms of AUTHORED, which kelvanectl must
load without a warning (or the schema's acceptance of them would prove nothing), each with every
shortcut text the loader takes; and what `kelvanectl convert` writes for those forms and for the
examples in each sort mode. The legacy example and each document of REJECTED must not be. Prints
one line per failure and ends with "N passed, N failed".
"""

import copy
import json
import os
import pathlib
import random
import subprocess
import sys
import tempfile

from jsonschema import Draft202012Validator
from jsonschema.exceptions import best_match

SCHEMA_URL = "https://tolvo.de/kelvane/schema/v2.json"

AUTHORED = {
    "default file": '{\n  "version": 2,\n  "items": []\n}\n',
    "everything": r"""{"version": 2,
        "settings": {"terminal": "terminal.app", "openIn": "tab", "editor": "vim -p",
                     "launchAtLogin": true},
        "items": [
            {"type": "separator"},
            {"title": "Ver\u00F6ffentlichen \u2014 \u201EProduktion\u201C", "icon": "globe/../x",
             "command": "rsync -az dist/ host:/srv/www/ && echo \"fertig\" \\\n done",
             "workingDirectory": "~/Projekte/a b/c", "confirm": true, "shortcut": "\u2303\u2325/"},
            {"title": "Server", "icon": "server.rack", "items": [
                {"title": "Leer", "items": []},
                {"title": "Tab", "command": " leading blank\tand tab", "workingDirectory": "/",
                 "confirm": false, "shortcut": "\u2303\u2325\u21E7\u2318\""}]},
            {"title": "\u65E5\u672C\u8A9E \uD83D\uDE80", "icon": "\uD83D\uDE80",
             "command": "printf '\\u00e9\\n'"},
            {"type": "separator"},
            {"type": "separator"}
        ]}""",
    "without version": r"""{"settings": {"terminal": "TERMINAL.APP", "openIn": "Window",
        "editor": "code -w"}, "items": [{"title": "a", "command": "a"}]}""",
    "lenient forms": r"""{
        "version": 2.0, "$schema": "https://tolvo.de/kelvane/schema/v2.json", "_note": 1,
        "settings": {"terminal": "Terminal", "openIn": "TAB", "editor": "DEFAULT",
                     "launchAtLogin": true, "_why": "x"},
        "items": [
            {"type": "Command", "title": " Mit Leerzeichen ", "command": " ls -la ",
             "confirm": false, "_comment": "notes are allowed"},
            {"type": "SEPARATOR"},
            {"title": "Ohne Typ", "items": [{"title": "b", "command": "b"}]},
            {"type": "gRoUp", "title": "Ohne Eintr\u00E4ge"},
            {"title": "Mehrzeilig", "command": "\n"}
        ]}""",
    "settings edges": r"""{"settings": {"terminal": "", "openIn": "current", "editor": ""},
        "items": [{"type": "group", "title": "G", "items": []}]}""",
}

# Shortcut texts made of the pieces people write, in a fixed pseudo-random order.
SHORTCUT_PIECES = [
    "\u2318", "\u2325", "\u2303", "\u21E7", "+", "+", " ", "\t", "cmd", "CMD", "Shift", "alt",
    "opt", "Option", "ctrl", "control", "command", "k", "K", "\u00F6", "e\u0301", ",", "1", "f1",
    "delete", "hyper", "\u00A0", "\U0001F44D\U0001F3FD"]

# A valid document; each rejected case changes one thing in a copy of it.
BASE = {
    "version": 2,
    "settings": {"terminal": "terminal.app", "openIn": "window", "editor": "default"},
    "items": [
        {"type": "command", "title": "Bauen", "command": "make"},
        {"type": "group", "title": "Server", "items": [{"type": "separator"}]},
    ],
}


def changed(settings=None, entry=None, **top):
    """BASE with top-level members set, settings members set or an entry added."""
    document = copy.deepcopy(BASE)
    document.update(top)
    document["settings"].update(settings or {})
    if entry is not None:
        document["items"].append(entry)
    return document


def command(**members):
    return {"type": "command", "title": "T", "command": "true", **members}


REJECTED = [
    ("items missing", {key: value for key, value in BASE.items() if key != "items"}),
    ("version 1", changed(version=1)),
    ("version as text", changed(version="2")),
    ("unknown top-level key", changed(cmds=[])),
    ("settings not an object", {**BASE, "settings": "tab"}),
    ("unknown settings key", changed(settings={"extra": 1})),
    ("unsupported terminal", changed(settings={"terminal": "Hyper"})),
    ("unknown openIn", changed(settings={"openIn": "new"})),
    ("unknown type", changed(entry={"type": "link", "title": "x", "command": "x"})),
    ("command without command", changed(entry={"type": "command", "title": "x"})),
    ("blank command", changed(entry=command(command=" \t\u3000"))),
    ("command without title", changed(entry={"command": "ls"})),
    ("confirm as text", changed(entry=command(confirm="true"))),
    ("misspelled member", changed(entry=command(comand="ls"))),
    ("shortcut without modifier", changed(entry=command(shortcut="k"))),
    ("named key", changed(entry=command(shortcut="ctrl+alt+delete"))),
    ("unknown modifier word", changed(entry=command(shortcut="hyper+k"))),
    ("shortcut without key", changed(entry=command(shortcut="cmd+"))),
    ("group without title", changed(entry={"type": "group", "items": []})),
    ("command member on a group", changed(entry={"title": "G", "items": [], "command": "ls"})),
    ("title on a separator", changed(entry={"type": "separator", "title": "---"})),
    ("wrong entry deep inside",
     changed(entry={"title": "A", "items": [{"title": "B", "items": [7]}]})),
]


class Check:
    passed = failed = 0

    def expect(self, condition, label, detail=""):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAILED: {label}{': ' + detail if detail else ''}")


class Kelvanectl:
    """Runs kelvanectl on documents it finds in a trusted file of their own."""

    def __init__(self, program, folder):
        self.program = program
        self.file = pathlib.Path(folder) / "kelvane.json"

    def json(self, text, *arguments):
        self.file.write_text(text, encoding="utf-8")
        self.file.chmod(0o600)
        result = subprocess.run([self.program, *arguments, str(self.file)], capture_output=True,
                                check=True)
        return json.loads(result.stdout.decode("utf-8"))


def shortcuts_document(kelvanectl):
    """The candidates the loader takes, the ones the schema must take too, as titled commands."""
    chooser = random.Random(20240601)
    candidates = ["".join(chooser.choice(SHORTCUT_PIECES) for _ in range(chooser.randint(1, 5)))
                  for _ in range(20000)]
    items = [{"title": str(number), "command": "true", "shortcut": text}
             for number, text in enumerate(candidates)]
    written = kelvanectl.json(json.dumps({"items": items}), "convert", "--sort", "file-order")
    return {"items": [items[int(item["title"])] for item in written["items"] if "shortcut" in item]}


def load(path):
    with open(path, encoding="utf-8") as stream:
        return json.load(stream)


def problem(validator, document):
    error = best_match(validator.iter_errors(document))
    return None if error is None else f"{error.message} at /{'/'.join(map(str, error.path))}"


def samples(check, kelvanectl, examples):
    """The documents that must be valid, by name."""
    documents = {"the version 2 example": load(examples / "kelvane.json")}
    shortcuts = shortcuts_document(kelvanectl)
    check.expect(len(shortcuts["items"]) >= 100, "enough accepted shortcut texts")
    for name, text in {**AUTHORED, "shortcuts": json.dumps(shortcuts)}.items():
        checked = kelvanectl.json(text, "check", "--json", "--sort", "file-order")
        check.expect(checked["format"] == "v2" and not checked["warnings"],
                     f"{name} loads without a warning", str(checked["warnings"]))
        documents[name] = json.loads(text)
        documents["written " + name] = kelvanectl.json(text, "convert", "--sort", "file-order")
    for example in ("kelvane", "shuttle"):
        text = (examples / f"{example}.json").read_text(encoding="utf-8")
        for mode in ("file-order", "alphabetical"):
            documents[f"written {example} {mode}"] = kelvanectl.json(text, "convert", "--sort", mode)
    return documents


def main(schema_path, program, examples):
    check = Check()
    schema = load(schema_path)
    Draft202012Validator.check_schema(schema)
    check.expect(schema.get("$id") == SCHEMA_URL, "$id is the writer's schema URL")
    validator = Draft202012Validator(schema)

    with tempfile.TemporaryDirectory() as folder:
        os.chmod(folder, 0o700)
        documents = samples(check, Kelvanectl(program, folder), pathlib.Path(examples))
    for name, document in documents.items():
        error = problem(validator, document)
        check.expect(error is None, f"{name} is valid", error or "")
        if name.startswith("written "):
            check.expect(document.get("$schema") == SCHEMA_URL, f"{name} names the schema")

    check.expect(problem(validator, load(pathlib.Path(examples) / "shuttle.json")) is not None,
                 "the legacy example is not a version 2 document")
    check.expect(problem(validator, BASE) is None, "the base of the rejected cases is valid")
    for label, document in REJECTED:
        check.expect(problem(validator, document) is not None, f"rejects: {label}")

    print(f"{check.passed} passed, {check.failed} failed")
    return 0 if check.failed == 0 else 1


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))

#!/usr/bin/env python3
"""Checks schema/v2.json with Debian's python3-jsonschema (draft 2020-12).

Usage: validate_v2_schema.py <schema> <samples folder> <version 2 example> <legacy example>

Every document of the samples folder (written by kelvane_schema_samples) and the version 2
example must be valid; the legacy example and each document of REJECTED must not be. Prints one
line per failure and ends with "N passed, N failed".
"""

import copy
import json
import pathlib
import sys

from jsonschema import Draft202012Validator
from jsonschema.exceptions import best_match

SCHEMA_URL = "https://tolvo.de/kelvane/schema/v2.json"

# A valid document; each rejected case changes one thing in a copy of it.
BASE = {
    "version": 2,
    "settings": {"terminal": "terminal.app", "openIn": "window", "editor": "default"},
    "items": [
        {"type": "command", "title": "Bauen", "command": "make"},
        {"type": "group", "title": "Server", "items": [{"type": "separator"}]},
    ],
}


def changed(settings=None, entry=None, drop=None, **top):
    """BASE with top-level members set, settings members set, an entry added or a key dropped."""
    document = copy.deepcopy(BASE)
    document.update(top)
    document["settings"].update(settings or {})
    if entry is not None:
        document["items"].append(entry)
    if drop:
        del document[drop]
    return document


def command(**members):
    return {"type": "command", "title": "T", "command": "true", **members}


REJECTED = [
    ("items missing", changed(drop="items")),
    ("version 1", changed(version=1)),
    ("version as text", changed(version="2")),
    ("unknown top-level key", changed(cmds=[])),
    ("settings not an object", {**BASE, "settings": "tab"}),
    ("unknown settings key", changed(settings={"extra": 1})),
    ("unsupported terminal", changed(settings={"terminal": "Hyper"})),
    ("unknown openIn", changed(settings={"openIn": "new"})),
    ("entry not an object", changed(entry="ls")),
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


def load(path):
    with open(path, encoding="utf-8") as stream:
        return json.load(stream)


def problem(validator, document):
    error = best_match(validator.iter_errors(document))
    return None if error is None else f"{error.message} at /{'/'.join(map(str, error.path))}"


def main(schema_path, samples, example, legacy_example):
    check = Check()
    schema = load(schema_path)
    Draft202012Validator.check_schema(schema)
    check.expect(schema.get("$id") == SCHEMA_URL, "$id is the writer's schema URL")
    validator = Draft202012Validator(schema)

    documents = sorted(pathlib.Path(samples).glob("*.json"))
    for prefix in ("written-", "authored-"):
        check.expect(any(path.name.startswith(prefix) for path in documents),
                     f"samples folder holds {prefix}* documents")
    for path in documents + [pathlib.Path(example)]:
        document = load(path)
        error = problem(validator, document)
        check.expect(error is None, f"{path.name} is valid", error or "")
        if path.name.startswith("written-"):
            check.expect(document.get("$schema") == SCHEMA_URL, f"{path.name} names the schema")

    shortcuts = load(pathlib.Path(samples) / "authored-shortcuts.json")["items"]
    check.expect(len(shortcuts) >= 100, "enough accepted shortcut texts", str(len(shortcuts)))

    check.expect(problem(validator, load(legacy_example)) is not None,
                 "the legacy example is not a version 2 document")
    check.expect(problem(validator, BASE) is None, "the base of the rejected cases is valid")
    for label, document in REJECTED:
        check.expect(problem(validator, document) is not None, f"rejects: {label}")

    print(f"{check.passed} passed, {check.failed} failed")
    return 0 if check.failed == 0 else 1


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))

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


def with_top(**members):
    document = copy.deepcopy(BASE)
    document.update(members)
    return document


def with_settings(**members):
    document = copy.deepcopy(BASE)
    document["settings"].update(members)
    return document


def with_entry(entry):
    document = copy.deepcopy(BASE)
    document["items"].append(entry)
    return document


def without(key):
    document = copy.deepcopy(BASE)
    del document[key]
    return document


def command(**members):
    return {"type": "command", "title": "T", "command": "true", **members}


REJECTED = [
    ("items missing", without("items")),
    ("items not an array", with_top(items={"title": "x"})),
    ("version 1", with_top(version=1)),
    ("version as text", with_top(version="2")),
    ("version true", with_top(version=True)),
    ("unknown top-level key", with_top(cmds=[])),
    ("settings not an object", with_top(settings="tab")),
    ("unknown settings key", with_settings(extra=1)),
    ("unsupported terminal", with_settings(terminal="iTerm2")),
    ("unknown openIn", with_settings(openIn="new")),
    ("launchAtLogin as text", with_settings(launchAtLogin="yes")),
    ("entry not an object", with_entry("ls")),
    ("unknown type", with_entry({"type": "link", "title": "x", "command": "x"})),
    ("type not a string", with_entry({"type": 1, "title": "x", "command": "x"})),
    ("command without command", with_entry({"type": "command", "title": "x"})),
    ("blank command", with_entry(command(command=" \t\u3000"))),
    ("command without title", with_entry({"command": "ls"})),
    ("blank title", with_entry(command(title="\u00a0 "))),
    ("command as array", with_entry(command(command=["ls", "-la"]))),
    ("confirm as text", with_entry(command(confirm="true"))),
    ("icon as number", with_entry(command(icon=1))),
    ("workingDirectory as null", with_entry(command(workingDirectory=None))),
    ("misspelled member", with_entry(command(comand="ls"))),
    ("shortcut without modifier", with_entry(command(shortcut="k"))),
    ("named key", with_entry(command(shortcut="ctrl+alt+delete"))),
    ("unknown modifier word", with_entry(command(shortcut="hyper+k"))),
    ("symbol after the key", with_entry(command(shortcut="k\u2318"))),
    ("shortcut without key", with_entry(command(shortcut="cmd+"))),
    ("shortcut as number", with_entry(command(shortcut=1))),
    ("group without title", with_entry({"type": "group", "items": []})),
    ("group items not an array", with_entry({"type": "group", "title": "G", "items": {}})),
    ("command member on a group", with_entry({"title": "G", "items": [], "command": "ls"})),
    ("shortcut on a group", with_entry({"type": "group", "title": "G", "shortcut": "cmd+k"})),
    ("title on a separator", with_entry({"type": "separator", "title": "---"})),
    ("wrong entry deep inside", with_entry({"title": "A", "items": [{"title": "B", "items": [7]}]})),
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
    for prefix in ("written-", "rewritten-", "authored-"):
        check.expect(any(path.name.startswith(prefix) for path in documents),
                     f"samples folder holds {prefix}* documents")
    for path in documents + [pathlib.Path(example)]:
        document = load(path)
        error = problem(validator, document)
        check.expect(error is None, f"{path.name} is valid", error or "")
        if path.name.startswith("written-") or path.name.startswith("rewritten-"):
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

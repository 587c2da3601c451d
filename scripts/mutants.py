#!/usr/bin/env python3
"""Chooses and applies the small code changes of the mutation check (scripts/mutants.sh).

  mutants.py generate TREE [--seed N] [--count N]  writes the mutants as JSON lines to stdout
  mutants.py apply TREE MUTANT_JSON                changes the one line the mutant names and
                                                   prints it as file:line  before  →  after

The same seed over the same sources gives the same list: candidates are collected in file and
line order and drawn with a seeded generator, an equal share from each kind of change.
"""
import argparse
import json
import random
import re
import subprocess
import sys
from pathlib import Path

# The macOS layer is not compiled on Linux: a change there could never be caught here.
SOURCE_FOLDERS = ("KelvaneCore/", "Kelvane/")
NOT_COMPILED_HERE = ("Kelvane/platform/macos/",)

GERMAN_WORDS = {
    "der", "die", "das", "den", "dem", "und", "oder", "nicht", "ist", "sind", "ein", "eine",
    "einen", "kann", "konnte", "wird", "wurde", "mit", "von", "zu", "auf", "im", "in", "kein",
    "keine", "datei", "befehl", "befehle", "fehler", "einstellungen", "suche", "öffnen",
    "beenden", "abbrechen", "ausführen", "zeile", "ordner", "nur", "noch", "bitte",
}
# Binary operators: clang-format puts a space either side, which templates and references lack.
NEGATED_COMPARISON = {" < ": " >= ", " >= ": " < ", " > ": " <= ", " <= ": " > ",
                      " == ": " != ", " != ": " == "}
MOVED_BOUNDARY = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > "}
SWAPPED_LOGIC = {" && ": " || ", " || ": " && "}
ASCII_OF = {"ä": "a", "ö": "o", "ü": "u", "Ä": "A", "Ö": "O", "Ü": "U", "ß": "s"}
KINDS = ("comparison", "logic", "boundary", "return", "statement", "text")


def code_and_strings(line, in_comment):
    """The line with comments and literals blanked out, the string literals' spans, and
    whether a block comment is still open at its end."""
    code = list(line)
    strings = []
    i = 0
    while i < len(line):
        if in_comment:
            end = line.find("*/", i)
            stop = len(line) if end < 0 else end + 2
            code[i:stop] = " " * (stop - i)
            in_comment = end < 0
            i = stop
        elif line.startswith("//", i):
            code[i:] = " " * (len(line) - i)
            break
        elif line.startswith("/*", i):
            in_comment = True
        elif line.startswith('R"', i) and (i == 0 or not line[i - 1].isalnum()):
            delimiter = line[i + 2:line.index("(", i)]
            end = line.find(")" + delimiter + '"', i)
            stop = len(line) if end < 0 else end + len(delimiter) + 2
            strings.append((i, stop))
            code[i:stop] = " " * (stop - i)
            i = stop
        elif line[i] in "\"'" and not (line[i] == "'" and i > 0 and line[i - 1].isdigit()):
            quote, j = line[i], i + 1
            while j < len(line) and line[j] != quote:
                j += 2 if line[j] == "\\" else 1
            stop = min(j + 1, len(line))
            if quote == '"':
                strings.append((i, stop))
            code[i:stop] = " " * (stop - i)
            i = stop
        else:
            i += 1
    return "".join(code), strings, in_comment


def is_german(text):
    """Whether the literal holds a letter beyond ASCII, as such or as \\u00E4, or a German word."""
    words = re.findall(r"[^\W\d_]+", text.lower())
    return (any(not c.isascii() and c.isalpha() for c in text)
            or re.search(r"\\u00[c-fC-F][0-9a-fA-F]", text)
            or any(w in GERMAN_WORDS for w in words))


def changed_text(literal, rng):
    """The literal with one of its letters changed, leaving escapes such as \\u00FC alone."""
    escaped = {i for escape in re.finditer(r"\\(?:u[0-9a-fA-F]{4}|x[0-9a-fA-F]+|.)", literal)
               for i in range(*escape.span())}
    letters = [i for i, c in enumerate(literal) if i > 0 and i not in escaped
               and (c.isascii() and c.isalpha() or c in ASCII_OF)]
    if not letters:
        return None
    i = rng.choice(letters)
    c = literal[i]
    if c in ASCII_OF:
        new = ASCII_OF[c]
    else:
        base = ord("a") if c.islower() else ord("A")
        new = chr(base + (ord(c) - base + 1) % 26)
    return literal[:i] + new + literal[i + 1:]


def mixes_logic(code):
    """Whether one level of parentheses holds both && and ||, which -Wparentheses rejects."""
    operators = {}
    depth = 0
    for i, c in enumerate(code):
        depth += (c == "(") - (c == ")")
        if code[i:i + 3] in (" &&", " ||") and code[i + 3:i + 4] in ("", " "):
            operators.setdefault(depth, set()).add(code[i + 1])
    return any(len(found) == 2 for found in operators.values())


SIMPLE_STATEMENT = re.compile(
    r"^(?:[\w:.\->\[\]*]+(?:\(.*\))?\s*(?:[-+*/|&^%]|<<|>>)?=\s.*"  # an assignment
    r"|[\w:.\->\[\]*]+\(.*\)"  # a call
    r"|(?:\+\+|--)[\w.\->]+|[\w.\->]+(?:\+\+|--)|break|continue|return)\s*;$")


def operator_changes(line, code):
    """Comparisons turned around, && for ||, and boundaries moved by one, as changed lines."""
    changed = []
    for table, kind in ((NEGATED_COMPARISON, "comparison"), (MOVED_BOUNDARY, "boundary"),
                        (SWAPPED_LOGIC, "logic")):
        for old, new in table.items():
            for match in re.finditer(re.escape(old), code):
                start, stop = match.start(), match.end()
                if kind != "logic" or not mixes_logic(code[:start] + new + code[stop:]):
                    changed.append((kind, line[:start] + new + line[stop:]))
    for match in re.finditer(r" [-+] 1\b(?!\.)", code):
        changed.append(("boundary", line[:match.end() - 1] + "2" + line[match.end():]))
    return changed


def negated_return(line, code, in_bool_function):
    """The line with its returned bool negated, or None when it does not return one."""
    returned = re.match(r"^(\s*)return (.+);$", code)
    if not returned or "?" in code:
        return None
    indent = returned.group(1)
    value = line[len(indent) + len("return "):len(line.rstrip()) - 1]
    if value in ("true", "false"):
        return f"{indent}return {'false' if value == 'true' else 'true'};"
    if re.fullmatch(r"![\w.:\->()]+", value):
        return f"{indent}return {value[1:]};"
    if in_bool_function or value.startswith("!") or re.search(r" (?:[<>=!]=|[<>]|&&|\|\|) ", code):
        return f"{indent}return !({value});"
    return None


def is_droppable_statement(code, previous_end):
    """Whether the line is one whole statement that is not a declaration."""
    stripped = code.strip()
    balanced = code.count("(") == code.count(")") and "{" not in code and "}" not in code
    return (balanced and previous_end in "{};" and SIMPLE_STATEMENT.match(stripped) is not None
            and (not stripped.startswith("return") or stripped == "return;"))


def text_changes(path, number, line, strings):
    """The German literals of the line, each with one letter changed."""
    changed = []
    for start, stop in strings:
        literal = line[start:stop]
        if is_german(literal):
            other = changed_text(literal, random.Random(f"{path}:{number}:{start}"))
            if other:
                changed.append(("text", line[:start] + other + line[stop:]))
    return changed


def candidates(path, text):
    """Every change the kinds allow on one file, as (kind, line number, before, after)."""
    found = []
    in_comment = False
    previous_end = "{"
    in_bool_function = False
    for number, line in enumerate(text.split("\n"), start=1):
        code, strings, in_comment = code_and_strings(line, in_comment)
        stripped = code.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if not line[0].isspace() and "(" in code and not stripped.endswith(";"):
            in_bool_function = re.match(r"(?:\[\[nodiscard\]\]\s*)?(?:static\s+)?bool\s", code)
        changed = operator_changes(line, code)
        negated = negated_return(line, code, in_bool_function)
        if negated:
            changed.append(("return", negated))
        if is_droppable_statement(code, previous_end):
            changed.append(("statement", ""))
        changed += text_changes(path, number, line, strings)
        found += [(kind, number, line, after) for kind, after in changed]
        previous_end = stripped[-1]
    return found


def sources(tree):
    listed = subprocess.run(["git", "-C", tree, "ls-files", "--cached", "--others",
                             "--exclude-standard", "*.cpp"],
                            check=True, capture_output=True, text=True).stdout.split()
    return sorted(p for p in listed if p.startswith(SOURCE_FOLDERS)
                  and not p.startswith(NOT_COMPILED_HERE) and not p.endswith("Tests.cpp")
                  and (Path(tree) / p).is_file())


def generate(tree, seed, count):
    rng = random.Random(seed)
    by_kind = {kind: [] for kind in KINDS}
    for path in sources(tree):
        text = (Path(tree) / path).read_text(encoding="utf-8")
        for kind, number, before, after in candidates(path, text):
            by_kind[kind].append({"file": path, "line": number, "kind": kind,
                                  "before": before, "after": after})
    for found in by_kind.values():
        rng.shuffle(found)
    chosen = []
    # An equal share per kind; what a short kind cannot give goes to the others.
    while len(chosen) < count and any(by_kind.values()):
        for kind in KINDS:
            if by_kind[kind] and len(chosen) < count:
                chosen.append(by_kind[kind].pop())
    return chosen


def apply(tree, mutant):
    path = Path(tree) / mutant["file"]
    lines = path.read_text(encoding="utf-8").split("\n")
    if lines[mutant["line"] - 1] != mutant["before"]:
        sys.exit(f"{mutant['file']}:{mutant['line']} no longer reads {mutant['before']!r}")
    lines[mutant["line"] - 1] = mutant["after"]
    path.write_text("\n".join(lines), encoding="utf-8")
    after = mutant["after"].strip() or "(dropped)"
    print(f"{mutant['file']}:{mutant['line']}  {mutant['before'].strip()}  →  {after}")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    generating = commands.add_parser("generate")
    generating.add_argument("tree")
    generating.add_argument("--seed", type=int, default=16)
    generating.add_argument("--count", type=int, default=150)
    applying = commands.add_parser("apply")
    applying.add_argument("tree")
    applying.add_argument("mutant")
    arguments = parser.parse_args()
    if arguments.command == "generate":
        for mutant in generate(arguments.tree, arguments.seed, arguments.count):
            print(json.dumps(mutant, ensure_ascii=False))
    else:
        apply(arguments.tree, json.loads(arguments.mutant))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the reference page that lists every exception text of the library.

Usage: messages_page.py <cqv source folder> <output .md>

Each folder keeps its texts in messages.def as CQV_MESSAGE(Name, "text");
the page shows them folder by folder, in the order of the folders' layers,
with the texts exactly as thrown (blanks made visible where they end one)."""
import pathlib
import re
import sys

LAYERS = ["core", "values", "arrays", "linalg", "numeric", "ndarray",
          "geometry", "splines", "betaspline", "graph"]
ENTRY = re.compile(r'CQV_MESSAGE\(\s*(\w+)\s*,\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\)')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
ESCAPE = re.compile(r'\\(x[0-9A-Fa-f]{1,2}|.)')
SIMPLE_ESCAPES = {"n": 10, "t": 9, "r": 13, "0": 0}


def thrown_text(literals):
    """The text a message's C literals make (adjacent literals joined,
    escapes decoded), and the name of its encoding: UTF-8, or Windows-1251
    for the texts written as its bytes."""
    data = bytearray()
    for literal in LITERAL.findall(literals):
        pos = 0
        for m in ESCAPE.finditer(literal):
            data += literal[pos:m.start()].encode("utf-8")
            code = m.group(1)
            if code.startswith("x"):
                data.append(int(code[1:], 16))
            else:
                data.append(SIMPLE_ESCAPES.get(code, ord(code)))
            pos = m.end()
        data += literal[pos:].encode("utf-8")
    try:
        return data.decode("utf-8"), None
    except UnicodeDecodeError:
        return data.decode("cp1251"), "Windows-1251"


def cell(text, encoding):
    """The text as Doxygen prints it verbatim: its command characters
    escaped, so that nothing in it becomes a link or a command (a double
    quote as an entity: escaped, it still opens a quoted span)."""
    shown = text.replace("\\", "\\\\")
    for c in "@&$#<>%|":
        shown = shown.replace(c, "\\" + c)
    shown = shown.replace('"', "&quot;")
    shown = shown.replace("::", "\\::")
    trailing = len(text) - len(text.rstrip(" "))
    if trailing:
        shown = shown.rstrip(" ") + "&#9251;" * trailing
    note = " (in the %s encoding)" % encoding if encoding else ""
    return "<tt>" + shown + "</tt>" + note


def main():
    root = pathlib.Path(sys.argv[1])
    out = ["# Exception texts {#messages}", "",
           "Every BadParameters the library throws carries one of these texts, "
           "exactly as written here (&#9251; marks a trailing blank, which is "
           "part of the text). The constants live in namespace `qvMsg`, one "
           "table per folder; a folder's header includes the tables of the "
           "folders below it.", ""]
    folders = sorted((p.parent.name for p in root.glob("*/messages.def")),
                     key=lambda f: LAYERS.index(f) if f in LAYERS else len(LAYERS))
    for folder in folders:
        entries = ENTRY.findall((root / folder / "messages.def").read_text(encoding="utf-8"))
        if not entries:
            continue
        out += ["## cqv/" + folder, "", "| Constant | Text |", "|---|---|"]
        out += ["| `qvMsg::%s` | %s |" % (name, cell(*thrown_text(literals))) for name, literals in entries]
        out.append("")
    pathlib.Path(sys.argv[2]).write_text("\n".join(out), encoding="utf-8")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Doxygen input filter for the library's headers.

The headers are written to be read as they stand: a plain `//` comment over
each declaration says what it does, and one comment may serve a run of
declarations that belong together (the overloads of one operation, the
synonyms of one accessor). Doxygen only reads `///` comments, so this filter
turns the headers into what it reads, without changing them on disk:

  * the comment that opens a header becomes the file's documentation;
  * a comment block at declaration level (in a namespace or a class, not in
    a function body) directly over a declaration becomes that declaration's
    documentation; a block followed by a blank line stays an ordinary comment;
  * when a block stands over several declarations with no blank line
    between them, every one of them carries the block's text;
  * the lines that apply a type list to declare the library's explicit
    instances are blanked: they declare nothing a reader looks up.

Usage (as Doxygen calls it): header_filter.py <file>; writes to stdout.
"""
import re
import sys

SCOPE_HEAD = re.compile(r"\b(class|struct|union|namespace|enum)\b")
ACCESS = re.compile(r"^\s*(public|protected|private)\s*:")
TYPE_LIST_USE = re.compile(r"^\s*CQV_FOR_EACH_\w+\(\w+\)\s*$")


def strip_code(line, state):
    """Returns the line's code with strings, characters and comments removed.

    `state` carries whether a block comment is open across lines."""
    out = []
    i = 0
    n = len(line)
    while i < n:
        if state["block"]:
            end = line.find("*/", i)
            if end < 0:
                return "".join(out)
            state["block"] = False
            i = end + 2
            continue
        c = line[i]
        if line.startswith("//", i):
            break
        if line.startswith("/*", i):
            state["block"] = True
            i += 2
            continue
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            i = j + 1
            out.append(" ")
            continue
        out.append(c)
        i += 1
    return "".join(out)


def scan(lines):
    """For each line, the scope stack in force at its start, as a tuple of
    'decl' (namespace, class, enum) and 'body' (anything else in braces)."""
    stacks = []
    stack = []
    head = ""
    state = {"block": False}
    for line in lines:
        stacks.append(tuple(stack))
        if line.lstrip().startswith("#"):
            continue
        code = strip_code(line, state)
        for c in code:
            if c == "{":
                is_decl = SCOPE_HEAD.search(head) and "(" not in head and "=" not in head
                stack.append("decl" if is_decl else "body")
                head = ""
            elif c == "}":
                if stack:
                    stack.pop()
                head = ""
            elif c == ";":
                head = ""
            else:
                head += c
    stacks.append(tuple(stack))
    return stacks


def at_declaration_level(stack):
    return all(kind == "decl" for kind in stack)


def is_comment(line):
    return line.lstrip().startswith("//")


def declaration_starts(lines, stacks, start):
    """Finds the declarations that follow a comment block from line `start`
    until a blank line, a comment or an access label at the same depth, and
    returns (the line where each begins, the index after the run)."""
    depth = len(stacks[start])
    starts = []
    open_decl = False
    i = start
    state = {"block": False}
    while i < len(lines):
        line = lines[i]
        if len(stacks[i]) == depth:
            if not line.strip() or is_comment(line) or ACCESS.match(line):
                break
        if line.lstrip().startswith("#"):
            i += 1
            continue
        if not open_decl and len(stacks[i]) == depth:
            starts.append(i)
            open_decl = True
        code = strip_code(line, state)
        level = len(stacks[i]) - depth
        for c in code:
            if c == "{":
                level += 1
            elif c == "}":
                level -= 1
                if level == 0 and not code.rstrip().endswith(";") and "=" not in code:
                    open_decl = False
            elif c == ";" and level == 0:
                open_decl = False
        i += 1
    return starts, i


def main():
    path = sys.argv[1]
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    stacks = scan(lines)
    out = []
    i = 0

    # The header's opening comment documents the file.
    if lines and is_comment(lines[0]):
        out.append("/// \\file")
        while i < len(lines) and is_comment(lines[i]):
            out.append("///" + lines[i].lstrip()[2:])
            i += 1

    while i < len(lines):
        line = lines[i]
        if TYPE_LIST_USE.match(line) and not stacks[i]:
            out.append("")
            i += 1
            continue
        if is_comment(line) and at_declaration_level(stacks[i]):
            j = i
            while j < len(lines) and is_comment(lines[j]):
                j += 1
            follows_code = j < len(lines) and lines[j].strip() and not ACCESS.match(lines[j])
            if not follows_code or lines[j].lstrip().startswith("#"):
                out.extend(lines[i:j])
                i = j
                continue
            indent = line[: len(line) - len(line.lstrip())]
            doc = [indent + "///" + lines[k].lstrip()[2:] for k in range(i, j)]
            starts, end = declaration_starts(lines, stacks, j)
            # Every declaration of the run carries the block's text.
            for k in range(j, end):
                if k in starts:
                    out.extend(doc)
                out.append(lines[k])
            i = end
            continue
        out.append(line)
        i += 1
    sys.stdout.write("\n".join(out))


if __name__ == "__main__":
    main()

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
  * a note after a data member or an enumerator on its own line documents
    that member;
  * a line that declares several names under one comment, such as
    `double d0, d1;`, is written as one declaration per name, each with the
    comment's text (Doxygen would give it to the first name only);
  * the lines that apply a type list to declare the library's explicit
    instances are blanked: they declare nothing a reader looks up.

Usage (as Doxygen calls it): header_filter.py <file>; writes to stdout.
"""
import re
import sys

SCOPE_HEAD = re.compile(r"\b(class|struct|union|namespace|enum)\b")
ACCESS = re.compile(r"^\s*(public|protected|private)\s*:")
TYPE_LIST_USE = re.compile(r"^\s*CQV_FOR_EACH_\w+\(\w+\)\s*$")
# A macro used as a statement of its own, without a semicolon.
MACRO_LINE = re.compile(r"^\s*[A-Z_][A-Z0-9_]*\(.*\)\s*$")


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
    directive = False
    for line in lines:
        stacks.append(tuple(stack))
        # A preprocessor line, with its continuation lines, is no code: the
        # parentheses of a macro's body would otherwise make the next class
        # head look like a function.
        if directive or line.lstrip().startswith("#"):
            directive = line.rstrip().endswith("\\")
            continue
        # Nor is a macro line such as a type list's use: it must not run
        # into the head of the class after it.
        if MACRO_LINE.match(line):
            head = ""
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
    until a blank line, a comment, an access label or the closing brace at
    the same depth, and
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
            # The brace that closes the class or namespace ends the run too.
            if line.lstrip().startswith("}"):
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
                # A body (or an initialiser, whose ';' follows) ends here;
                # an '=' inside the body, as in 'return a == b;', is no
                # initialiser.
                if level == 0:
                    open_decl = False
            elif c == ";" and level == 0:
                open_decl = False
        i += 1
    return starts, i


def trailing_comment(line):
    """Splits a line into its code and a '//' comment after the code, or
    returns None when there is no such comment."""
    quote = None
    i = 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
        elif line.startswith("//", i):
            code = line[:i]
            return (code, line[i + 2 :]) if code.strip() else None
        i += 1
    return None


def member_note(line):
    """A data member or an enumerator noted on its own line, as in
    `double re;  // real part`, documents itself: the note becomes a `///<`
    comment. Lines that open or close a scope keep their comments."""
    split = trailing_comment(line)
    if split is None or split[1].startswith("/"):
        return line
    code, note = split
    stripped = code.strip()
    if stripped.startswith(("#", "}")) or "{" in code or "(" in code:
        return line
    return code + "///<" + note


def split_declaration(line):
    """For a declaration of several plain names on one line, such as
    `double d0, d1, d2, d3;`, returns its indent, the type and the names;
    otherwise None."""
    m = re.match(r"^(\s*)([^(){}=<>,;]*?\b)(\w+)((?:\s*,\s*\w+)+)\s*;\s*$", line)
    if m is None:
        return None
    names = [m.group(3)] + [n.strip() for n in m.group(4).split(",") if n.strip()]
    return m.group(1), m.group(2), names


def one_by_one(line, doc):
    """Doxygen gives a comment over `double d0, d1;` to d0 alone: the names
    are declared one by one instead, each with the comment's text."""
    indent, type_, names = split_declaration(line)
    text = " ".join(d.strip()[3:].strip() for d in doc)
    return indent + " ".join("/** %s */ %s%s;" % (text, type_, n) for n in names)


def main():
    path = sys.argv[1]
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    stacks = scan(lines)
    out = []
    # Documentation waiting for the declaration that begins on a line.
    pending = {}
    # Lines that declare several names under one comment, with its text.
    several = {}
    i = 0

    # The header's opening comment documents the file.
    if lines and is_comment(lines[0]):
        out.append("/// \\file")
        while i < len(lines) and is_comment(lines[i]):
            out.append("///" + lines[i].lstrip()[2:])
            i += 1

    while i < len(lines):
        line = lines[i]
        if i in pending and split_declaration(line):
            several[i] = pending.pop(i)
        out.extend(pending.pop(i, []))
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
            if split_declaration(lines[j]):
                several[j] = doc
            else:
                out.extend(doc)
            # Every further declaration of the run carries the block's text
            # too. The run's lines are then read as any others, so that the
            # comments inside a documented class document its members.
            starts, _ = declaration_starts(lines, stacks, j)
            for k in starts[1:]:
                pending[k] = doc
            i = j
            continue
        if i in several:
            out.append(one_by_one(line, several[i]))
        else:
            out.append(member_note(line) if at_declaration_level(stacks[i]) else line)
        i += 1
    sys.stdout.write("\n".join(out))


if __name__ == "__main__":
    main()

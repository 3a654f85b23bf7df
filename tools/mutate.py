#!/usr/bin/env python3
"""Mutation testing for the cqv library: does the suite catch planted faults?

Picks lines of the library at random (reproducibly, from a seed), plants one
fault per mutant with an operator from a fixed list, rebuilds incrementally,
runs the test suite and reports every mutant as

  killed         the suite failed (or timed out) with the fault in place;
  survived       the suite passed: either a gap in the tests, or a mutant
                 that changes nothing observable (an equivalent mutant);
  non-compiling  the build refused the fault; not counted in the kill rate;
  not-built      the build made the same library and test programs, byte for
                 byte, as without the fault: the line is not compiled into
                 this build (an inactive preprocessor branch, such as the
                 fallback for compilers without vector extensions). The
                 suite is not run and the mutant is not counted.

The source tree is restored after every mutant, also on interruption.

    python3 tools/mutate.py --seed 7 --count 60
    python3 tools/mutate.py --seed 7 --count 60 --only cqv/linalg
    python3 tools/mutate.py --list-operators

The report goes to the console and, as JSON, to build/mutation/report.json.
Survivors are listed with file:line, the original and the mutated line, so
each can be judged: closed by a sharper test, or named equivalent.
"""

import argparse
import hashlib
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---- the operators ----------------------------------------------------------
#
# Each operator takes a line of code and returns the list of mutated lines it
# can make of it (empty when it does not apply). Only the code part of a
# line is touched: a trailing // comment and string or character literals
# are kept as they are.

RELATIONAL_FLIPS = {"<": ">=", ">": "<=", "<=": ">", ">=": "<", "==": "!=", "!=": "=="}
BOUNDARY_SHIFTS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}

# A comparison operator as the house style writes it: with a blank on each
# side. Template brackets (qvArray<T>, GetLE<std::int32_t>) and shifts never
# have blanks inside, so they are not taken for comparisons.
_REL = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")


def _split_code(line):
    """Returns (code, rest): rest is a trailing // comment, kept intact."""
    in_str = None
    i = 0
    while i < len(line):
        c = line[i]
        if in_str:
            if c == "\\":
                i += 2
                continue
            if c == in_str:
                in_str = None
        elif c in "\"'":
            in_str = c
        elif line.startswith("//", i):
            return line[:i], line[i:]
        i += 1
    return line, ""


def _literal_spans(code):
    spans = []
    for m in re.finditer(r"\"(\\.|[^\"\\])*\"|'(\\.|[^'\\])*'", code):
        spans.append((m.start(), m.end()))
    return spans


def _outside_literals(code, pos, spans):
    return all(not (a <= pos < b) for a, b in spans)


def _replace_ops(line, table):
    code, rest = _split_code(line)
    spans = _literal_spans(code)
    out = []
    for m in _REL.finditer(code):
        op = m.group(1)
        if op not in table or not _outside_literals(code, m.start(), spans):
            continue
        if code.lstrip().startswith("#"):
            continue
        out.append(code[: m.start()] + table[op] + code[m.end():] + rest)
    return out


def op_relational(line):
    return _replace_ops(line, RELATIONAL_FLIPS)


def op_boundary(line):
    return _replace_ops(line, BOUNDARY_SHIFTS)


_ARITH = re.compile(r"(?<=[\w\)\]])\s([+\-*/])\s(?=[\w\(])")


def op_arith(line):
    """a + b <-> a - b, a * b <-> a / b (binary operators spaced as the
    house style writes them)."""
    code, rest = _split_code(line)
    spans = _literal_spans(code)
    swap = {"+": "-", "-": "+", "*": "/", "/": "*"}
    out = []
    for m in _ARITH.finditer(code):
        if not _outside_literals(code, m.start(), spans):
            continue
        op = m.group(1)
        out.append(code[: m.start(1)] + swap[op] + code[m.end(1):] + rest)
    for m in re.finditer(r"([+\-*/])=", code):
        if m.start() > 0 and code[m.start() - 1] in "<>=!+-*/":
            continue
        if not _outside_literals(code, m.start(), spans):
            continue
        out.append(code[: m.start()] + swap[m.group(1)] + "=" + code[m.end():] + rest)
    for m in re.finditer(r"(\+\+|--)", code):
        if not _outside_literals(code, m.start(), spans):
            continue
        other = "--" if m.group(1) == "++" else "++"
        out.append(code[: m.start()] + other + code[m.end():] + rest)
    return out


# A declaration: a type then a name, with or without an initialiser, or a
# member declared with a specifier.
_DECL = re.compile(r"^\s*(static|virtual|explicit|inline|constexpr|extern|mutable|CQV_\w+|struct|class|enum)\b"
                   r"|^\s*(const\s+)?[\w:]+(<[^;=]*>)?[\s\*&]+[\*&]*\w+(\[[^\]]*\])?\s*(=[^=]|\(|\{|;)")


def op_drop(line, path=""):
    """Drops a whole statement: an assignment, an increment or a call that
    stands on one line. Declarations, returns, throws and control flow are
    left alone (dropping them rarely compiles)."""
    if path.endswith(".h") and not path.endswith(("_impl.h", "_internal.h")):
        return []  # public headers: statements there are declarations
    code, rest = _split_code(line)
    s = code.strip()
    if not s.endswith(";") or s.count(";") != 1:
        return []
    if re.match(r"^(return|throw|break|continue|case|default|using|typedef|template|static_assert|friend|goto)\b", s):
        return []
    if _DECL.match(code) and not re.match(r"^\s*\w+(\.|->|\[)", code):
        return []
    if s.startswith(("}", "{", "#", "(", ":", ",")):
        return []
    indent = code[: len(code) - len(code.lstrip())]
    return [indent + "(void)0; /* mutation: statement dropped */" + rest]


_INT = re.compile(r"(?<![\w.])(\d+)(?![\w.])")


def op_constant(line):
    """An integer literal n becomes n + 1 (0 becomes 1, 1 becomes 0)."""
    code, rest = _split_code(line)
    spans = _literal_spans(code)
    if code.lstrip().startswith("#"):
        return []
    out = []
    for m in _INT.finditer(code):
        if not _outside_literals(code, m.start(), spans):
            continue
        # Leave array bounds of declarations and shift widths alone? No:
        # any literal is fair game; what does not compile is reported.
        n = int(m.group(1))
        new = "0" if n == 1 else str(n + 1)
        out.append(code[: m.start()] + new + code[m.end():] + rest)
    return out


_STRIDE = re.compile(r"\b(tab|tabs|stride|strides|step|tabX|tabY|rowTab|colTab|ta|tb|dstTab|srcTab)\b")
_INDEX = re.compile(r"\[([^\[\]]+)\]")


def op_stride_index(line):
    """A stride read as 1, or an index off by one: p[i] -> p[i + 1]."""
    code, rest = _split_code(line)
    spans = _literal_spans(code)
    out = []
    for m in _STRIDE.finditer(code):
        if not _outside_literals(code, m.start(), spans):
            continue
        # Only where the stride is read, not declared or assigned.
        after = code[m.end():].lstrip()
        if after.startswith("=") and not after.startswith("=="):
            continue
        if re.search(r"\b(int|const)\s*$", code[: m.start()]):
            continue
        out.append(code[: m.start()] + "1" + code[m.end():] + rest)
    for m in _INDEX.finditer(code):
        if not _outside_literals(code, m.start(), spans):
            continue
        inner = m.group(1).strip()
        if not inner or inner.isdigit() and code[: m.start()].rstrip().endswith(("char", "int")):
            continue
        out.append(code[: m.start()] + "[" + inner + " + 1]" + code[m.end():] + rest)
    return out


OPERATORS = {
    "relational": (op_relational, "a comparison flipped (< to >=, == to !=, ...)"),
    "boundary": (op_boundary, "a bound shifted (< to <=, > to >=, and back)"),
    "arith": (op_arith, "an arithmetic sign swapped (+ -, * /, += -=, ++ --)"),
    "drop": (op_drop, "a statement dropped"),
    "constant": (op_constant, "an integer constant changed (n to n+1, 1 to 0)"),
    "stride": (op_stride_index, "a stride read as 1, or an index off by one"),
}

# ---- picking lines ------------------------------------------------------------


def library_files(only):
    files = []
    base = os.path.join(ROOT, "cqv")
    for dirpath, _, names in os.walk(base):
        for n in sorted(names):
            if not n.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(dirpath, n), ROOT)
            if only and not any(path.startswith(o.rstrip("/")) for o in only):
                continue
            if n in ("cqv.h", "export.h", "messages.h"):
                continue
            files.append(path)
    return sorted(files)


def candidate_lines(path):
    """Lines worth mutating: code, not comments, includes, guards or texts
    alone, and not inside a block comment."""
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        lines = f.read().split("\n")
    out = []
    in_block = False
    for i, line in enumerate(lines):
        s = line.strip()
        if in_block:
            if "*/" in s:
                in_block = False
            continue
        if s.startswith("/*"):
            in_block = "*/" not in s
            continue
        if not s or s.startswith(("//", "#", "static_assert", "template", "namespace", "}", "{", "public:",
                                  "private:", "protected:")):
            continue
        if s.startswith("inline constexpr char") or s.startswith('"'):
            continue
        out.append(i)
    return lines, out


def pick_mutants(rng, files, count, operators):
    """Draws (file, line, operator, mutated text) until count mutants are
    found; files are weighted by their candidate lines, so every folder gets
    its share. Each line is used at most once."""
    pool = []
    cache = {}
    for f in files:
        lines, cands = candidate_lines(f)
        cache[f] = lines
        pool.extend((f, i) for i in cands)
    rng.shuffle(pool)
    mutants = []
    for f, i in pool:
        if len(mutants) >= count:
            break
        ops = list(operators)
        rng.shuffle(ops)
        for name in ops:
            fn = OPERATORS[name][0]
            variants = fn(cache[f][i], f) if fn is op_drop else fn(cache[f][i])
            variants = [v for v in variants if v != cache[f][i]]
            if variants:
                mutants.append({"file": f, "line": i + 1, "operator": name,
                                "original": cache[f][i], "mutated": rng.choice(variants)})
                break
    return mutants, cache


# ---- building and testing ----------------------------------------------------------


def run(cmd, timeout, log):
    start = time.time()
    try:
        p = subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        out = p.stdout.decode("utf-8", "replace")
        rc = p.returncode
    except subprocess.TimeoutExpired as e:
        out = (e.stdout or b"").decode("utf-8", "replace") + "\n[timed out]"
        rc = None
    with open(log, "a", encoding="utf-8") as f:
        f.write("$ " + " ".join(cmd) + "\n" + out + "\n")
    return rc, time.time() - start


def configure(build, log):
    args = ["cmake", "-S", ".", "-B", build, "-DCMAKE_BUILD_TYPE=Debug", "-DCQV_BUILD_EXAMPLES=OFF",
            "-DCQV_INSTALL_MISSING=ON", "-DCQV_WERROR=OFF"]
    if shutil.which("ccache"):
        args.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    rc, _ = run(args, 600, log)
    if rc != 0:
        sys.exit("mutate: configuring %s failed; see %s" % (build, log))


def binaries_digest(build):
    """One digest of every linked program and library of the build (the
    compiler's own probes under CMakeFiles left out). The build uses no
    time stamps, so equal sources give equal bytes."""
    h = hashlib.sha256()
    for dirpath, dirnames, names in os.walk(build):
        dirnames[:] = sorted(d for d in dirnames if d != "CMakeFiles")
        for n in sorted(names):
            path = os.path.join(dirpath, n)
            if os.path.islink(path) or not os.path.isfile(path):
                continue
            if not (os.access(path, os.X_OK) or ".so" in n or n.endswith((".a", ".dll"))):
                continue
            h.update(os.path.relpath(path, build).encode("utf-8"))
            with open(path, "rb") as f:
                for chunk in iter(lambda: f.read(1 << 20), b""):
                    h.update(chunk)
    return h.hexdigest()


def build_and_test(build, jobs, build_timeout, test_timeout, log, baseline=None):
    rc, tb = run(["cmake", "--build", build, "-j%d" % jobs], build_timeout, log)
    if rc != 0:
        return "non-compiling", tb, 0.0
    if baseline is not None and binaries_digest(build) == baseline:
        return "not-built", tb, 0.0
    rc, tt = run(["ctest", "--test-dir", build, "-j%d" % jobs, "--stop-on-failure", "--timeout", "60",
                  "--output-on-failure"], test_timeout, log)
    return ("survived" if rc == 0 else "killed"), tb, tt


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--seed", type=int, default=1, help="seed of the random choice (default 1)")
    ap.add_argument("--count", type=int, default=60, help="number of mutants (default 60)")
    ap.add_argument("--only", action="append", default=[], help="only files under this path (repeatable)")
    ap.add_argument("--operators", default=",".join(OPERATORS), help="comma-separated operator names")
    ap.add_argument("--build", default="build/mutation", help="build folder (default build/mutation)")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--build-timeout", type=int, default=1200)
    ap.add_argument("--test-timeout", type=int, default=900)
    ap.add_argument("--dry-run", action="store_true", help="list the mutants without building")
    ap.add_argument("--list-operators", action="store_true")
    a = ap.parse_args()

    if a.list_operators:
        for name, (_, doc) in OPERATORS.items():
            print("%-11s %s" % (name, doc))
        return 0
    operators = [o for o in a.operators.split(",") if o]
    for o in operators:
        if o not in OPERATORS:
            sys.exit("mutate: unknown operator %s (see --list-operators)" % o)

    rng = random.Random(a.seed)
    files = library_files(a.only)
    mutants, cache = pick_mutants(rng, files, a.count, operators)
    if a.dry_run:
        for k, m in enumerate(mutants, 1):
            print("%3d %s:%d [%s]\n    - %s\n    + %s" % (k, m["file"], m["line"], m["operator"],
                                                      m["original"].strip(), m["mutated"].strip()))
        return 0

    build = os.path.join(ROOT, a.build)
    os.makedirs(build, exist_ok=True)
    log = os.path.join(build, "mutation.log")
    open(log, "w").close()
    configure(build, log)
    print("mutate: baseline build and suite ...", flush=True)
    status, tb, tt = build_and_test(build, a.jobs, a.build_timeout, a.test_timeout, log)
    if status != "survived":
        sys.exit("mutate: the unmutated suite does not pass (%s); see %s" % (status, log))
    print("mutate: baseline green (build %.0f s, suite %.0f s); %d mutants, seed %d" % (tb, tt, len(mutants), a.seed),
          flush=True)
    baseline = binaries_digest(build)

    results = []
    try:
        for k, m in enumerate(mutants, 1):
            path = os.path.join(ROOT, m["file"])
            lines = cache[m["file"]]
            mutated = list(lines)
            mutated[m["line"] - 1] = m["mutated"]
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(mutated))
            try:
                status, tb, tt = build_and_test(build, a.jobs, a.build_timeout, a.test_timeout, log, baseline)
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write("\n".join(lines))
            m.update(status=status, build_seconds=round(tb, 1), test_seconds=round(tt, 1))
            results.append(m)
            print("%3d/%d %-13s %s:%d [%s]" % (k, len(mutants), status, m["file"], m["line"], m["operator"]),
                  flush=True)
    except KeyboardInterrupt:
        print("mutate: interrupted; the source is restored", file=sys.stderr)

    # Leave the build matching the restored source.
    run(["cmake", "--build", build, "-j%d" % a.jobs], a.build_timeout, log)

    killed = sum(1 for r in results if r["status"] == "killed")
    survived = [r for r in results if r["status"] == "survived"]
    broken = sum(1 for r in results if r["status"] == "non-compiling")
    unbuilt = sum(1 for r in results if r["status"] == "not-built")
    valid = killed + len(survived)
    rate = 100.0 * killed / valid if valid else 0.0
    print("\nmutate: seed %d, %d mutants: %d killed, %d survived, %d non-compiling, %d not built; kill rate %.1f%%" %
          (a.seed, len(results), killed, len(survived), broken, unbuilt, rate))
    for r in survived:
        print("  survived %s:%d [%s]\n    - %s\n    + %s" % (r["file"], r["line"], r["operator"],
                                                         r["original"].strip(), r["mutated"].strip()))
    with open(os.path.join(build, "report.json"), "w", encoding="utf-8") as f:
        json.dump({"seed": a.seed, "count": len(results), "killed": killed, "survived": len(survived),
                   "non_compiling": broken, "not_built": unbuilt, "kill_rate": round(rate, 1), "mutants": results}, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())

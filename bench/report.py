#!/usr/bin/env python3
"""Side-by-side table of the benchmark results.

Reads the JSON that the benchmark programs wrote (--benchmark_out=... with
--benchmark_out_format=json; give the files, or folders holding them), pairs
BM_<kernel>/cqv/<n> with every BM_<kernel>/<peer>/<n>, and prints for each
kernel and size our time, the peer's time and their ratio. Kernels that only
have a peer side (the copy loop, the bandwidth limit, and Eigen's bare LU)
are listed as references. Results that carry a bytes_per_element counter
(the memory benchmarks) get a second table.

Times are CPU times of one call, the fastest of the repetitions when the
programs ran with --benchmark_repetitions (load from elsewhere on the
machine only ever adds time; when only aggregates were written, their
median is taken). A ratio above 1 means the library is slower; above 1.5 it
is marked.

    report.py [--markdown FILE] [--compiler TEXT] [--flags TEXT] RESULTS...

Python 3 standard library only.
"""

import argparse
import json
import os
import re
import sys

NAME = re.compile(r"^(BM_[^/]+)/([^/]+)/(\d+)")
TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
SLOW = 1.5


def result_files(paths):
    for path in paths:
        if os.path.isdir(path):
            for name in sorted(os.listdir(path)):
                if name.endswith(".json"):
                    yield os.path.join(path, name)
        else:
            yield path


class Result:
    """One benchmark at one size: CPU time in ns and its rate counters."""

    def __init__(self, time_ns, entry):
        self.time_ns = time_ns
        self.bytes_per_second = entry.get("bytes_per_second")
        self.items_per_second = entry.get("items_per_second")
        self.gflops = entry.get("GFLOPS")
        self.bytes_per_element = entry.get("bytes_per_element")
        self.heap_bytes_per_element = entry.get("heap_bytes_per_element")


def load(paths):
    """Returns (results, contexts): results maps (kernel, side, n) to a
    Result, in the order the programs ran them; contexts are the programs'
    context blocks."""
    samples = {}   # key -> list of (time, entry) of the repetitions
    medians = {}   # key -> (time, entry) of the median aggregate
    place = {}     # key -> (file, registration order, size order)
    contexts = []
    for file_no, path in enumerate(result_files(paths)):
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        contexts.append(data.get("context", {}))
        for entry in data.get("benchmarks", []):
            if entry.get("error_occurred"):
                continue
            match = NAME.match(entry.get("run_name", entry["name"]))
            if not match:
                continue
            key = (match.group(1), match.group(2), int(match.group(3)))
            # Repetitions may run in random order: registration order
            # (family_index) puts the table back in the programs' order.
            place.setdefault(key, (file_no, entry.get("family_index", len(place)),
                                   entry.get("per_family_instance_index", 0)))
            time = entry["cpu_time"] * TO_NS[entry.get("time_unit", "ns")]
            if entry.get("run_type") == "aggregate":
                if entry.get("aggregate_name") == "median":
                    medians[key] = (time, entry)
            else:
                samples.setdefault(key, []).append((time, entry))
    results = {}
    for key in sorted(place, key=place.get):
        if key in samples:
            time, entry = min(samples[key], key=lambda r: r[0])
        elif key in medians:
            time, entry = medians[key]
        else:
            continue
        results[key] = Result(time, entry)
    return results, contexts


def fmt_time(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def fmt_rate(r):
    if r is None:
        return ""
    if r.gflops is not None:
        return f"{r.gflops:.3g} GFLOP/s"
    if r.bytes_per_second is not None:
        b = r.bytes_per_second
        return f"{b / 1e9:.3g} GB/s" if b >= 1e9 else f"{b / 1e6:.3g} MB/s"
    if r.items_per_second is not None:
        return f"{r.items_per_second / 1e6:.3g} M/s"
    return ""


def build_rows(results):
    """Rows of the time table and of the memory table."""
    kernels = []
    by_kernel = {}
    for (kernel, side, n) in results:
        if kernel not in by_kernel:
            kernels.append(kernel)
            by_kernel[kernel] = {}
        by_kernel[kernel].setdefault(side, {})[n] = results[(kernel, side, n)]
    rows, memory = [], []
    for kernel in kernels:
        sides = by_kernel[kernel]
        ours = sides.get("cqv", {})
        peers = [s for s in sides if s != "cqv"]
        sizes = sorted({n for s in sides.values() for n in s})
        for n in sizes:
            mine = ours.get(n)
            if not peers and mine is not None:
                rows.append([kernel[3:], str(n), fmt_time(mine.time_ns), "", "", "", fmt_rate(mine), "", False])
            for peer in peers:
                theirs = sides[peer].get(n)
                if theirs is None:
                    continue
                if mine is None:
                    rows.append([kernel[3:], str(n), "", peer, fmt_time(theirs.time_ns), "", "", fmt_rate(theirs), False])
                    continue
                ratio = mine.time_ns / theirs.time_ns
                rows.append([kernel[3:], str(n), fmt_time(mine.time_ns), peer, fmt_time(theirs.time_ns),
                             f"{ratio:.2f}", fmt_rate(mine), fmt_rate(theirs), ratio > SLOW])
                if mine.bytes_per_element is not None and theirs.bytes_per_element is not None:
                    memory.append([kernel[3:], str(n),
                                   f"{mine.heap_bytes_per_element:.2f}", f"{mine.bytes_per_element:.2f}",
                                   peer,
                                   f"{theirs.heap_bytes_per_element:.2f}", f"{theirs.bytes_per_element:.2f}",
                                   f"{mine.bytes_per_element / theirs.bytes_per_element:.2f}"])
    return rows, memory


TIME_HEADER = ["kernel", "n", "cqv", "peer", "peer time", "cqv/peer", "cqv rate", "peer rate"]
MEMORY_HEADER = ["kernel", "n", "cqv heap B/elem", "cqv B/elem", "peer", "peer heap B/elem", "peer B/elem",
                 "cqv/peer"]


def text_table(header, rows):
    widths = [max(len(str(c)) for c in col) for col in zip(header, *rows)]
    lines = ["  ".join(str(c).ljust(w) for c, w in zip(header, widths)).rstrip()]
    lines.append("  ".join("-" * w for w in widths))
    lines += ["  ".join(str(c).ljust(w) for c, w in zip(row, widths)).rstrip() for row in rows]
    return "\n".join(lines)


def markdown_table(header, rows, text_columns):
    """Numbers right-aligned, the columns named in text_columns left."""
    lines = ["| " + " | ".join(header) + " |",
             "|" + "|".join("---" if h in text_columns else "---:" for h in header) + "|"]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    return "\n".join(lines)


def machine(contexts, compiler, flags):
    model = ""
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    cores = os.cpu_count()
    loads = [c["load_avg"][0] for c in contexts if c.get("load_avg")]
    mhz = contexts[0].get("mhz_per_cpu") if contexts else None
    parts = [f"CPU: {model or 'unknown'}, {cores} cores" + (f" at {mhz} MHz" if mhz else "")]
    if contexts and contexts[0].get("caches"):
        caches = ", ".join(f"L{c['level']} {c['type'].lower()} {c['size'] // 1024} KiB"
                           for c in contexts[0]["caches"])
        parts.append(f"caches: {caches}")
    if compiler:
        parts.append(f"compiler: {compiler}")
    if flags:
        parts.append(f"flags: `{' '.join(flags.split())}`")
    if loads:
        parts.append(f"load average when the programs started: {min(loads):.2f} to {max(loads):.2f}")
    return parts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("results", nargs="+", help="JSON result files or folders of them")
    parser.add_argument("--markdown", help="also write the tables as Markdown to this file")
    parser.add_argument("--compiler", default="", help="compiler, for the machine line")
    parser.add_argument("--flags", default="", help="compiler flags, for the machine line")
    args = parser.parse_args()

    results, contexts = load(args.results)
    if not results:
        print("no benchmark results found in " + " ".join(args.results), file=sys.stderr)
        return 1
    rows, memory = build_rows(results)
    about = machine(contexts, args.compiler, args.flags)

    def plain(row):
        return row[:5] + [row[5] + (" *" if row[8] else "")] + row[6:8]

    print("\n".join(about))
    print()
    print(text_table(TIME_HEADER, [plain(r) for r in rows]))
    print(f"\n* the library takes more than {SLOW} times the peer's time")
    if memory:
        print()
        print(text_table(MEMORY_HEADER, memory))

    if args.markdown:
        def marked(row):
            return row[:5] + [f"**{row[5]}**" if row[8] else row[5]] + row[6:8]

        text = ["Machine: " + "; ".join(about) + ".", "",
                f"CPU time of one call (the fastest repetition); cqv/peer above 1 means the library "
                f"is slower, in bold above {SLOW}.", "",
                markdown_table(TIME_HEADER, [marked(r) for r in rows], ("kernel", "peer"))]
        if memory:
            text += ["", "Memory per element once the container holds n doubles (heap chunk, and with the "
                     "container object):", "", markdown_table(MEMORY_HEADER, memory, ("kernel", "peer"))]
        with open(args.markdown, "w", encoding="utf-8") as f:
            f.write("\n".join(text) + "\n")
        print(f"\nMarkdown written to {args.markdown}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

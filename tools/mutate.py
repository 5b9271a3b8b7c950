#!/usr/bin/env python3
"""Mutation testing of the core code: does the suite notice a small fault?

Makes one small change at a time (a mutant) in the pixel, file-format, keying and cut-geometry
code, rebuilds the core library and the core tests, runs those tests and records whether they
failed (the mutant is killed) or passed (it survived). Kinds of change:
  compare    < <=, > >=, == != swapped one for the other
  off-by-one an integer literal added or subtracted (x + 1, x - 2) made one larger or smaller
  constant   any other integer literal made one larger (0 becomes 1, 1 becomes 0)

The work happens in a copy of the tree (build/mutate/src, built in build/mutate/src/build/mutate
so that ccache finds what the plain build compiled), so the working tree is never touched. A
mutant the compiler refuses (warnings are errors) is counted apart from the kill rate.

Usage: tools/mutate.py [N] [--seed S] [--timeout SECONDS] [--list]
  N          mutants to try, drawn at random from all of them (default 40; 0: all)
  --seed     the random draw (default 13), so that a run can be repeated
  --timeout  per test program (default 300 s); a test that hangs kills the mutant
  --list     print the mutants that would be tried and stop
"""

import argparse
import glob
import os
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.path.join(ROOT, "build", "mutate")
COPY = os.path.join(WORK, "src")
BUILD = os.path.join(COPY, "build", "mutate")

# Globs, so that files split from these still count.
SOURCES = [
    "core/pixels/*.cpp",
    "interfaces/device/osdfile*.cpp",
    "core/geometry/cutgeometry*.cpp",
]

COMPARISONS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
# Operators written with a space each side by the formatter; template brackets and shifts never are.
COMPARISON_RE = re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )")
LITERAL_RE = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
# Lines whose changes cannot reach the release build or the behaviour.
SKIP_LINE_RE = re.compile(r"^\s*(#|static_assert|Q_ASSERT|Q_STATIC_ASSERT|assert\b|qDebug|qInfo|qWarning)")


def core_tests():
    text = open(os.path.join(ROOT, "tests", "CMakeLists.txt"), encoding="utf-8").read()
    block = re.search(r"set\(BRISKLANE_CORE_TESTS(.*?)\)", text, re.S)
    if not block:
        sys.exit("mutate: no BRISKLANE_CORE_TESTS list in tests/CMakeLists.txt")
    return block.group(1).split()


def code_mask(lines):
    """Per line, the text with comments and string/char literals blanked out (same length)."""
    masked = []
    in_block = False
    for line in lines:
        out = []
        i = 0
        quote = None
        while i < len(line):
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    in_block = False
                    out.append("  ")
                    i += 2
                    continue
                out.append(" ")
            elif quote:
                if c == "\\":
                    out.append("  ")
                    i += 2
                    continue
                if c == quote:
                    quote = None
                out.append(" ")
            elif line.startswith("//", i):
                out.append(" " * (len(line) - i))
                break
            elif line.startswith("/*", i):
                in_block = True
                out.append("  ")
                i += 2
                continue
            elif c in "\"'":
                quote = c
                out.append(" ")
            else:
                out.append(c)
            i += 1
        masked.append("".join(out))
    return masked


def mutants_of(path):
    rel = os.path.relpath(path, ROOT)
    lines = open(path, encoding="utf-8").read().split("\n")
    found = []
    for number, code in enumerate(code_mask(lines), start=1):
        if not code.strip() or SKIP_LINE_RE.match(code):
            continue
        # Array sizes and enum values in declarations are left alone: most changes there do not build.
        for m in COMPARISON_RE.finditer(code):
            op = m.group(1)
            found.append((rel, number, m.start(), op, COMPARISONS[op], "compare"))
        for m in LITERAL_RE.finditer(code):
            literal, suffix = m.group(1), m.group(2)
            value = int(literal, 16) if literal.lower().startswith("0x") else int(literal)
            before = code[: m.start()].rstrip()
            spell = (lambda v: hex(v) + suffix) if literal.lower().startswith("0x") else (lambda v: str(v) + suffix)
            # Binary + or - only: a unary minus (-1) makes the literal a constant.
            operand = before[:-1].rstrip()[-1:]
            if before.endswith(("+", "-")) and not before.endswith(("++", "--")) and \
                    operand != "" and (operand.isalnum() or operand in "_)]"):
                found.append((rel, number, m.start(), literal + suffix, spell(value + 1), "off-by-one"))
                if value > 0:
                    found.append((rel, number, m.start(), literal + suffix, spell(value - 1), "off-by-one"))
            else:
                found.append((rel, number, m.start(), literal + suffix, spell(1 if value == 0 else value + 1 if value != 1 else 0), "constant"))
    return found


def apply(mutant, text):
    rel, number, column, old, new, _ = mutant
    lines = text.split("\n")
    line = lines[number - 1]
    assert line[column : column + len(old)] == old, (rel, number, line)
    lines[number - 1] = line[:column] + new + line[column + len(old) :]
    return "\n".join(lines), lines[number - 1].strip()


def run(cmd, timeout=None, env=None):
    return subprocess.run(cmd, cwd=BUILD, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout, env=env)


def copy_tree():
    if os.path.isdir(COPY):
        # Keep the build folder; refresh every tracked file.
        for entry in os.listdir(COPY):
            if entry != "build":
                target = os.path.join(COPY, entry)
                shutil.rmtree(target) if os.path.isdir(target) else os.remove(target)
    os.makedirs(COPY, exist_ok=True)
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                           stdout=subprocess.PIPE, text=True).stdout.split("\n")
    for rel in filter(None, files):
        source = os.path.join(ROOT, rel)
        if not os.path.isfile(source):
            continue
        target = os.path.join(COPY, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("count", nargs="?", type=int, default=40)
    parser.add_argument("--seed", type=int, default=13)
    parser.add_argument("--timeout", type=int, default=300)
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()

    paths = sorted({p for pattern in SOURCES for p in glob.glob(os.path.join(ROOT, pattern))})
    everything = [m for p in paths for m in mutants_of(p)]
    chosen = everything if args.count <= 0 or args.count >= len(everything) else \
        sorted(random.Random(args.seed).sample(everything, args.count))
    print(f"mutate: {len(everything)} mutants in {len(paths)} files; trying {len(chosen)} (seed {args.seed})")
    if args.list:
        for m in chosen:
            print(f"  {m[0]}:{m[1]}  {m[5]}: {m[3]} -> {m[4]}")
        return 0

    tests = core_tests()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_LOGGING_RULES="qt.qpa.*=false")
    if shutil.which("ccache"):
        env.setdefault("CCACHE_BASEDIR", os.path.dirname(ROOT))
        env.setdefault("CCACHE_NOHASHDIR", "1")
    os.environ.update(env)
    copy_tree()
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    subprocess.run(["cmake", "-S", COPY, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DBRISKLANE_TESTS=ON", "-DBRISKLANE_WERROR=ON"] + launcher,
                   check=True, stdout=subprocess.DEVNULL)
    jobs = str(os.cpu_count() or 2)
    build = ["cmake", "--build", BUILD, "--parallel", jobs, "--target"] + tests
    ctest = ["ctest", "--parallel", jobs, "--timeout", str(args.timeout), "-R", "^(" + "|".join(tests) + ")$"]
    print("mutate: building the core library and the core tests")
    if run(build).returncode != 0 or run(ctest).returncode != 0:
        sys.exit("mutate: the unchanged tree does not build or its core tests fail")

    killed, survived, refused = [], [], []
    started = time.time()
    for i, mutant in enumerate(chosen, start=1):
        path = os.path.join(COPY, mutant[0])
        original = open(path, encoding="utf-8").read()
        mutated, shown = apply(mutant, original)
        where = f"{mutant[0]}:{mutant[1]}"
        change = f"{mutant[5]}: {mutant[3]} -> {mutant[4]}"
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write(mutated)
            if run(build).returncode != 0:
                refused.append((where, change, shown))
                verdict = "refused by the compiler"
            else:
                try:
                    failed = run(ctest, timeout=args.timeout * len(tests)).returncode != 0
                except subprocess.TimeoutExpired:
                    failed = True
                (killed if failed else survived).append((where, change, shown))
                verdict = "killed" if failed else "SURVIVED"
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        print(f"[{i}/{len(chosen)} {time.time() - started:5.0f} s] {where} {change}: {verdict}", flush=True)

    tried = len(killed) + len(survived)
    rate = 100.0 * len(killed) / tried if tried else 0.0
    print()
    print(f"mutate: {len(killed)} of {tried} mutants killed ({rate:.0f}%), {len(refused)} refused by the compiler, "
          f"{time.time() - started:.0f} s")
    if survived:
        print("survivors:")
        for where, change, shown in survived:
            print(f"  {where}  {change}    {shown}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""Fails if an operation costs more instructions against the rules' floor than its budget.

Instruction counts from callgrind do not depend on machine load, so this is a
check a continuous-integration run can make where a timing could not: each
operation of the budget file and its floor (bench/floor.c, the least the rules
of the classes allow, built into a temporary folder) are measured in timeit's
loop less the empty loop (see instructions.py), with PYTHONHASHSEED fixed,
against the installed tessamir. The target is 1.05 times the floor; an
operation recorded above it keeps its recorded ratio plus 1 % as its budget.

    python bench/check_instructions.py            # check
    python bench/check_instructions.py --record   # measure again and rewrite the budget
"""

from __future__ import annotations

import argparse
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import floor  # noqa: E402
import instructions  # noqa: E402

BUDGET = Path(__file__).resolve().parent / "instructions-budget.txt"
TARGET = 1.05
HEADROOM = 1.01


def measure(setup: str) -> list[tuple[str, str, float, float]]:
    """(statement, floor, ours, floor's) instructions per call of every pair."""
    return [(stmt, other, instructions.per_call(stmt, setup, n), instructions.per_call(other, setup, n))
            for stmt, other, n in floor.pairs()]


def record(setup: str) -> None:
    lines = ["# Instructions per call against the rules' floor (bench/floor.c): callgrind, timeit's",
             f"# loop less the empty loop, PYTHONHASHSEED={instructions.SEED}. Written by",
             "# bench/check_instructions.py --record. statement, floor, budget (ratio), measured ratio"]
    for stmt, other, ours, theirs in measure(setup):
        ratio = ours / theirs
        budget = TARGET if ratio <= TARGET else round(ratio * HEADROOM, 3)
        lines.append(f"{stmt}\t{other}\t{budget}\t{ratio:.3f}")
        print(f"{stmt:<62} {ours:9.1f} / {theirs:9.1f} = {ratio:.3f}")
    BUDGET.write_text("\n".join(lines) + "\n")


def check(setup: str) -> int:
    budget = {}
    for line in BUDGET.read_text().splitlines():
        if line and not line.startswith("#"):
            stmt, other, limit, _ = line.split("\t")
            budget[stmt, other] = float(limit)
    failed = 0
    for stmt, other, ours, theirs in measure(setup):
        ratio, limit = ours / theirs, budget.get((stmt, other), TARGET)
        verdict = "OVER BUDGET" if ratio > limit else "ok" if ratio <= TARGET else f"ok, over the target {TARGET}"
        failed += ratio > limit
        print(f"{stmt:<62} {ours:9.1f} / {theirs:9.1f} = {ratio:.3f}, budget {limit}: {verdict}")
    return 1 if failed else 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--record", action="store_true", help="measure again and rewrite the budget file")
    args = parser.parse_args()
    if not shutil.which("valgrind"):
        subprocess.run(["apt-get", "install", "-y", "valgrind"], check=True)
    with tempfile.TemporaryDirectory() as folder:
        setup = floor.setup(floor.build(folder))
        if args.record:
            record(setup)
            return 0
        return check(setup)


if __name__ == "__main__":
    sys.exit(main())

"""Fails if a constructor call costs more instructions than its recorded budget.

Instruction counts from callgrind do not depend on machine load, so this is a
check a continuous-integration run can make where a timing could not: each
statement of the budget file is measured in timeit's loop less the empty loop
(see instructions.py), with PYTHONHASHSEED fixed, against the installed
tessamir. The budget is the count measured when it was recorded plus 5 %.

    python bench/check_instructions.py            # check (under a minute)
    python bench/check_instructions.py --record   # measure again and rewrite the budget
"""

from __future__ import annotations

import argparse
import platform
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import instructions  # noqa: E402

BUDGET = Path(__file__).resolve().parent / "instructions-budget.txt"
HEADROOM = 1.05
STATEMENTS = ['Currency("ZWL")', 'Country("XX")', 'Side("Sell")', 'Exchange("Simu")',
              'SubIndustry("RealEstateServices")']


def interpreter() -> str:
    return f"{platform.python_implementation()} {platform.python_version()} {platform.machine()}"


def record() -> None:
    lines = ["# Instructions per constructor call: callgrind, timeit's loop less the empty loop,",
             f"# PYTHONHASHSEED={instructions.SEED}. Written by bench/check_instructions.py --record.",
             f"interpreter: {interpreter()}",
             "# statement, budget (measured + 5 %), measured"]
    for stmt in STATEMENTS:
        measured = instructions.per_call(stmt)
        lines.append(f"{stmt}\t{round(measured * HEADROOM)}\t{measured:.0f}")
        print(lines[-1])
    BUDGET.write_text("\n".join(lines) + "\n")


def check() -> int:
    recorded_on, budget = None, {}
    for line in BUDGET.read_text().splitlines():
        if line.startswith("interpreter: "):
            recorded_on = line.removeprefix("interpreter: ")
        elif line and not line.startswith("#"):
            stmt, limit, _ = line.split("\t")
            budget[stmt] = int(limit)
    if recorded_on != interpreter():
        print(f"the budget was recorded on {recorded_on}, this is {interpreter()}: record it again with --record")
        return 1
    failed = 0
    for stmt, limit in budget.items():
        measured = instructions.per_call(stmt)
        verdict = "ok" if measured <= limit else "OVER BUDGET"
        failed += measured > limit
        print(f"{stmt:<36} {measured:8.1f} instructions per call, budget {limit}: {verdict}")
    return 1 if failed else 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--record", action="store_true", help="measure again and rewrite the budget file")
    args = parser.parse_args()
    if not shutil.which("valgrind"):
        subprocess.run(["apt-get", "install", "-y", "valgrind"], check=True)
    if args.record:
        record()
        return 0
    return check()


if __name__ == "__main__":
    sys.exit(main())

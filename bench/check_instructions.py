"""Fails if an operation costs more instructions against the rules' floor than its budget.

Instruction counts from callgrind do not depend on machine load, so this is a
check a continuous-integration run can make where a timing could not: each
operation of floor.pairs() and its floor (bench/floor.c, the least the rules
of the classes allow, built into a temporary folder) are measured in timeit's
loop less the empty loop (see instructions.py), with PYTHONHASHSEED fixed,
against the installed tessamir, and their ratio must stay within the
operation's budget (floor.py: 1.05, the target, for every operation but
texts beyond 48 bytes).

    python bench/check_instructions.py
"""

from __future__ import annotations

import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import floor  # noqa: E402
import instructions  # noqa: E402


def main() -> int:
    if not shutil.which("valgrind"):
        subprocess.run(["apt-get", "install", "-y", "valgrind"], check=True)
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        setup = floor.setup(floor.build(folder))
        for stmt, other, n, budget in floor.pairs():
            ours, theirs = instructions.per_call(stmt, setup, n), instructions.per_call(other, setup, n)
            ratio = ours / theirs
            failed += ratio > budget
            verdict = "OVER BUDGET" if ratio > budget else "ok"
            print(f"{stmt:<62} {ours:9.1f} / {theirs:9.1f} = {ratio:.3f}, budget {budget}: {verdict}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

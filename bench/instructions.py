"""Instruction counts of single Python statements, from callgrind.

A statement is measured in exactly the loop that timeit times (the same
generated function, the same globals dictionary), and the same loop with the
statement replaced by `pass` is subtracted, so what remains is the statement
itself: its bytecode, the calls it makes and the objects it frees.

Each figure comes from two processes under valgrind that run both loops with
swapped iteration counts (n and 2n): the start-up of the interpreter and the
compilation of the loops are the same in both and cancel, as does the empty
loop, leaving n times (statement - pass). Instruction counts do not depend on
machine load; with a fixed PYTHONHASHSEED they repeat to the instruction.

    python bench/instructions.py 'Currency("ZWL")' 'slice("ZWL")'
"""

from __future__ import annotations

import os
import re
import shutil
import subprocess
import sys
import tempfile

SEED = "0"
SETUP = "import tessamir\nfrom tessamir import *\n"


def available() -> bool:
    return shutil.which("valgrind") is not None


def _total(code: str, extra: list[str] | None = None) -> int:
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", *(extra or []),
                        sys.executable, "-c", code],
                       check=True, capture_output=True, env=dict(os.environ, PYTHONHASHSEED=SEED))
        with open(out) as f:
            return int(re.search(r"^totals: (\d+)", f.read(), re.M)[1])


def _loops(setup: str, stmt: str, n_stmt: int, n_pass: int) -> str:
    return (f"import timeit\n{setup}\n"
            f"timeit.Timer({stmt!r}, globals=globals()).timeit({n_stmt})\n"
            f"timeit.Timer('pass', globals=globals()).timeit({n_pass})\n")


def per_call(stmt: str, setup: str = SETUP, n: int = 20_000) -> float:
    """Instructions of one execution of `stmt` in timeit's loop, less the
    empty loop's iteration."""
    more = _total(_loops(setup, stmt, 2 * n, n))
    less = _total(_loops(setup, stmt, n, 2 * n))
    return (more - less) / n


def constructor_spread(cls_name: str) -> list[int]:
    """Instructions of one class's constructor call (the interpreter's type
    call and the class's constructor slot: hashing, probing, comparing,
    allocating), once for every text it accepts: callgrind collects inside the
    interpreter's type call only and writes one dump per call."""
    # The process ends without the interpreter's shutdown, which makes type calls of its own.
    code = ("import os, sys\n" + SETUP + f"C = {cls_name}\n"
            "texts = [repr(m)[len(C.__name__) + 1:-1] for m in C.members()]\n"
            "texts += [t for t in ('EUr', 'GBp', 'USd') if C is Currency]\n"
            "print(len(texts))\n"
            "sys.stdout.flush()\n"
            "for t in texts: C(t)\n"
            "os._exit(0)\n")
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        run = subprocess.run(["valgrind", "--tool=callgrind", "--collect-atstart=no", "--toggle-collect=type_call",
                              "--dump-after=type_call", f"--callgrind-out-file={out}", sys.executable, "-c", code],
                             check=True, capture_output=True, text=True, env=dict(os.environ, PYTHONHASHSEED=SEED))
        count = int(run.stdout.split()[0])
        dumps = sorted((name for name in os.listdir(folder) if re.search(r"\.\d+$", name)),
                       key=lambda name: int(name.rsplit(".", 1)[1]))
        totals = []
        for name in dumps:
            with open(os.path.join(folder, name)) as f:
                totals.append(int(re.search(r"^totals: (\d+)", f.read(), re.M)[1]))
    # The type calls of the import come first; the last `count` are the texts'.
    return totals[-count:]


if __name__ == "__main__":
    for stmt in sys.argv[1:]:
        print(f"{per_call(stmt):9.1f}  {stmt}")

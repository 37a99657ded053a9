#!/usr/bin/env python3
"""Finds the hash seed of each class's lookup table and prints it.

Every class records the seed of its constructor's hash table beside its table
(`HashSeed{...}` in the `enum_table(...)` call of the class's source file), and
the build only checks it: a seed whose longest probe sequence is too long stops
the build with a message that names this tool. After adding, removing or
renaming a member, run

    python tools/find_seeds.py

and copy each seed it marks as changed into the class's `HashSeed{...}`.

The search runs in C++ on the module's own tables: the sources are compiled
with TESSAMIR_FIND_SEEDS (under which a poor seed still compiles) together
with tools/find_seeds.cpp into a throwaway extension in a temporary directory,
which is then imported. It takes the compiler in $CXX (default c++) and the
running interpreter's headers. Exit status 1 when any recorded seed differs
from the one found.
"""

import importlib.util
import os
import shlex
import subprocess
import sys
import sysconfig
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def build(directory):
    """Compiles the seed search; returns the path of the extension."""
    target = Path(directory) / ("_tessamir_seeds" + sysconfig.get_config_var("EXT_SUFFIX"))
    command = [
        *shlex.split(os.environ.get("CXX", "c++")), "-std=c++20", "-O1", "-shared", "-fPIC",
        "-DPy_LIMITED_API=0x030B0000", "-DTESSAMIR_FIND_SEEDS",
        "-I", sysconfig.get_paths()["include"],
        *(["-undefined", "dynamic_lookup"] if sys.platform == "darwin" else []),
        *sorted(str(path) for path in (ROOT / "src").rglob("*.cpp")), str(ROOT / "tools" / "find_seeds.cpp"),
        "-o", str(target),
    ]
    subprocess.run(command, check=True)
    return target


def main():
    with tempfile.TemporaryDirectory() as directory:
        spec = importlib.util.spec_from_file_location("_tessamir_seeds", build(directory))
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        rows = module.seeds()
    changed = 0
    print(f"{'class':<20} {'recorded':>8} {'probe':>5}   {'found':>5} {'probe':>5}")
    for name, recorded, recorded_probe, found, found_probe in rows:
        mark = "" if recorded == found else "   <- record HashSeed{%d}" % found
        changed += recorded != found
        print(f"{name:<20} {recorded:>8} {recorded_probe:>5}   {found:>5} {found_probe:>5}{mark}")
    return 1 if changed else 0


if __name__ == "__main__":
    sys.exit(main())

"""Allocation failure: the import and every operation of every class, with the
interpreter's allocator failing at each point in turn (see alloc_fail.py).

Each sweep runs in a process of its own, so that a crash fails one test.
"""

import importlib.util
import json
import os
import subprocess
import sys
import warnings
from pathlib import Path

import pytest

import tessamir

SWEEP = Path(__file__).with_name("alloc_fail.py")


def unsweepable():
    """Why the sweeps cannot run here, or None. Each attempt runs in a forked
    child, bounded by an alarm, and fails allocations through the
    interpreter's test module (which some builds omit). An interpreter that
    fails such a sweep without the module cannot judge the module's: free-
    threaded 3.13.15t crashes on a new list of two new floats (what members()
    makes), and hangs on "ab cd".split() or at exit after pickle.dumps() of
    an enum.Enum member."""
    if not hasattr(os, "fork") or importlib.util.find_spec("_testcapi") is None:
        return "the sweeps need fork() and _testcapi"
    import interpreter_faults

    if interpreter_faults.plain_sweep_fails():
        return "the interpreter fails an allocation failure sweep of plain calls without the module"
    return None


UNSWEEPABLE = unsweepable()
pytestmark = pytest.mark.skipif(UNSWEEPABLE is not None, reason=str(UNSWEEPABLE))


def sweep(*args):
    # A minute natively; the bound is for a run under valgrind.
    result = subprocess.run([sys.executable, str(SWEEP), *args], capture_output=True, text=True,
                            timeout=3600)
    assert result.returncode == 0, f"status {result.returncode}\n{result.stderr[-5000:]}"
    return json.loads(result.stdout)


@pytest.mark.slow
def test_import():
    stats = sweep("import")
    # Building the classes and their class attributes takes at least one
    # allocation per class attribute.
    attributes = sum(type(v) is cls for cls in map(vars(tessamir).get, tessamir.__all__)
                     for v in vars(cls).values())
    assert stats["allocations"] > attributes
    accepted = stats["accepted"]
    assert stats["failed"] + sum(accepted.values()) >= stats["attempts"] - 20
    if any(accepted.values()):
        warnings.warn(f"the import's allocation failure sweep accepted the interpreter's own faults "
                      f"(CPython {sys.version.split()[0]}, found by its module-free checks): "
                      + ", ".join(f"{count} × {kind}" for kind, count in accepted.items() if count))
    print(stats)


@pytest.mark.parametrize("name", tessamir.__all__)
def test_class(name):
    stats = sweep("class", name)
    assert stats["operations"] >= 30 and stats["failed"] > stats["operations"]
    if stats["accepted_lost_messages"]:
        warnings.warn(f"{name}'s allocation failure sweep accepted {stats['accepted_lost_messages']} errors "
                      f"raised without their message (CPython {sys.version.split()[0]}'s own fault)")

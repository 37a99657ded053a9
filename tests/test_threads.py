"""Threads: eight threads construct, list, compare, print, pickle, copy and
call every accessor of every class at once, switching as often as the
interpreter allows (on a free-threaded interpreter, running in parallel),
while another imports the module again and again (where there is a GIL);
every result is the one a single thread gets, and no reference is gained or
lost."""

import importlib
import random
import sys
import sysconfig
import threading

import pytest

import tessamir
from surface import classes, counted, operations, outcome, refcounts, rejections

WORKERS = 8
ROUNDS = 10  # of 500 calls each, every worker
# A free-threaded 3.13 makes a module object immortal or not depending on
# what other threads are doing at that moment, and may decide so after the
# module is made: the classes' reference counts after concurrent re-imports
# cannot be foreseen there, so it re-imports only where the GIL is.
REIMPORT = not sysconfig.get_config_var("Py_GIL_DISABLED")


@pytest.mark.slow
def test_concurrent_use_gives_consistent_results():
    calls = [(label, call) for cls in classes(tessamir) for label, call in operations(cls)]
    calls += [(label, call) for cls in classes(tessamir) for label, call in rejections(cls)]
    expected = [outcome(call) for _, call in calls]
    # The interpreter keeps the module object of the latest import of a
    # single-phase extension; let that be a re-imported one from the start.
    del sys.modules["tessamir"]
    importlib.import_module("tessamir")
    sys.modules["tessamir"] = tessamir
    counts = refcounts(classes(tessamir))
    wrong = []
    start = threading.Barrier(WORKERS + 1)
    finished = threading.Event()

    def work(number):
        order = list(range(len(calls)))
        random.Random(number).shuffle(order)
        start.wait()
        for _ in range(ROUNDS):
            for i in order[:500]:
                got = outcome(calls[i][1])
                if got != expected[i]:
                    wrong.append((calls[i][0], got, expected[i]))
            order = order[500:] + order[:500]

    kept = []  # re-imported modules the interpreter never frees, each binding every class

    def reimport():
        start.wait()
        while not finished.is_set():
            del sys.modules["tessamir"]
            again = importlib.import_module("tessamir")
            if classes(again) != classes(tessamir) or again.__all__ != tessamir.__all__:
                wrong.append(("import", again.__all__, tessamir.__all__))
            # A free-threaded 3.13 makes a module immortal when it is made
            # while other threads run.
            if not counted([again]):
                kept.append(None)
        sys.modules["tessamir"] = tessamir

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1e-6)
    try:
        workers = [threading.Thread(target=work, args=(n,)) for n in range(WORKERS)]
        importer = threading.Thread(target=reimport if REIMPORT else start.wait)
        for thread in [*workers, importer]:
            thread.start()
        for thread in workers:
            thread.join()
    finally:
        finished.set()  # the re-imports end however the workers did
        sys.setswitchinterval(interval)
    importer.join()
    assert not wrong, wrong[:5]
    del workers, importer
    assert refcounts(classes(tessamir)) == [count + len(kept) for count in counts]

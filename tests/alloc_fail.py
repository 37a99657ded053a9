"""Runs the module while the interpreter's allocator fails, in a process of its own.

    python alloc_fail.py import       the module's init function
    python alloc_fail.py class NAME   every operation on one class

For N = 1, 2, ... each attempt makes the N-th allocation and every later one
fail ("from N on"), until the attempt succeeds; then, for the same range of N,
only the N-th allocation fails ("only N"). Every attempt must either give the
normal result or raise MemoryError (an operation that normally raises may
raise its own exception instead), and the same call made normally right after
must give the normal result. The summary is printed as JSON; any fault is
printed to stderr and the exit status is 1. A crash ends the process with a
signal.
"""

import functools
import hashlib
import importlib.machinery
import importlib.util
import json
import os
import signal
import sys

import _imp
import _testcapi

import surface

set_nomemory = _testcapi.set_nomemory
remove_mem_hooks = _testcapi.remove_mem_hooks

FAULTS = []


def fault(message):
    FAULTS.append(message)
    print(message, file=sys.stderr, flush=True)


# Kept small: an exception handler at a bytecode offset above 256 needs a new
# int object, and the interpreter retries that allocation forever.
def attempt(call, start, stop):
    set_nomemory(start, stop)
    try:
        value = call()
    except BaseException as exc:
        remove_mem_hooks()
        return exc, None
    remove_mem_hooks()
    return None, value


def check(label, call, expected, start, stop):
    """One attempt with allocations start+1 .. stop failing (stop 0: all
    later ones), then the same call made normally. Returns "normal" when the
    attempt gave the normal outcome, "failed" when it raised an acceptable
    error, "fault" otherwise."""
    exc, value = attempt(call, start, stop)
    what = f"{label} with allocation {start + 1}{' and later ones' if stop == 0 else ''} failing"
    if exc is None:
        got = ("gives", surface.canonical(value))
    else:
        got = ("raises", type(exc).__name__, str(exc))
    exc = value = None
    if got == expected:
        result = "normal"
    elif got[:2] == ("raises", "MemoryError"):
        result = "failed"
    else:
        fault(f"{what}: {got!r}, normally {expected!r}")
        result = "fault"
    again = surface.outcome(call)
    if again != expected:
        fault(f"{what}, and then normally: {again!r}, expected {expected!r}")
    return result


def sweep_call(label, call, stats):
    """Both sweeps over one call; returns the number of failed attempts."""
    expected = surface.outcome(call)
    results = []
    while not results or results[-1] == "failed":
        results.append(check(label, call, expected, len(results), 0))
    for n in range(1, len(results) + 1):
        results.append(check(label, call, expected, n - 1, n))
    stats["attempts"] += len(results)
    stats["longest"] = max(stats["longest"], len(results) // 2)
    return results.count("failed")


def sweep_class(name):
    import tessamir

    cls = getattr(tessamir, name)
    watched = surface.classes(tessamir) + surface.PICKLE_GLOBALS
    counts = surface.refcounts(watched)
    stats = {"operations": 0, "attempts": 0, "failed": 0, "longest": 0}
    for label, call in surface.operations(cls):
        failed = sweep_call(label, call, stats)
        if call() is not call() and failed == 0:
            fault(f"{label}: no attempt failed; the sweep did not reach its allocation")
        stats["operations"] += 1
        stats["failed"] += failed
    for label, call in surface.rejections(cls):
        stats["failed"] += sweep_call(label, call, stats)
        stats["operations"] += 1
    del label, call
    for o, before, after in zip(watched, counts, surface.refcounts(watched)):
        if after != before:
            fault(f"{o.__name__}: {after - before:+} references after the sweep")
    return stats


# --- The import ---------------------------------------------------------------
#
# Each attempt runs in a child forked from this process, which has found the
# module but never loaded it, so that every attempt starts from an interpreter
# without the extension's class objects. "From N on" calls the extension
# loader that the import statement uses directly: with every allocation
# failing, the import statement's own Python code can spin forever unwinding
# the error. "Only N" goes through the import statement itself.

# How an import attempt ended, as the child's exit status.
SUCCEEDED, FAILED, LEFT_BEHIND = 10, 11, 12
WORKERS = 2
CHILD_SECONDS = 120  # an attempt takes milliseconds; well under a second under valgrind


def children(bodies):
    """Runs each body in a forked child, WORKERS at a time. A body returns
    (exit status, message). Gives (status, message) per body, in order; a
    child ended by a signal gives minus the signal number."""
    results = [None] * len(bodies)
    running = {}
    pending = list(enumerate(bodies))
    while pending or running:
        while pending and len(running) < WORKERS:
            index, body = pending.pop(0)
            read, write = os.pipe()
            pid = os.fork()
            if pid == 0:
                signal.alarm(CHILD_SECONDS)  # the interpreter itself can spin forever
                os.close(read)
                code, text = 1, ""
                try:
                    code, text = body()
                except BaseException as exc:
                    text = f"{type(exc).__name__}: {exc}"
                finally:
                    os.write(write, text[:2000].encode())
                    os._exit(code)
            os.close(write)
            running[pid] = index, read
        pid, status = os.wait()
        index, read = running.pop(pid)
        with os.fdopen(read, "rb") as pipe:
            text = pipe.read().decode()
        code = -os.WTERMSIG(status) if os.WIFSIGNALED(status) else os.WEXITSTATUS(status)
        results[index] = code, text
    return results


def imported_snapshot():
    import tessamir

    return hashlib.sha256(repr(surface.snapshot(tessamir)).encode()).hexdigest()


class FailingLoader(importlib.machinery.ExtensionFileLoader):
    """The extension loader with only allocation `fail` of the init failing."""

    def create_module(self, module_spec):
        set_nomemory(self.fail - 1, self.fail)
        return _imp.create_dynamic(module_spec)


class Finder:
    def __init__(self, module_spec):
        self.module_spec = module_spec

    def find_spec(self, name, path=None, target=None):
        return self.module_spec if name == "tessamir" else None


def import_attempt(module_spec, n, single, expected):
    """Child body: one failing import, then a normal one, checked against a
    plain import's classes."""
    if single:
        loader = FailingLoader("tessamir", module_spec.origin)
        loader.fail = n
        sys.meta_path.insert(0, Finder(importlib.util.spec_from_file_location("tessamir", module_spec.origin,
                                                                              loader=loader)))
        try:
            import tessamir  # noqa: F401
            exc = None
        except BaseException as error:
            exc = error
        finally:
            remove_mem_hooks()
        del sys.meta_path[0]
    else:
        exc, _ = attempt(functools.partial(_imp.create_dynamic, module_spec), n - 1, 0)
    code = SUCCEEDED
    if exc is not None:
        if type(exc) is not MemoryError:
            return 2, f"the failed import raised {type(exc).__name__}: {exc}"
        # The interpreter registers a module in sys.modules before its own
        # last allocations, and leaves it there if one of those fails: then
        # the init function has succeeded, and the module must be complete.
        code = LEFT_BEHIND if "tessamir" in sys.modules else FAILED
    if imported_snapshot() != expected:
        return 3, "the classes differ from a plain import's afterwards"
    return code, ""


def sweep_import():
    module_spec = importlib.util.find_spec("tessamir")
    [(code, expected)] = children([lambda: (0, imported_snapshot())])
    if code != 0:
        fault(f"the plain import failed: {expected}")
        return {}
    results = {False: [], True: []}
    batch = 200
    while SUCCEEDED not in results[False] and len(FAULTS) < 50:
        first = len(results[False]) + 1
        for single in (False, True):
            done = children([functools.partial(import_attempt, module_spec, n, single, expected)
                             for n in range(first, first + batch)])
            for n, (code, text) in enumerate(done, first):
                if code not in (SUCCEEDED, FAILED, LEFT_BEHIND):
                    what = f"signal {-code}" if code < 0 else f"status {code}"
                    fault(f"import with allocation {n}{'' if single else ' and later ones'} failing: "
                          f"{what}: {text}")
            results[single] += [code for code, _ in done]
    if SUCCEEDED not in results[False]:
        return {}
    allocations = results[False].index(SUCCEEDED)
    attempts = results[False][:allocations + 1] + results[True][:allocations + 1]
    left = [n for n, code in enumerate(results[True][:allocations], 1) if code == LEFT_BEHIND]
    if any(n < allocations - 8 for n in left):
        fault(f"tessamir left in sys.modules by failures early in the import: {left}")
    return {"allocations": allocations, "attempts": len(attempts), "failed": attempts.count(FAILED),
            "left_behind_by_the_interpreter": attempts.count(LEFT_BEHIND)}


if __name__ == "__main__":
    stats = sweep_import() if sys.argv[1] == "import" else sweep_class(sys.argv[2])
    print(json.dumps(stats))
    sys.exit(1 if FAULTS else 0)

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

The import accepts other outcomes only on an interpreter where the
module-free checks of interpreter_faults.py find its own fault, and only at
the places where they show it (the stack of the failing allocation is
recorded in each attempt): a crash whose failing allocation is where making
a plain limited-API type crashes (inside PyType_FromSpec, growing the type's
dict); an AttributeError "type object ... has no attribute ..." whose
failing allocation is where a plain class's attribute assignment raises it;
a crash whose failing allocation is where the first import of a plain
single-phase module crashes (the interpreter's bookkeeping after the init
function). Each accepted point is printed to stderr and counted in the
summary.
"""

import functools
import hashlib
import importlib.util
import json
import sys
import tempfile

import _testcapi

import interpreter_faults
import surface
from interpreter_faults import children

set_nomemory = _testcapi.set_nomemory
remove_mem_hooks = _testcapi.remove_mem_hooks
TESTCAPI = (set_nomemory, remove_mem_hooks)

FAULTS = []
LOSES_MESSAGE = False  # set for the sweep of a class
ACCEPTED_LOST_MESSAGES = []


def fault(message):
    FAULTS.append(message)
    print(message, file=sys.stderr, flush=True)


attempt = functools.partial(interpreter_faults.attempt, TESTCAPI)


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
    elif LOSES_MESSAGE and expected[0] == "raises" and got == ("raises", expected[1], ""):
        # The interpreter's own fault, shown by interpreter_faults.error_loses_message:
        # the error it could not allocate a message for, raised without one.
        ACCEPTED_LOST_MESSAGES.append(what)
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
    global LOSES_MESSAGE
    LOSES_MESSAGE = interpreter_faults.error_loses_message()
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
    stats["accepted_lost_messages"] = len(ACCEPTED_LOST_MESSAGES)
    if ACCEPTED_LOST_MESSAGES:
        print(f"accepted, the interpreter's fault (an error raised without its message instead of "
              f"MemoryError), {len(ACCEPTED_LOST_MESSAGES)} attempts, for example: "
              f"{ACCEPTED_LOST_MESSAGES[0]}", file=sys.stderr, flush=True)
    return stats


# --- The import ---------------------------------------------------------------
#
# Each attempt runs in a child forked from this process, which has found the
# module but never loaded it, so that every attempt starts from an interpreter
# without the extension's class objects (interpreter_faults.import_extension).

# How an import attempt ended, as the child's exit status.
SUCCEEDED, FAILED, LEFT_BEHIND, ATTRIBUTE_ERROR = 10, 11, 12, 13


def imported_snapshot():
    import tessamir

    return hashlib.sha256(repr(surface.snapshot(tessamir)).encode()).hexdigest()


def import_attempt(hooks, module_spec, n, single, expected):
    """Child body: one failing import, then a normal one, checked against a
    plain import's classes."""
    exc = interpreter_faults.import_extension(hooks, module_spec, n, single)
    code = SUCCEEDED
    if type(exc) is AttributeError:
        # Judged by the parent; the next import must be complete all the same.
        code, text = ATTRIBUTE_ERROR, f"AttributeError: {exc}"
    elif exc is not None:
        if type(exc) is not MemoryError:
            return 2, f"the failed import raised {type(exc).__name__}: {exc}"
        # The interpreter registers a module in sys.modules before its own
        # last allocations, and leaves it there if one of those fails: then
        # the init function has succeeded, and the module must be complete.
        code = LEFT_BEHIND if "tessamir" in sys.modules else FAILED
    if imported_snapshot() != expected:
        return 3, "the classes differ from a plain import's afterwards"
    return code, text if code == ATTRIBUTE_ERROR else ""


# Attempts that the interpreter's own fault explains, as their status.
ACCEPTED = {interpreter_faults.TYPE_CRASH: 14, interpreter_faults.ASSIGNMENT_ERROR: 15,
            interpreter_faults.IMPORT_CRASH: 16}


def sweep_import(known):
    """The import swept; `known` (interpreter_faults.KnownFaults) gives the
    allocator hooks and judges the crashes and AttributeErrors."""
    module_spec = importlib.util.find_spec("tessamir")
    [(code, expected, _)] = children([lambda: (0, imported_snapshot())])
    if code != 0:
        fault(f"the plain import failed: {expected}")
        return {}
    hooks = known.hooks
    results = {False: [], True: []}
    places = {}
    batch = 200
    while SUCCEEDED not in results[False] and len(FAULTS) < 50:
        first = len(results[False]) + 1
        for single in (False, True):
            done = children([functools.partial(import_attempt, hooks, module_spec, n, single, expected)
                             for n in range(first, first + batch)], known.tracer)
            codes = []
            for n, (code, text, frames) in enumerate(done, first):
                what = f"import with allocation {n}{'' if single else ' and later ones'} failing"
                if code not in (SUCCEEDED, FAILED, LEFT_BEHIND):
                    outcome = f"signal {-code}" if code < 0 else f"status {code}: {text}"
                    explained = known.explains(single, code, text, frames) \
                        if code < 0 or code == ATTRIBUTE_ERROR else None
                    if explained is None:
                        where = frames and known.tracer.describe(known.tracer.place(frames)[:16])
                        fault(f"{what}: {outcome}" + (f"; failing allocation at {where}" if where else ""))
                    else:
                        kind, place = explained
                        number = places.setdefault(place, len(places) + 1)
                        print(f"accepted, the interpreter's fault ({kind}): {what}: {outcome} "
                              f"(failing allocation at place {number})", file=sys.stderr, flush=True)
                        code = ACCEPTED[kind]
                codes.append(code)
            results[single] += codes
    for place, number in places.items():
        print(f"place {number}: {known.tracer.describe(place)}", file=sys.stderr, flush=True)
    if SUCCEEDED not in results[False]:
        return {}
    allocations = results[False].index(SUCCEEDED)
    attempts = results[False][:allocations + 1] + results[True][:allocations + 1]
    left = [n for n, code in enumerate(results[True][:allocations], 1) if code == LEFT_BEHIND]
    if any(n < allocations - 8 for n in left):
        fault(f"tessamir left in sys.modules by failures early in the import: {left}")
    return {"allocations": allocations, "attempts": len(attempts), "failed": attempts.count(FAILED),
            "left_behind_by_the_interpreter": attempts.count(LEFT_BEHIND),
            "interpreter_faults_found": [kind for kind, found in known.found.items() if found],
            "accepted": {kind: attempts.count(status) for kind, status in ACCEPTED.items()}}


if __name__ == "__main__":
    if sys.argv[1] == "import":
        with tempfile.TemporaryDirectory() as directory:
            stats = sweep_import(interpreter_faults.KnownFaults(directory))
    else:
        stats = sweep_class(sys.argv[2])
    print(json.dumps(stats))
    sys.exit(1 if FAULTS else 0)

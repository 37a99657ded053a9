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

The import accepts other outcomes only where the module-free checks of
interpreter_faults.py find the running interpreter's own fault, and only
outcomes of that kind: a crash with only allocation N failing, where
setdefault miscounts and the attempt failing from N on raised MemoryError
(a fault of the module's own at N shows there too); an AttributeError
"type object ... has no attribute ..." with only N failing, where a plain
class's attribute assignment raises it; a crash among the import's last
allocations, at most two farther from the end than the first import of a
plain single-phase module crashes with that kind of attempt (the
interpreter's bookkeeping after the init function, which grows and copies
the module's dict, of another size here; a fault of the module's own in its
last steps, registering the last class, shows in registering every other
class too). Each accepted attempt is printed to
stderr and counted in the summary. After every attempt, a normal import
must give the classes of a plain import, with the same reference counts and
one module object.
"""

import functools
import gc
import hashlib
import importlib.util
import json
import re
import sys
import types

import interpreter_faults
import surface
from interpreter_faults import attempt, children

FAULTS = []
LOSES_MESSAGE = False  # set for the sweep of a class
ACCEPTED_LOST_MESSAGES = []


def fault(message):
    FAULTS.append(message)
    print(message, file=sys.stderr, flush=True)


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
SUCCEEDED, FAILED, LEFT_BEHIND, ATTRIBUTE_ERROR = 0, 11, 12, 13
TYPE_CRASH = "crash after setdefault's miscount"
ASSIGNMENT_ERROR = "AttributeError from a class-attribute assignment"
IMPORT_CRASH = "crash in the import's own bookkeeping"
ASSIGNMENT_FORM = re.compile(r"AttributeError: type object '[\w.]+' has no attribute '\w+'")


def imported_state():
    """A normal import's classes, their reference counts and the number of
    module objects of that name alive."""
    import tessamir

    classes = surface.classes(tessamir)
    counts = dict(zip([c.__name__ for c in classes], surface.refcounts(classes)))
    modules = sum(type(o) is types.ModuleType and o.__name__ == "tessamir" for o in gc.get_objects())
    return [hashlib.sha256(repr(surface.snapshot(tessamir)).encode()).hexdigest(), counts, modules]


def import_attempt(module_spec, expected, n, single):
    """Child body: one failing import, then a normal one, checked against a
    plain import's."""
    exc = interpreter_faults.import_extension(module_spec, n, single)
    code, text = SUCCEEDED, "" if exc is None else f"{type(exc).__name__}: {exc}"
    if type(exc) is AttributeError:
        code = ATTRIBUTE_ERROR  # judged by the parent
    elif exc is not None:
        if type(exc) is not MemoryError:
            return 2, f"the failed import raised {text}"
        # The interpreter registers a module in sys.modules before its own
        # last allocations, and leaves it there if one of those fails: then
        # the init function has succeeded, and the module must be complete.
        code = LEFT_BEHIND if "tessamir" in sys.modules else FAILED
    exc = None
    snapshot, counts, modules = imported_state()
    if snapshot != expected[0]:
        return 3, "the classes differ from a plain import's afterwards"
    if [counts, modules] != expected[1:]:
        counts = {name: count - expected[1][name] for name, count in counts.items() if count != expected[1][name]}
        return 3, f"afterwards, {modules} module objects (normally {expected[2]}), references {counts}"
    return code, text


def sweep_import():
    """The import swept; the interpreter's own faults accepted as found by
    interpreter_faults.findings()."""
    found = interpreter_faults.findings()
    module_spec = importlib.util.find_spec("tessamir")
    [(code, expected)] = children([lambda: (0, json.dumps(imported_state()))])
    if code != 0:
        fault(f"the plain import failed: {expected}")
        return {}
    body = functools.partial(import_attempt, module_spec, json.loads(expected))
    allocations, crashed, others = interpreter_faults.import_sweep(body, ok=(SUCCEEDED, FAILED, LEFT_BEHIND,
                                                                             ATTRIBUTE_ERROR))
    if allocations is None:
        fault("the sweep stopped: the import never succeeded, or most attempts failed in other ways")
    accepted = {TYPE_CRASH: [], ASSIGNMENT_ERROR: [], IMPORT_CRASH: []}
    ended = {single: {n: code for n, code, _ in others[single]} for single in others}
    for single, kind in ((False, "from"), (True, "only")):
        for n in crashed[single]:
            if allocations is not None and allocations - n <= max(found["import_crashes"][kind], default=-99) + 2:
                accepted[IMPORT_CRASH].append((n, single))
            elif single and found["setdefault_miscounts"] and ended[False].get(n) in (FAILED, LEFT_BEHIND):
                accepted[TYPE_CRASH].append((n, single))
            else:
                fault(f"import with allocation {n}{'' if single else ' and later ones'} failing: ended by a signal")
        for n, code, text in others[single]:
            if code == ATTRIBUTE_ERROR and single and found["assignment_errors"] and ASSIGNMENT_FORM.fullmatch(text):
                accepted[ASSIGNMENT_ERROR].append((n, single))
            elif code not in (FAILED, LEFT_BEHIND):
                fault(f"import with allocation {n}{'' if single else ' and later ones'} failing: "
                      f"status {code}: {text}")
    for kind, points in accepted.items():
        if points:
            print(f"accepted, the interpreter's fault ({kind}): {len(points)} attempts, failing allocation "
                  + ", ".join(f"{n}{'' if single else ' and later ones'}" for n, single in points),
                  file=sys.stderr, flush=True)
    left = [n for n, code in ended[True].items() if code == LEFT_BEHIND]
    if allocations is not None and any(n < allocations - 8 for n in left):
        fault(f"tessamir left in sys.modules by failures early in the import: {left}")
    codes = [code for single in others for _, code, _ in others[single]]
    return {"allocations": allocations, "attempts": 2 * (allocations or 0), "failed": codes.count(FAILED),
            "left_behind_by_the_interpreter": codes.count(LEFT_BEHIND), "interpreter": found,
            "accepted": {kind: len(points) for kind, points in accepted.items()}}


if __name__ == "__main__":
    if sys.argv[1] == "import":
        stats = sweep_import()
    else:
        stats = sweep_class(sys.argv[2])
    print(json.dumps(stats))
    sys.exit(1 if FAULTS else 0)

"""Faults of the running interpreter under allocation failure, shown without
this project's module, in pure Python with `_testcapi`.

    python interpreter_faults.py    prints what the running interpreter does, as JSON

- `setdefault_miscounts`: `dict.setdefault` on a full dict whose growth fails
  sets MemoryError but reports success and counts the entry it could not
  store (CPython 3.13). Readying a heap type adds its methods that way, so a
  type made while only that allocation fails corrupts memory: a crash later.
- `assignment_errors`: a class-attribute assignment whose dict insert fails
  raises AttributeError "type object 'C' has no attribute 'x'" instead of
  MemoryError (CPython 3.13 to 3.15).
- `import_crashes`: the first import of a plain single-phase module of the
  interpreter's own test suite (SINGLE_PHASE; none before 3.12) crashes when an allocation of the interpreter's
  own bookkeeping fails after the init function has returned (CPython 3.13
  to 3.15): the distances from the import's last allocation of the attempts
  that crashed, by kind of attempt.
- `error_loses_message`: an error whose message cannot be allocated is
  raised without a message instead of MemoryError (CPython 3.11.2).
- `plain_sweep_fails`: a sweep of plain calls in one process crashes or
  hangs (free-threaded CPython 3.13).
"""

import functools
import importlib.machinery
import importlib.util
import json
import os
import signal
import sys

import _imp
import _testcapi

SINGLE_PHASE = "_testsinglephase"  # 3.12 on
WORKERS = 2
CHILD_SECONDS = 120  # an attempt takes milliseconds; well under a second under valgrind


def children(bodies):
    """Runs each body (giving (exit status, message)) in a forked child,
    WORKERS at a time; gives (status, message) per body, in order, minus the
    signal number for a child ended by a signal."""
    results, running, pending = [None] * len(bodies), {}, list(enumerate(bodies))
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
        results[index] = (-os.WTERMSIG(status) if os.WIFSIGNALED(status) else os.WEXITSTATUS(status)), text
    return results


def attempt(call, start, stop):
    """`call()` with allocations start+1 .. stop failing (stop 0: all later
    ones); gives (exception, value). Kept small: an exception handler at a
    bytecode offset above 256 needs a new int object, and the interpreter
    retries that allocation forever."""
    _testcapi.set_nomemory(start, stop)
    try:
        value = call()
    except BaseException as exc:
        _testcapi.remove_mem_hooks()
        return exc, None
    _testcapi.remove_mem_hooks()
    return None, value


def first_error(call, n):
    """The first exception other than MemoryError that `call` raises with
    only one of its first n allocations failing, or None."""
    for i in range(n):
        exc, _ = attempt(call, i, i + 1)
        if exc is not None and type(exc) is not MemoryError:
            return exc
    return None


def setdefault_miscounts():
    """Whether a full dict's setdefault, with one allocation failing, leaves
    the dict's length other than its number of items (the dict is dropped
    without another insert)."""
    for n in range(20):
        d = dict.fromkeys(range(5))  # 5 of 8 slots: full, the next insert grows it
        exc, _ = attempt(functools.partial(d.setdefault, 5), n, n + 1)
        if len(d) != sum(1 for _ in d):
            return True
        if exc is None:
            return False
    raise AssertionError("setdefault never succeeded")


def assignment_errors():
    """Whether assigning attributes of a plain class, with one allocation
    failing, raises that AttributeError."""
    cls = type("Plain", (), {})
    for i in range(40):
        exc = first_error(functools.partial(setattr, cls, f"attribute{i}", i), 20)
        if exc is not None:
            assert str(exc) == f"type object 'Plain' has no attribute 'attribute{i}'", repr(exc)
            return True
    return False


def plain_sweep_fails():
    """Whether the interpreter fails a sweep by itself: in one process (a
    forked child), a new list of two new floats made with each allocation
    failing from there on, then only that one, and normally after each
    attempt, as the sweeps of the classes do. It crashes (or, with other
    calls, hangs) on free-threaded CPython 3.13."""

    def body():
        signal.alarm(10)
        call = lambda: [float(1), float(2)]  # noqa: E731
        for single in (False, True):
            for n in range(200):
                exc, _ = attempt(call, n, n + 1 if single else 0)
                repr(call())
                if exc is None and not single:
                    break
        return 0, ""

    [(code, _)] = children([body])
    return code != 0


def error_loses_message():
    """Whether divmod(1, "x")'s TypeError, with one allocation failing, is
    raised without its message."""
    exc = first_error(functools.partial(divmod, 1, "x"), 20)
    return str(exc) == ""


class FailingLoader(importlib.machinery.ExtensionFileLoader):
    """The extension loader with only allocation `fail` of the module's
    creation failing."""

    def create_module(self, module_spec):
        _testcapi.set_nomemory(self.fail - 1, self.fail)
        return _imp.create_dynamic(module_spec)


def create_dynamic(module_spec):
    """What the extension loader does: the module created and executed."""
    module = _imp.create_dynamic(module_spec)
    _imp.exec_dynamic(module)
    return module


def import_extension(module_spec, n, single):
    """The first import of an extension module in this process, with
    allocation n failing (and every later one unless `single`); gives the
    exception raised, or None. "Only n" goes through the import statement's
    machinery; "from n on" calls the extension loader that the import uses
    directly: with every allocation failing, the import's own Python code can
    spin forever unwinding the error."""
    if not single:
        return attempt(functools.partial(create_dynamic, module_spec), n - 1, 0)[0]
    loader = FailingLoader(module_spec.name, module_spec.origin)
    loader.fail = n
    found = importlib.util.spec_from_file_location(module_spec.name, module_spec.origin, loader=loader)
    finder = type("Finder", (), {"find_spec": lambda self, name, *_: found if name == found.name else None})()
    sys.meta_path.insert(0, finder)
    try:
        __import__(module_spec.name)
    except BaseException as exc:
        return exc
    finally:
        _testcapi.remove_mem_hooks()
        sys.meta_path.remove(finder)
    return None


def import_sweep(body, ok=(0, 1)):
    """Runs body(n, single) in forked children for n = 1, 2, ... failing from
    n on until one succeeds (status 0), then failing only n over the same
    range; stops early after 100 attempts that crashed or ended with a status
    not in `ok`. Gives the import's number of allocations (None when it
    stopped early), {single: [n of the attempts ended by a signal]} and
    {single: [(n, status, message) of the others that did not succeed]}."""
    results = {False: [], True: []}
    while 0 not in [code for code, _ in results[False]]:
        if sum(code not in ok for single in results for code, _ in results[single]) > 100:
            break
        first = len(results[False]) + 1
        for single in (False, True):
            results[single] += children([functools.partial(body, n, single) for n in range(first, first + 200)])
    codes = [code for code, _ in results[False]]
    allocations = codes.index(0) if 0 in codes else None
    end = len(codes) if allocations is None else allocations
    crashed = {single: [n for n, (code, _) in enumerate(results[single][:end], 1) if code < 0] for single in results}
    return allocations, crashed, {single: [(n, code, text) for n, (code, text) in enumerate(results[single][:end], 1)
                                           if code > 0] for single in results}


def plain_import(name, n, single):
    """Child body: the first import of a module with allocation n failing;
    status 0 when it succeeded, 1 when it raised."""
    return int(import_extension(importlib.util.find_spec(name), n, single) is not None), ""


def findings():
    """What the checks above find on the running interpreter; for the two
    imports, the attempts that crashed by kind ("from" n on, "only" n), as
    distances from the import's last allocation."""
    found = {"version": list(sys.version_info[:3]), "setdefault_miscounts": setdefault_miscounts(),
             "assignment_errors": assignment_errors(), "error_loses_message": error_loses_message(),
             "plain_sweep_fails": plain_sweep_fails()}
    found["import_crashes"] = {"from": [], "only": []}
    if importlib.util.find_spec(SINGLE_PHASE) is not None:
        allocations, crashed, _ = import_sweep(functools.partial(plain_import, SINGLE_PHASE))
        found["import_crashes"] = {kind: [allocations - n for n in crashed[kind == "only"]] for kind in ("from", "only")}
    return found


if __name__ == "__main__":
    print(json.dumps(findings()))

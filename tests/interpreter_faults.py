"""Faults of the running interpreter under allocation failure, shown without
this project's module.

CPython 3.13.0 mishandles three allocation failures that an extension like
this one meets:

- `dict.setdefault` (`PyDict_SetDefault`, `PyDict_SetDefaultRef`), when the
  dict is full and the allocation that grows it fails, sets MemoryError but
  reports success and counts the entry it could not store: `len(d)` is one
  more than the items in `d`. The next insert then copies one entry too many
  out of the table. Readying a heap type adds each method to the type's dict
  that way, so `PyType_FromSpec` under that failure crashes the process, in
  the resize or later in the collector (`make_type`, in a child process).
- An assignment to a class attribute whose dict insert fails raises
  AttributeError "type object 'C' has no attribute 'x'" instead of
  MemoryError.
- The first import of a single-phase module crashes when an allocation of
  the interpreter's own bookkeeping fails after the module's init function
  has returned it (`load_extension`, in a child process).

3.11 and 3.12 raise MemoryError in all three places. CPython 3.11.2 has a
fault of its own: an error whose message cannot be allocated is raised
without a message instead of MemoryError (`error_loses_message`).

    python interpreter_faults.py    prints what the running interpreter does, as JSON

The reproducers are two small C extensions under faultext/, compiled for the
running interpreter into a temporary folder: a failing allocator that
records where it failed, and a plain limited-API module making one type.
`Tracer` makes allocations fail the way `_testcapi.set_nomemory` does, and
writes the stack of the first failing allocation to a pipe as it fails, so
that the place survives a crash. The allocation failure sweep of the import
(alloc_fail.py) uses `KnownFaults` to accept a crash or that AttributeError
only where these checks find the fault, and only at the places where they
show it.
"""

import functools
import gc
import importlib.machinery
import importlib.util
import json
import os
import re
import shlex
import shutil
import signal
import struct
import subprocess
import sys
import sysconfig
import tempfile
from pathlib import Path

import _imp
import _testcapi

SOURCES = Path(__file__).with_name("faultext")

# How an attempt in a child process ended, as its exit status.
SUCCEEDED, FAILED = 10, 11


def setdefault_miscounts():
    """Whether `dict.setdefault` on a full dict, with one allocation failing,
    leaves the dict's length different from the number of its items. Only
    that dict is affected, and it is dropped without another insert."""
    keys = [f"key{i}" for i in range(6)]
    for n in range(1, 20):
        d = dict.fromkeys(keys[:5])  # 5 of 8 slots: full, the next insert grows it
        default = None
        _testcapi.set_nomemory(n - 1, n)
        try:
            try:
                d.setdefault(keys[5], default)
            finally:
                _testcapi.remove_mem_hooks()
        # A faulty setdefault returns with MemoryError still set, which the
        # next call reports as SystemError.
        except (MemoryError, SystemError):
            pass
        else:
            if keys[5] in d:
                return False
        if len(d) != sum(1 for _ in d):
            return True
    raise AssertionError("setdefault never succeeded")


def error_loses_message():
    """Whether an error whose message cannot be allocated is raised without
    a message instead of MemoryError: `divmod(1, "x")`'s TypeError with one
    allocation failing (CPython 3.11.2 does that)."""
    for n in range(1, 20):
        _testcapi.set_nomemory(n - 1, n)
        try:
            try:
                divmod(1, "x")
            finally:
                _testcapi.remove_mem_hooks()
        except MemoryError:
            continue
        except TypeError as exc:
            return str(exc) == ""
    raise AssertionError("divmod(1, 'x') raised nothing")


def class_setattr_errors():
    """The errors other than MemoryError that assignments to a plain Python
    class's attributes raise with one allocation failing, as "Type: message"
    texts. The assignments grow the class's dict more than once."""
    cls = type("Plain", (), {})
    value = object()
    found = []
    for name in [f"attribute{i}" for i in range(40)]:
        for n in range(1, 20):
            _testcapi.set_nomemory(n - 1, n)
            try:
                try:
                    setattr(cls, name, value)
                finally:
                    _testcapi.remove_mem_hooks()
            except MemoryError:
                continue
            except Exception as exc:
                found.append(f"{type(exc).__name__}: {exc}")
                continue
            break
        else:
            raise AssertionError(f"{name} never set")
    return found


def assignment_error(type_name, attribute):
    """The AttributeError text a faulty class-attribute assignment gives."""
    return f"type object '{type_name}' has no attribute '{attribute}'"


# --- Helper extensions --------------------------------------------------------


def build(directory):
    """Compiles the helper extensions for the running interpreter into
    `directory` and imports them: `_allocsite` (the failing allocator with its
    recorded stack) and `_typefault` (a limited-API type with many methods)."""
    compiler = shlex.split(sysconfig.get_config_var("CC") or "cc")
    include = sysconfig.get_paths()["include"]
    suffix = sysconfig.get_config_var("EXT_SUFFIX")
    modules = []
    for name in ("allocsite", "typefault"):
        target = Path(directory) / f"_{name}{suffix}"
        subprocess.run([*compiler, "-shared", "-fPIC", "-O2", "-g", "-Wall", "-Werror",
                        f"-I{include}", str(SOURCES / f"{name}.c"), "-o", str(target)], check=True)
        spec = importlib.util.spec_from_file_location(f"_{name}", target)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        # Loading a single-phase module registers it: not an import by name.
        sys.modules.pop(spec.name, None)
        modules.append(module)
    return modules


class Tracer:
    """The interpreter's allocators failing as with `_testcapi.set_nomemory`
    (`fail(start, stop)`, `restore()`), each attempt recording the stack of
    its first failing allocation. Build it before forking the attempts, so
    that every child shares the parent's addresses."""

    def __init__(self, directory):
        self.allocsite, self.typefault = build(directory)
        self.fail = self.allocsite.fail
        self.restore = self.allocsite.restore
        self.interpreter, self.helper = self.allocsite.objects()
        # A copy of the type's module that this process never loads, for
        # first imports in child processes.
        fresh = Path(directory) / "fresh"
        fresh.mkdir()
        copy = shutil.copy(self.typefault.__file__, fresh)
        self.fresh_spec = importlib.util.spec_from_file_location("_typefault", copy)

    def record(self, fd):
        self.allocsite.record(fd)

    def place(self, frames):
        """The frames of a recorded stack, innermost first and without the
        tracer's own, as (object file, offset, exported symbol or None)."""
        found = []
        for address in frames:
            where = self.allocsite.where(address)
            if where is None:
                found.append(("?", address, None))
            elif where[0] != self.helper:
                found.append(where[:3])
        return tuple(found)

    def inside(self, place, outermost="_PyEval_EvalFrameDefault"):
        """The interpreter's own path to a failing allocation: the innermost
        frames of its place up to the first frame outside the interpreter
        (an extension's call), or up to and including the first frame in the
        exported function `outermost` (by default the evaluation loop: a call
        from Python code), whichever comes first. None for no such frames."""
        for depth, (obj, _, symbol) in enumerate(place):
            if obj != self.interpreter:
                return place[:depth] or None
            if symbol == outermost:
                return place[:depth + 1]
        return None

    def describe(self, frames):
        """The frames as text, innermost first: the function names (with
        those inlined) where the interpreter carries debugging information,
        else the exported symbol, and the offset in the object file."""
        lines = []
        for obj, offset, symbol in frames:
            name = None
            if obj == self.interpreter:
                try:
                    out = subprocess.run(["addr2line", "-f", "-i", "-e", obj, hex(offset - 1)],
                                         capture_output=True, text=True, timeout=60).stdout
                    name = " in ".join(n for n in out.splitlines()[0::2] if n and n != "??") or None
                except (OSError, subprocess.SubprocessError):
                    pass
            lines.append(f"{name or symbol or '?'} ({Path(obj).name}+{offset:#x})")
        return " in ".join(lines)


# --- Attempts in child processes ---------------------------------------------

WORKERS = 2
CHILD_SECONDS = 120  # an attempt takes milliseconds; well under a second under valgrind


def children(bodies, tracer=None):
    """Runs each body in a forked child, WORKERS at a time. A body returns
    (exit status, message). Gives (status, message, frames) per body, in
    order: a child ended by a signal gives minus the signal number; frames are
    the return addresses of the first failing allocation the tracer saw."""
    results = [None] * len(bodies)
    running = {}
    pending = list(enumerate(bodies))
    while pending or running:
        while pending and len(running) < WORKERS:
            index, body = pending.pop(0)
            read, write = os.pipe()
            frames_read, frames_write = os.pipe()
            pid = os.fork()
            if pid == 0:
                signal.alarm(CHILD_SECONDS)  # the interpreter itself can spin forever
                os.close(read)
                os.close(frames_read)
                if tracer is not None:
                    tracer.record(frames_write)
                code, text = 1, ""
                try:
                    code, text = body()
                except BaseException as exc:
                    text = f"{type(exc).__name__}: {exc}"
                finally:
                    os.write(write, text[:2000].encode())
                    os._exit(code)
            os.close(write)
            os.close(frames_write)
            running[pid] = index, read, frames_read
        pid, status = os.wait()
        index, read, frames_read = running.pop(pid)
        with os.fdopen(read, "rb") as pipe:
            text = pipe.read().decode()
        with os.fdopen(frames_read, "rb") as pipe:
            data = pipe.read()
        frames = struct.unpack(f"{len(data) // 8}Q", data[:len(data) // 8 * 8])
        code = -os.WTERMSIG(status) if os.WIFSIGNALED(status) else os.WEXITSTATUS(status)
        results[index] = code, text, frames
    return results


def attempt(hooks, call, start, stop):
    """`call()` with allocations start+1 .. stop failing (stop 0: all later
    ones); gives (exception, value). Kept small: an exception handler at a
    bytecode offset above 256 needs a new int object, and the interpreter
    retries that allocation forever."""
    hooks[0](start, stop)
    try:
        value = call()
    except BaseException as exc:
        hooks[1]()
        return exc, None
    hooks[1]()
    return None, value


class FailingLoader(importlib.machinery.ExtensionFileLoader):
    """The extension loader with only allocation `fail` of the init failing."""

    def create_module(self, module_spec):
        self.hooks[0](self.fail - 1, self.fail)
        return _imp.create_dynamic(module_spec)


class Finder:
    def __init__(self, module_spec):
        self.module_spec = module_spec

    def find_spec(self, name, path=None, target=None):
        return self.module_spec if name == self.module_spec.name else None


def import_extension(hooks, module_spec, n, single):
    """The first import of an extension module in this process, with
    allocation n failing (and every later one unless `single`); gives the
    exception raised, or None. "Only n" goes through the import statement's
    machinery; "from n on" calls the extension loader that the import uses
    directly: with every allocation failing, the import's own Python code can
    spin forever unwinding the error."""
    if single:
        loader = FailingLoader(module_spec.name, module_spec.origin)
        loader.fail = n
        loader.hooks = hooks
        sys.meta_path.insert(0, Finder(importlib.util.spec_from_file_location(
            module_spec.name, module_spec.origin, loader=loader)))
        try:
            __import__(module_spec.name)
            exc = None
        except BaseException as error:
            exc = error
        finally:
            hooks[1]()
        del sys.meta_path[0]
    else:
        exc, _ = attempt(hooks, functools.partial(_imp.create_dynamic, module_spec), n - 1, 0)
    return exc


def make_type(tracer, n, single):
    """Child body: the reproducer's type made with allocation n failing (and
    every later one unless `single`), then a collection."""
    exc, made = attempt((tracer.fail, tracer.restore), tracer.typefault.make, n - 1, n if single else 0)
    result = FAILED if made is None else SUCCEEDED
    del exc, made  # the type, made or not, collected with the rest
    gc.collect()
    return result, ""


def load_extension(tracer, n, single):
    """Child body: the first import of the reproducer's module with
    allocation n failing (and every later one unless `single`)."""
    exc = import_extension((tracer.fail, tracer.restore), tracer.fresh_spec, n, single)
    result = FAILED if exc is not None else SUCCEEDED
    del exc
    gc.collect()
    return result, ""


def assign(tracer, n, count):
    """Child body: a plain class given `count` attributes, then one more with
    allocation n failing; the exception's text, if any."""
    cls = type("Plain", (), {})
    for i in range(count):
        setattr(cls, f"attribute{i}", i)
    exc, _ = attempt((tracer.fail, tracer.restore), functools.partial(setattr, cls, f"attribute{count}", count),
                     n - 1, n)
    if exc is None:
        return SUCCEEDED, ""
    return FAILED, f"{type(exc).__name__}: {exc}"


def crash_sites(tracer, body, what):
    """Sweeps a child body over every allocation it makes, failing only that
    one and failing every one from there on. Gives the points that crashed,
    as {(single, the interpreter's path to the failing allocation): [(n,
    signal)]} (`Tracer.inside`)."""
    sites = {}
    batch = 100
    first = 1
    while True:
        for single in (True, False):
            done = children([functools.partial(body, tracer, n, single)
                             for n in range(first, first + batch)], tracer)
            for n, (code, text, frames) in enumerate(done, first):
                if code < 0:
                    inside = tracer.inside(tracer.place(frames))
                    sites.setdefault((single, inside), []).append((n, -code))
                elif code not in (SUCCEEDED, FAILED):
                    raise AssertionError(f"{what} with allocation {n} failing: status {code}: {text}")
            if not single and any(code == SUCCEEDED for code, _, _ in done):
                return sites
        first += batch
        if first > 2000:
            raise AssertionError(f"{what} never succeeded")


def assignment_error_sites(tracer):
    """The places of the failing allocations at which assigning an attribute
    of a plain class raises something other than MemoryError:
    {(True, place up to PyObject_SetAttr): [(attribute, text)]}."""
    sites = {}
    for count in range(24):
        done = children([functools.partial(assign, tracer, n, count) for n in range(1, 8)], tracer)
        for code, text, frames in done:
            if code == FAILED and not text.startswith("MemoryError"):
                inside = tracer.inside(tracer.place(frames), "PyObject_SetAttr")
                sites.setdefault((True, inside), []).append((count, text))
            elif code not in (SUCCEEDED, FAILED):
                raise AssertionError(f"assigning attribute {count}: status {code}: {text}")
    return sites


# The kinds of the interpreter's own faults that an allocation failure sweep
# of an extension's import may meet, as named in its summary.
TYPE_CRASH = "crash inside PyType_FromSpec"
ASSIGNMENT_ERROR = "AttributeError from a class-attribute assignment"
IMPORT_CRASH = "crash in the import's own bookkeeping"


class KnownFaults:
    """What the checks above show the running interpreter doing wrong, and
    at which places. An allocation failure sweep of an extension's import
    fails its allocations with `hooks` (the tracer's where the interpreter
    has a fault, so that each attempt records its place) and asks `explains`
    about each attempt that crashed or raised AttributeError:

    - TYPE_CRASH: only where `setdefault` miscounts, at a place where making
      the reproducer's type crashed;
    - ASSIGNMENT_ERROR: only where a plain class's attribute assignment
      raises that AttributeError, at a place where it did;
    - IMPORT_CRASH: only where the first import of the reproducer's plain
      single-phase module crashed, at a place where it did (after its init
      function has returned: the interpreter's own bookkeeping).
    """

    def __init__(self, directory, everywhere=False):
        """Runs the checks; the sweeps of the type and the assignments (in
        child processes) only where a check finds the fault, or everywhere."""
        self.setdefault_miscounts = setdefault_miscounts()
        self.class_setattr_errors = class_setattr_errors()
        self.tracer = Tracer(directory)
        self.sites = {TYPE_CRASH: {}, ASSIGNMENT_ERROR: {}}
        self.sites[IMPORT_CRASH] = crash_sites(self.tracer, load_extension, "importing the reproducer's module")
        if self.setdefault_miscounts or everywhere:
            self.sites[TYPE_CRASH] = crash_sites(self.tracer, make_type, "the reproducer's type")
        if self.class_setattr_errors or everywhere:
            self.sites[ASSIGNMENT_ERROR] = assignment_error_sites(self.tracer)
            for points in self.sites[ASSIGNMENT_ERROR].values():
                for count, text in points:
                    if text != "AttributeError: " + assignment_error("Plain", f"attribute{count}"):
                        raise AssertionError(f"a failing class-attribute assignment raised {text}")
        self.found = {TYPE_CRASH: self.setdefault_miscounts,
                      ASSIGNMENT_ERROR: bool(self.class_setattr_errors),
                      IMPORT_CRASH: bool(self.sites[IMPORT_CRASH])}
        if any(self.found.values()):
            self.hooks = (self.tracer.fail, self.tracer.restore)
        else:
            self.hooks = (_testcapi.set_nomemory, _testcapi.remove_mem_hooks)

    def explains(self, single, code, text, frames):
        """(kind, place of the failing allocation) when the interpreter's own
        fault explains an attempt's crash (code: minus the signal) or its
        AttributeError (text: "AttributeError: ..."); else None."""
        place = self.tracer.place(frames)
        if code < 0:
            inside = self.tracer.inside(place)
            for kind in (TYPE_CRASH, IMPORT_CRASH):
                if self.found[kind] and inside and (single, inside) in self.sites[kind]:
                    return kind, inside
            return None
        form = re.escape("AttributeError: " + assignment_error("TYPE", "NAME"))
        form = form.replace("TYPE", r"[\w.]+").replace("NAME", r"\w+")
        if self.found[ASSIGNMENT_ERROR] and re.fullmatch(form, text):
            inside = self.tracer.inside(place, "PyObject_SetAttr")
            if inside and (single, inside) in self.sites[ASSIGNMENT_ERROR]:
                return ASSIGNMENT_ERROR, inside
        return None


def findings():
    """Everything this module shows about the running interpreter."""
    with tempfile.TemporaryDirectory() as directory:
        known = KnownFaults(directory, everywhere=True)
        describe = known.tracer.describe
        return {
            "version": list(sys.version_info[:3]),
            "setdefault_miscounts": known.setdefault_miscounts,
            "error_loses_message": error_loses_message(),
            "class_setattr_errors": sorted(set(known.class_setattr_errors)),
            **{kind: [{"single": single, "points": points, "place": place and describe(place)}
                      for (single, place), points in sites.items()]
               for kind, sites in known.sites.items()},
        }


if __name__ == "__main__":
    print(json.dumps(findings(), indent=1))

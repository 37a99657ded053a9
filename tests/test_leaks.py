"""Leaks: each kind of operation, 100,000 times over all classes, leaves the
traced memory and the reference counts of the class objects (and of the
interpreter's singletons that results are made of, and of what pickles name)
as they were; on a debug interpreter, the total of all references too."""

import functools
import operator
import sys
import tracemalloc

import pytest

import tessamir
from surface import (COMPARISONS, PICKLE_GLOBALS, accessor_call, accessors, attributes, classes, counted, display,
                     refcounts, round_trip, unattributed)

TIMES = 100_000
# Net traced bytes a run may leave behind: the interpreter's own caches. One
# leaked object per thousand calls would leave more.
SLACK = 2_000


def ends(cls):
    members = cls.members()
    return members[0], members[-1]


def per_class(make):
    return [call for cls in classes(tessamir) for call in make(cls, *ends(cls))]


KINDS = {
    "construct": lambda cls, a, b: [functools.partial(cls, display(a)), functools.partial(cls, value=display(b))],
    "reject text": lambda cls, a, b: [functools.partial(cls, display(a) + "?"), functools.partial(cls, "é" * 500)],
    "reject type": lambda cls, a, b: [functools.partial(cls, 3), functools.partial(cls, a)],
    "reject arguments": lambda cls, a, b: [cls, functools.partial(cls, "x", name="x")],
    "unencodable": lambda cls, a, b: [functools.partial(cls, "\ud800")],
    "members": lambda cls, a, b: [cls.members, a.members],
    "str and repr": lambda cls, a, b: [functools.partial(f, m) for f in (str, repr) for m in (a, b)],
    "compare": lambda cls, a, b: [functools.partial(op, a, b) for op in COMPARISONS]
    + [functools.partial(operator.eq, a, display(a)), functools.partial(operator.lt, a, display(a))],
    "len": lambda cls, a, b: [functools.partial(len, a)],
    "accessors": lambda cls, a, b: [accessor_call(m, name, is_method) for m in (a, b)
                                    for name, is_method in accessors(cls)],
    "pickle": lambda cls, a, b: [a.__reduce__, b.__reduce__]
    + [functools.partial(round_trip, m) for m in (a, b, *unattributed(cls))],
    "attributes": lambda cls, a, b: [functools.partial(getattr, cls, name) for name in attributes(cls)],
}


def run(calls, times):
    count = len(calls)
    for i in range(times):
        try:
            calls[i % count]()
        except (ValueError, TypeError):
            pass


def total_growth(calls, times):
    """How far the interpreter's total of all references (a debug build's
    sys.gettotalrefcount) moves over the calls, measured as the counts are,
    less what the same measurement moves around no call at all. Exact: an
    operation that keeps or drops a single reference to anything shows."""

    def measure(times):
        refcounts([])
        before = sys.gettotalrefcount()
        run(calls, times)
        refcounts([])
        return sys.gettotalrefcount() - before

    measure(0)
    return measure(times) - measure(0)


@pytest.mark.slow
@pytest.mark.parametrize("kind", KINDS)
def test_operations_leave_nothing_behind(kind):
    calls = per_class(KINDS[kind])
    assert calls or kind == "accessors"
    if not calls:
        pytest.skip("no class has accessors")
    watched = counted(classes(tessamir) + [True, False, None, NotImplemented, int, str] + PICKLE_GLOBALS)
    tracemalloc.start()
    try:
        # A first round while tracing: what the interpreter's free lists keep
        # of it is traced (a free-threaded build keeps some kilobytes so).
        run(calls, 2_000)
        before = refcounts(watched)
        start = tracemalloc.get_traced_memory()[0]
        if hasattr(sys, "gettotalrefcount"):
            references = total_growth(calls, TIMES)
        else:
            references = 0
            run(calls, TIMES)
        after = refcounts(watched)
        grown = tracemalloc.get_traced_memory()[0] - start
        # What the same loop keeps over calls into the interpreter alone (a
        # free-threaded build keeps a few kilobytes of its own per loop).
        start = tracemalloc.get_traced_memory()[0]
        run([functools.partial(len, ())] * len(calls), TIMES)
        refcounts(watched)
        kept = max(tracemalloc.get_traced_memory()[0] - start, 0)
    finally:
        tracemalloc.stop()
    changed = {repr(o): a - b for o, b, a in zip(watched, before, after) if a != b}
    assert not changed, f"references gained or lost: {changed}"
    assert references == 0, f"the interpreter's total of references moved by {references} over {TIMES} calls"
    assert grown < SLACK + kept, f"{grown} bytes more after {TIMES} calls ({kept} without the module)"

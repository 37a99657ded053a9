"""Everything a Python caller can do with the classes, found by introspection.

The generic tests and the reliability checks (allocation failure, leaks,
threads, hostile input, fuzzing) drive these lists, so a class added to the
module is covered without being named. What a class does beyond the protocol
that every class shares is data, in DEPARTURES below: the tests read it
there and name no class. This module does not import tessamir itself: the
allocation failure sweep must be able to use it in a process that has not
loaded the extension yet.
"""

import copy as copy_module
import dataclasses
import functools
import gc
import operator
import pickle
import pkgutil
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
if str(ROOT / "tools") not in sys.path:
    sys.path.insert(0, str(ROOT / "tools"))
# The introspection helpers, shared with the tools (one place).
from classinfo import accessors, attributes, class_objects as classes, display  # noqa: E402, F401

COMPARISONS = (operator.eq, operator.ne, operator.lt, operator.le, operator.gt, operator.ge)


@dataclasses.dataclass(frozen=True)
class Departures:
    """Where a class departs from the protocol that every class shares."""

    # Texts the constructor accepts besides the display texts, each with the
    # display text of the member it gives.
    extra_texts: dict[str, str] = dataclasses.field(default_factory=dict)
    # The property whose value str() gives, where str() is not the display text.
    str_property: str | None = None
    # Display texts of the members that have no class attribute.
    unattributed: tuple[str, ...] = ()


DEPARTURES = {
    "Country": Departures(str_property="name", unattributed=("XX",)),
    "Currency": Departures(extra_texts={"EUr": "EUX", "GBp": "GBX", "USd": "USX"}),
}


def departures(cls):
    return DEPARTURES.get(cls.__name__, Departures())


def str_of(member):
    """What str() of a member gives, from its display text or its property."""
    prop = departures(type(member)).str_property
    return display(member) if prop is None else getattr(member, prop)


def accessor_call(member, name, is_method):
    """A call with no arguments that reads the accessor on a member."""
    if is_method:
        return getattr(member, name)
    return functools.partial(getattr, member, name)


def accepted_texts(cls):
    """Every text the constructor accepts, with the display text of the member
    it gives."""
    texts = {display(m): display(m) for m in cls.members()}
    texts.update(departures(cls).extra_texts)
    return texts


# What the members' reductions import and their pickles name: a reduction
# that leaked a reference to one of them, or to an object holding one, shows
# in its reference count.
PICKLE_GLOBALS = [pkgutil, pkgutil.resolve_name, operator, operator.methodcaller]


def unattributed(cls):
    """The members that have no class attribute."""
    shared = [value for value in vars(cls).values() if type(value) is cls]
    return [m for m in cls.members() if m not in shared]


def round_trip(member):
    """The member pickled and unpickled again."""
    return pickle.loads(pickle.dumps(member, pickle.HIGHEST_PROTOCOL))


def pickling(cls):
    """(label, call) for the reduction of every member, and a pickle round
    trip of the first member and of each member without a class attribute."""
    ops = [(f"{m!r}.__reduce__()", m.__reduce__) for m in cls.members()]
    ops += [(f"round_trip({m!r})", functools.partial(round_trip, m))
            for m in [cls.members()[0], *unattributed(cls)]]
    return ops


def operations(cls):
    """(label, call) for every operation on the class that succeeds:
    construction in each form, members(), the text forms, the length, every
    accessor on every member, pickling, copying, comparisons and attribute
    access."""
    name = cls.__name__
    members = cls.members()
    first, last = display(members[0]), display(members[-1])
    text_type = type("Text", (str,), {})
    ops = [(f"{name}({text!r})", functools.partial(cls, text))
           for text in (first, last, *departures(cls).extra_texts)]
    ops += [
        (f"{name}(value={first!r})", functools.partial(cls, value=first)),
        (f"{name}(Text({last!r}))", functools.partial(cls, text_type(last))),
        (f"{name}.members()", cls.members),
    ]
    for member in members:
        label = repr(member)
        ops += [(f"str({label})", functools.partial(str, member)),
                (f"repr({label})", functools.partial(repr, member)),
                (f"len({label})", functools.partial(len, member))]
        ops += [(f"{label}.{attr}", accessor_call(member, attr, is_method))
                for attr, is_method in accessors(cls)]
    ops += pickling(cls)
    a, b = members[0], members[-1]
    ops += [(f"{copy.__name__}({a!r})", functools.partial(copy, a)) for copy in (copy_module.copy, copy_module.deepcopy)]
    ops += [(f"{op.__name__}({a!r}, {b!r})", functools.partial(op, a, b)) for op in COMPARISONS]
    ops += [(f"{op.__name__}({a!r}, {first!r})", functools.partial(op, a, first))
            for op in (operator.eq, operator.ne)]
    attribute = list(attributes(cls))[-1]
    ops.append((f"{name}.{attribute}", functools.partial(getattr, cls, attribute)))
    return ops


def rejections(cls):
    """(label, call) for constructor calls that must raise: an unknown text, a
    text too long for any member, a value that is not a str, an unencodable
    text and each argument error."""
    name = cls.__name__
    first = display(cls.members()[0])
    calls = [
        (f"{first}?",), ("?" * 300,), ("é" * 300,), (3,), (b"x",), ("\ud800",), (),
        (first, first),
    ]
    ops = [(f"{name}{args!r}", functools.partial(cls, *args)) for args in calls]
    ops += [(f"{name}({first!r}, value=...)", functools.partial(cls, first, value=first)),
            (f"{name}(name=...)", functools.partial(cls, name=first))]
    return ops


def counted(objects):
    """The objects whose reference count the interpreter keeps. From 3.12 on,
    None, True, False, the builtin types and the like are immortal: their
    count is a marker far above any real count, which an extension built for
    the 3.11 ABI moves and the interpreter does not."""
    return [o for o in objects if sys.getrefcount(o) < 2**31]


def refcounts(objects):
    """The reference count of each object, measured the same way every time:
    after a collection, and with the interpreter's type attribute cache
    emptied (its empty entries hold references to None, and looking names up
    that are not interned fills it)."""
    count = sys.getrefcount
    clear = getattr(sys, "_clear_internal_caches", None) or sys._clear_type_cache
    gc.collect()
    clear()
    return [count(o) for o in objects]  # no attribute lookup after clearing


def canonical(value):
    """A plain comparable form of a result: lists item by item, anything else
    by its type name and repr."""
    if type(value) is list:
        return [canonical(item) for item in value]
    return (type(value).__name__, repr(value))


def outcome(call):
    """What a call gives or raises, in a comparable form."""
    try:
        value = call()
    except Exception as exc:
        return ("raises", type(exc).__name__, str(exc))
    return ("gives", canonical(value))


def snapshot(module):
    """What building the module's classes decides: the names, each class's
    dictionary (its class attributes in installation order and its accessors),
    its members, and every accessor's result on the first and last member."""
    result = {"__all__": list(module.__all__)}
    for cls in classes(module):
        members = cls.members()
        result[cls.__name__] = {
            "dict": [(name, canonical(value) if type(value) is cls else type(value).__name__)
                     for name, value in vars(cls).items()],
            "members": [(repr(m), str(m), len(m)) for m in members],
            "accessors": [outcome(accessor_call(m, attr, is_method))
                          for m in (members[0], members[-1]) for attr, is_method in accessors(cls)],
        }
    return result

"""The behaviour every enumeration class shares, checked on every class."""

import copy
import dataclasses
import functools
import io
import itertools
import pickle
import pickletools
import weakref

import pytest

from conftest import CLASSES, every_class
from surface import (accepted_texts, accessor_call, accessors, attributes, canonical, departures, display,
                     outcome, str_of, unattributed)


def first_text(cls):
    return display(cls.members()[0])


@every_class
def test_class_object(cls):
    name = cls.__name__
    assert cls.__qualname__ == name
    assert cls.__module__ == "builtins"
    assert cls.__doc__ is None
    assert cls.__bases__ == (object,)
    assert type(cls) is type
    assert not cls.__flags__ & (1 << 10)  # not subclassable
    assert not cls.__flags__ & (1 << 14)  # no garbage-collection support
    assert cls.__hash__ is None


@every_class
def test_members_are_fresh_lists_in_index_order(cls):
    first, second = cls.members(), cls.members()
    assert type(first) is list and first is not second
    assert first == second
    assert all(type(m) is cls for m in first)
    assert all(a is not b for a, b in zip(first, second))
    # Index order: equal members sit at equal positions only.
    for i, j in itertools.product(range(len(first)), repeat=2):
        assert (first[i] == second[j]) is (i == j)
        assert (first[i] != second[j]) is (i != j)
    assert first[0].members() == first


@every_class
def test_each_member_round_trips_through_its_text(cls):
    for member in cls.members():
        text = display(member)
        assert repr(member) == f"{cls.__name__}<{text}>"
        for made in (cls(text), cls(value=text), cls(type("Text", (str,), {})(text))):
            assert type(made) is cls and made == member and made is not member
        assert type(str(member)) is str and str(member) == str_of(member)
    # str() tells the members of a class apart, as the display texts do.
    assert len({str(m) for m in cls.members()}) == len(cls.members())


@every_class
def test_extra_texts_give_their_members(cls):
    for text, shown in departures(cls).extra_texts.items():
        assert display(cls(text)) == shown and display(cls(value=text)) == shown
        assert text not in attributes(cls)


@every_class
def test_class_attributes_are_shared_members(cls):
    attrs = attributes(cls)
    members = cls.members()
    positions = [members.index(value) for value in attrs.values()]
    assert len(set(positions)) == len(positions)  # one attribute per member
    unattributed = [display(m) for i, m in enumerate(members) if i not in positions]
    assert unattributed == list(departures(cls).unattributed)
    for name, value in attrs.items():
        assert getattr(cls, name) is value
        assert cls(display(value)) is not value


@every_class
def test_ordering_follows_the_bytes_of_the_texts(cls):
    members = cls.members()
    key = [display(m).encode() for m in members]
    for (a, ka), (b, kb) in itertools.product(zip(members, key), repeat=2):
        assert (a < b) is (ka < kb)
        assert (a <= b) is (ka <= kb)
        assert (a > b) is (ka > kb)
        assert (a >= b) is (ka >= kb)
    assert sorted(members) == [m for _, m in sorted(zip(key, members), key=lambda p: p[0])]


@every_class
def test_length_and_truth(cls):
    members = cls.members()
    assert all(len(m) == len(members) for m in members)
    assert all(bool(m) for m in members)
    with pytest.raises(TypeError):
        len(cls)


@every_class
def test_members_are_immutable_and_unhashable(cls):
    member = cls.members()[0]
    with pytest.raises(TypeError, match="unhashable"):
        hash(member)
    with pytest.raises(TypeError):
        {member}
    with pytest.raises(AttributeError):
        member.anything = 1
    assert not hasattr(member, "__dict__")
    with pytest.raises(TypeError):
        weakref.ref(member)
    with pytest.raises(TypeError):
        type("Derived", (cls,), {})


class Unprintable:
    """A keyword key that fails loudly if anything tries to print it."""

    def __str__(self):
        return 1 / 0

    __repr__ = __str__

    def __hash__(self):
        return 0


@every_class
def test_argument_errors(cls):
    name = cls.__name__
    text = first_text(cls)
    cases = [
        ((), {}, f"{name}.__new__() missing 1 required positional argument: 'value'"),
        ((text, text), {}, f"{name}.__new__() takes 1 positional arguments but 2 were given"),
        ((text, text, text), {}, f"{name}.__new__() takes 1 positional arguments but 3 were given"),
        ((text,), {"value": text}, f"{name}.__new__() got multiple values for argument 'value'"),
        ((), {"name": text}, f"{name}.__new__() got an unexpected keyword argument 'name'"),
        ((text,), {"name": text}, f"{name}.__new__() got an unexpected keyword argument 'name'"),
        ((text, 1), {"name": 1}, f"{name}.__new__() takes 1 positional arguments but 2 were given"),
        ((3,), {}, "argument 'value': 'int' object cannot be converted to 'PyString'"),
        ((), {"value": b"x"}, "argument 'value': 'bytes' object cannot be converted to 'PyString'"),
        ((None,), {}, "argument 'value': 'NoneType' object cannot be converted to 'PyString'"),
        ((cls.members()[0],), {}, f"argument 'value': '{name}' object cannot be converted to 'PyString'"),
    ]
    for args, kwargs, message in cases:
        with pytest.raises(TypeError) as caught:
            cls(*args, **kwargs)
        assert type(caught.value) is TypeError
        assert str(caught.value) == message
    # A key that is not a str is refused before anything of it is read.
    for key in (1, None, Unprintable()):
        with pytest.raises(TypeError) as caught:
            cls(**{key: text})
        assert type(caught.value) is TypeError and str(caught.value) == "keywords must be strings"
    # Keywords are checked in the order given.
    with pytest.raises(TypeError, match="unexpected keyword argument 'other'"):
        cls(text, other=1, value=text)
    with pytest.raises(TypeError, match="multiple values"):
        cls(text, value=text, other=1)


def test_non_str_message_names_the_qualified_type():
    class Outer:
        class Inner:
            pass

    with pytest.raises(TypeError, match=r"^argument 'value': 'test_non_str_message_names_the_qualified_type"
                       r"\.<locals>\.Outer\.Inner' object cannot be converted to 'PyString'$"):
        CLASSES[0](Outer.Inner())


@every_class
def test_unknown_texts_are_rejected(cls):
    name = cls.__name__
    text = first_text(cls)
    candidates = ["", text.lower(), text.upper(), " " + text, text + " ", text + "s", text[:-1],
                  text + "\0", "\0" + text, text + "\U0001F600", "é" * 3]
    for candidate in candidates:
        if candidate in accepted_texts(cls):
            continue
        with pytest.raises(ValueError) as caught:
            cls(candidate)
        assert str(caught.value) == f"{candidate!r} is not a valid {name}"


def near_misses(text):
    """Every text one byte away from `text` (in UTF-8): each byte changed to
    every other value, each byte left out, each byte doubled; only those that
    are still valid UTF-8."""
    data = text.encode()
    for i, byte in enumerate(data):
        head, tail = data[:i], data[i + 1:]
        for value in range(128) if byte < 0x80 else range(128, 256):
            if value != byte:
                yield head + bytes((value,)) + tail
        yield head + tail
        yield head + bytes((byte, byte)) + tail


@every_class
def test_texts_one_byte_from_an_accepted_text_are_rejected(cls):
    # The lookup compares whole texts: a text that differs from an accepted
    # one in any single byte, or is one byte longer or shorter, names no member.
    accepted = accepted_texts(cls)
    accepted_bytes = {text.encode() for text in accepted}
    found = []
    for text in accepted:
        for data in near_misses(text):
            if data in accepted_bytes:
                continue
            try:
                candidate = data.decode()
            except UnicodeDecodeError:
                continue
            try:
                found.append((candidate, cls(candidate)))
            except ValueError:
                pass
    assert found == []


@every_class
def test_unencodable_text_raises_the_codec_error(cls):
    with pytest.raises(UnicodeEncodeError):
        cls("\ud800")
    with pytest.raises(UnicodeEncodeError):
        cls(first_text(cls)[:1] + "\udfff")


@every_class
def test_unknown_text_is_quoted_whole_up_to_200_characters(cls):
    longest = max(map(len, accepted_texts(cls)))
    # Up to the longest text of the class a text is looked up, past it
    # rejected unread: the message is the same.
    for char in ("x", "é", "\U0001F600"):
        for length in (longest, longest + 1, 199, 200, 201, 202, 1_000_000):
            text = char * length
            if text in accepted_texts(cls):
                continue
            with pytest.raises(ValueError) as caught:
                cls(text)
            shown = f"{text[:200]!r}..." if length > 200 else repr(text)
            assert str(caught.value) == f"{shown} is not a valid {cls.__name__}"


def test_members_of_different_classes_never_compare_equal():
    firsts = [cls.members()[0] for cls in CLASSES]
    for a, b in itertools.permutations(firsts, 2):
        assert a != b and not (a == b)
        for op in ("__lt__", "__le__", "__gt__", "__ge__"):
            assert getattr(a, op)(b) is NotImplemented
        with pytest.raises(TypeError):
            a < b
    for member in firsts:
        text = display(member)
        assert member != text and not (member == text)
        with pytest.raises(TypeError):
            member < text
        with pytest.raises(TypeError):
            member >= None
        assert member.__eq__(object()) is NotImplemented



@every_class
def test_copies_are_the_members_themselves(cls):
    for member in (cls.members()[0], cls.members()[-1]):
        assert copy.copy(member) is member and copy.deepcopy(member) is member
    with pytest.raises(TypeError):
        member.__deepcopy__()


def observed(cls):
    """What the constructor, members() and every accessor give, in a comparable form."""
    members = cls.members()
    return ([outcome(functools.partial(cls, text)) for text in accepted_texts(cls)] + [canonical(members)]
            + [outcome(accessor_call(m, name, is_method)) for m in members for name, is_method in accessors(cls)])


@every_class
def test_rebound_class_attributes_change_nothing_else(cls):
    shared = attributes(cls)
    before = observed(cls)
    try:
        for name in shared:
            setattr(cls, name, "rebound")
        assert all(getattr(cls, name) == "rebound" for name in shared)
        after = observed(cls)
    finally:
        for name, member in shared.items():
            setattr(cls, name, member)
    assert list(attributes(cls)) == list(shared)
    assert all(getattr(cls, name) is member for name, member in shared.items())
    assert after == before


# What a member's pickle may hold: texts, tuples, the protocols' framing and
# memo, and calls (REDUCE) of these two globals, found by name.
ALLOWED_GLOBALS = {("pkgutil", "resolve_name"), ("operator", "methodcaller")}
PICKLE_OPCODES = {"PROTO", "FRAME", "STOP", "MARK", "PUT", "BINPUT", "MEMOIZE", "UNICODE", "BINUNICODE",
                  "SHORT_BINUNICODE", "TUPLE", "TUPLE1", "TUPLE2", "GLOBAL", "STACK_GLOBAL", "REDUCE"}
PROTOCOLS = range(pickle.HIGHEST_PROTOCOL + 1)


class AllowedGlobalsOnly(pickle.Unpickler):
    def find_class(self, module, name):
        if (module, name) not in ALLOWED_GLOBALS:
            raise pickle.UnpicklingError(f"{module}.{name} is not allowed")
        return super().find_class(module, name)


def unpickle(data):
    return AllowedGlobalsOnly(io.BytesIO(data)).load()


@every_class
def test_members_pickle_on_every_protocol(cls):
    shared = {display(value): value for value in attributes(cls).values()}
    for member in cls.members():
        for protocol in PROTOCOLS:
            back = unpickle(pickle.dumps(member, protocol))
            assert type(back) is cls and back == member
            # The class attribute itself, where the member has one.
            assert back is shared.get(display(member), back)
    assert len(shared) >= len(cls.members()) - 1
    with pytest.raises(TypeError):
        member.__reduce__(1)
    with pytest.raises(TypeError):
        cls.__reduce__(display(member))


@every_class
def test_pickles_are_small_and_name_only_the_allowed_globals(cls):
    for member in cls.members():
        for protocol in PROTOCOLS:
            data = pickle.dumps(member, protocol)
            opcodes, names, texts = set(), [], []
            for opcode, arg, _ in pickletools.genops(data):
                opcodes.add(opcode.name)
                if opcode.name == "GLOBAL":
                    names.append(tuple(arg.split(" ")))
                elif opcode.name == "STACK_GLOBAL":
                    names.append(tuple(texts[-2:]))
                elif "UNICODE" in opcode.name:
                    texts.append(arg)
            assert opcodes <= PICKLE_OPCODES, (member, opcodes - PICKLE_OPCODES)
            assert names and set(names) <= ALLOWED_GLOBALS, (member, names)
            # The texts are the module's own names and display texts.
            assert f"tessamir:{cls.__name__}." in " ".join(texts)
        assert len(data) <= 128, (member, len(data))


@dataclasses.dataclass
class Order:
    items: list
    first: object


def test_containers_of_members_copy_and_pickle():
    picks = [member for cls in CLASSES for member in (cls.members()[-1], cls.members()[0])]
    # A member without a class attribute, twice.
    loose = [member for cls in CLASSES for member in unattributed(cls)][0]
    order = Order(items=picks + [loose, loose], first=CLASSES[0].members()[0])
    clone = copy.deepcopy(order)
    assert clone == order and clone.items is not order.items
    assert dataclasses.replace(order, first=picks[1]).first == picks[1]
    for protocol in PROTOCOLS:
        back = pickle.loads(pickle.dumps({"order": order, "pair": (order.first, picks)}, protocol))
        assert back["order"] == order and type(back["order"]) is Order
        assert back["pair"] == (order.first, picks)
        assert [type(m) for m in back["order"].items] == [type(m) for m in order.items]
        # One object in, one object out.
        assert back["order"].items[-1] is back["order"].items[-2]

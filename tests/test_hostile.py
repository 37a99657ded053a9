"""Hostile input: str subclasses that lie about themselves, control and
non-BMP characters, unencodable and enormous texts, and comparisons with
objects whose own comparisons raise. Every class, clear exceptions, no crash."""

import operator
import time
import tracemalloc

import pytest

from conftest import CLASSES, every_class
from surface import accepted_texts, display

CALLED = []


def lie(name, result):
    def method(self, *args, **kwargs):
        CALLED.append(name)
        return result
    return method


# Every override records its call and answers as misleadingly as it can.
LIES = {"__eq__": True, "__ne__": False, "__hash__": 0, "__str__": "Buy", "__repr__": "'Buy'",
        "encode": b"Buy", "__len__": 0, "__getitem__": "", "__iter__": iter(()), "__contains__": True,
        "__format__": "", "__bytes__": b"", "__class_getitem__": None}
Liar = type("Liar", (str,), {name: lie(name, result) for name, result in LIES.items()})
Liar.__len__ = lie("__len__", 0)


def rejected(cls, text):
    with pytest.raises(ValueError) as caught:
        cls(text)
    assert type(caught.value) is ValueError
    return str(caught.value)


@every_class
def test_str_subclass_overrides_are_not_called(cls):
    CALLED.clear()
    for text, shown in accepted_texts(cls).items():
        for member in (cls(Liar(text)), cls(value=Liar(text))):
            assert type(member) is cls and display(member) == shown
    texts = set(accepted_texts(cls))
    for text in ("Buy", display(cls.members()[0]) + "x", "", "x" * 1000):
        if text not in texts:
            message = rejected(cls, Liar(text))
            assert message.startswith(repr(text[:200])) and message.endswith(f"is not a valid {cls.__name__}")
    assert CALLED == []
    # A keyword whose name is a lying str subclass is read by its content too,
    # and named by it in the error.
    keywords = {Liar("value"): display(cls.members()[-1])}
    unknown = {Liar("name"): display(cls.members()[-1])}
    CALLED.clear()  # the dictionaries hashed their keys
    assert cls(**keywords) == cls.members()[-1]
    with pytest.raises(TypeError) as caught:
        cls(**unknown)
    assert str(caught.value) == f"{cls.__name__}.__new__() got an unexpected keyword argument 'name'"
    assert CALLED == []


@every_class
def test_control_and_non_bmp_characters_are_plain_content(cls):
    text = display(cls.members()[0])
    accepted = set(accepted_texts(cls))
    candidates = [text + "\0", "\0" + text, text[:1] + "\0" + text[1:], text + "\U0001F600",
                  "\U0001F600" + text[1:], "\U0001F600" * len(text), text.replace(text[0], "\u0130", 1),
                  text + "\u200b", "\ufeff" + text, text + "\n", "\U0010FFFF", "\0" * len(text)]
    for candidate in candidates:
        if candidate not in accepted:
            assert rejected(cls, candidate) == f"{candidate!r} is not a valid {cls.__name__}"


@every_class
def test_lone_surrogates_raise_the_codec_error(cls):
    text = display(cls.members()[-1])
    for candidate in ("\ud800", "\udfff", text[:-1] + "\udc80", "\udbff" + text[1:], Liar("\ud800")):
        with pytest.raises(UnicodeEncodeError) as caught:
            cls(candidate)
        assert caught.value.reason == "surrogates not allowed"
    # Longer than any text of the class: rejected without being encoded, as
    # the ValueError that UnicodeEncodeError also is.
    longest = max(map(len, accepted_texts(cls)))
    with pytest.raises(ValueError):
        cls(text + "\udc80" * longest)


# 10**8 characters of each internal width: one byte (ASCII and Latin-1), two
# and four bytes per character. Encoding one would take a tenth of a second or
# more and leave its UTF-8 form, of at least 10**8 bytes, cached in the string.
@pytest.mark.parametrize("char", ["a", "é", "€", "\U0001F600"], ids=["ascii", "latin1", "ucs2", "ucs4"])
def test_enormous_texts_are_rejected_without_being_read(char):
    text = char * 10**8
    liar = Liar(text[:10**6])
    tracemalloc.start()
    try:
        for cls in CLASSES:
            for call in (lambda: cls(text), lambda: cls(value=text), lambda: cls(liar)):
                times = []
                for _ in range(3):  # the best of three: a sanitizer's allocator can stall once
                    start = time.perf_counter()
                    with pytest.raises(ValueError) as caught:
                        call()
                    times.append(time.perf_counter() - start)
                assert min(times) < 0.01, f"{cls.__name__} took {min(times):.3f} s"
                assert str(caught.value) == f"{char * 200!r}... is not a valid {cls.__name__}"
        peak = tracemalloc.get_traced_memory()[1]
    finally:
        tracemalloc.stop()
    assert peak < 10**6


def test_many_positional_arguments():
    args = ("x",) * 100_000
    for cls in CLASSES:
        with pytest.raises(TypeError, match=f"^{cls.__name__}.__new__\\(\\) takes 1 positional arguments "
                                            "but 100000 were given$"):
            cls(*args)


def test_type_names_are_not_format_strings():
    weird = type("W", (), {})
    weird.__qualname__ = "%s%n%x%U\u00e9"
    for cls in CLASSES:
        with pytest.raises(TypeError) as caught:
            cls(weird())
        assert str(caught.value) == ("argument 'value': '%s%n%x%U\u00e9' object cannot be converted "
                                     "to 'PyString'")


class Boom(Exception):
    pass


def boom(*args):
    raise Boom


RAISING = {name: boom for name in ("__eq__", "__ne__", "__lt__", "__le__", "__gt__", "__ge__")}
Raising = type("Raising", (), RAISING)
RaisingStr = type("RaisingStr", (str,), RAISING)
RaisingEqOnly = type("RaisingEqOnly", (), {"__eq__": boom})
AlwaysEqual = type("AlwaysEqual", (), {"__eq__": lambda self, other: True, "__ne__": lambda self, other: 42})
NoOpinion = type("NoOpinion", (), {"__eq__": lambda self, other: NotImplemented})


@every_class
def test_comparisons_hand_over_to_the_other_operand(cls):
    member = cls.members()[0]
    ops = (operator.eq, operator.ne, operator.lt, operator.le, operator.gt, operator.ge)
    for other in (Raising(), RaisingStr(display(member))):
        for op in ops:
            # The member answers NotImplemented, so Python asks the other side,
            # whose exception propagates, on either side of the operator.
            with pytest.raises(Boom):
                op(member, other)
            with pytest.raises(Boom):
                op(other, member)
    # object.__ne__ falls back to the raising __eq__; ordering has no fallback.
    with pytest.raises(Boom):
        member != RaisingEqOnly()
    with pytest.raises(TypeError):
        member < RaisingEqOnly()
    # Whatever the other side answers is the result.
    assert (member == AlwaysEqual()) is True and (member != AlwaysEqual()) == 42
    assert (member == NoOpinion()) is False and (member != NoOpinion()) is True
    with pytest.raises(Boom):
        Raising() in cls.members()
    with pytest.raises(Boom):
        sorted([member, Raising()])
    assert sorted(cls.members()) == sorted(cls.members(), key=lambda m: display(m).encode())

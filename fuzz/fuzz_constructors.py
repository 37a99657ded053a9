"""Fuzzes the constructor of every class with arbitrary texts, bytes and other values.

    python fuzz/fuzz_constructors.py CORPUS [libFuzzer options, e.g. -max_total_time=600]

An empty or missing CORPUS folder is seeded with every text that a constructor
accepts. Each input picks a class and a form of argument; the invariant: a
text is accepted exactly when it is a display text of the class (or one of its
extra texts), and then the member's display text is the one the text names,
and its str is the one the test data gives (the display text for most classes);
any other text raises ValueError, or UnicodeEncodeError when it cannot be
encoded; a value that is not a str raises the TypeError of the argument.
"""

import sys
from pathlib import Path

import atheris

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests"))

with atheris.instrument_imports():
    import surface

import tessamir

CLASSES = surface.classes(tessamir)
ACCEPTED = [surface.accepted_texts(cls) for cls in CLASSES]
LONGEST = [max(len(text) for text in accepted) for accepted in ACCEPTED]
# The accepted texts of each class by length, for comparisons the fuzzer sees.
BY_LENGTH = [{} for _ in CLASSES]
for texts, accepted in zip(BY_LENGTH, ACCEPTED):
    for text in accepted:
        texts.setdefault(len(text), []).append(text)


class Text(str):
    pass


# How the payload after the first two bytes becomes the argument.
FORMS = [
    lambda payload: payload.decode("utf-8", "surrogateescape"),  # lone surrogates for bad bytes
    lambda payload: payload.decode("utf-16-le", "surrogatepass") if len(payload) % 2 == 0 else "",
    lambda payload: Text(payload.decode("utf-8", "surrogateescape")),
    lambda payload: payload,
    lambda payload: bytearray(payload),
    lambda payload: int.from_bytes(payload, "little"),
    lambda payload: [payload.decode("latin-1")],
    lambda payload: None,
]
KEYWORD = len(FORMS)  # a form number at or past this passes the value by keyword


@atheris.instrument_func
def names_no_member(index, text):
    """Compared one by one, so that the fuzzer is guided towards the texts."""
    for candidate in BY_LENGTH[index].get(len(text), ()):
        if candidate == text:
            return False
    return True


@atheris.instrument_func
def check(index, value, keyword):
    cls = CLASSES[index]
    try:
        member = cls(value=value) if keyword else cls(value)
    except UnicodeEncodeError:
        assert isinstance(value, str)
        try:
            value.encode()
        except UnicodeEncodeError:
            return
        raise AssertionError(f"{value!r} raised UnicodeEncodeError but encodes")
    except ValueError as exc:
        assert isinstance(value, str) and names_no_member(index, str(value)), repr(value)
        assert str(exc).endswith(f" is not a valid {cls.__name__}"), str(exc)
        if len(value) <= LONGEST[index]:  # longer texts are rejected before they are encoded
            value.encode()
        return
    except TypeError as exc:
        assert not isinstance(value, str), repr(value)
        assert str(exc) == (f"argument 'value': '{type(value).__qualname__}' object cannot be "
                            "converted to 'PyString'"), str(exc)
        return
    text = str(value)
    assert type(member) is cls and text in ACCEPTED[index], repr(value)
    assert surface.display(member) == ACCEPTED[index][text], (value, member)
    assert str(member) == surface.str_of(member), (value, member)


@atheris.instrument_func
def test_one_input(data):
    if len(data) < 2:
        return
    form = data[1] % (2 * len(FORMS))
    check(data[0] % len(CLASSES), FORMS[form % len(FORMS)](data[2:]), form >= KEYWORD)


def seed(corpus):
    corpus.mkdir(parents=True, exist_ok=True)
    if any(corpus.iterdir()):
        return
    for index, accepted in enumerate(ACCEPTED):
        for number, text in enumerate(accepted):
            (corpus / f"seed-{index}-{number}").write_bytes(bytes([index, 0]) + text.encode())


if __name__ == "__main__":
    folders = [arg for arg in sys.argv[1:] if not arg.startswith("-")]
    if folders:
        seed(Path(folders[0]))
    atheris.Setup(sys.argv, test_one_input)
    atheris.Fuzz()

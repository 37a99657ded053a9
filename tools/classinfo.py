"""What the built tessamir module says about its classes, read by introspection.

The one place that reads the classes' surface: the stub and reference
generators and the tests share it. The classes in registration order, each
member's attribute name and display text, and the properties and link methods
with the types of what they return, found by calling them on every member.
Nothing here imports tessamir, so that a caller decides when it is loaded.
"""

from __future__ import annotations

import dataclasses
import keyword
import types
from pathlib import Path
from types import ModuleType
from typing import Any, Callable


@dataclasses.dataclass(frozen=True)
class Accessor:
    """A read-only property or a method without arguments of a class."""

    name: str
    is_method: bool
    result: type  # the class of the value, or of the list items when `is_list`
    is_list: bool

    def call(self, member: object) -> Any:
        value = getattr(member, self.name)
        return value() if self.is_method else value

    @property
    def annotation(self) -> str:
        return f"list[{self.result.__name__}]" if self.is_list else self.result.__name__


@dataclasses.dataclass(frozen=True)
class ClassInfo:
    cls: type
    members: list[Any]
    attribute_names: dict[int, str]  # member index -> class attribute name
    accessors: list[Accessor]

    @property
    def name(self) -> str:
        return self.cls.__name__

    def attribute(self, index: int) -> str | None:
        return self.attribute_names.get(index)

    def declarable(self) -> list[tuple[str, int]]:
        """Attribute names that a class body can declare, in installation order."""
        return [(name, index) for index, name in self.attribute_names.items() if is_declarable(name)]

    def undeclarable(self) -> list[str]:
        return [name for name in self.attribute_names.values() if not is_declarable(name)]


def is_declarable(name: str) -> bool:
    return name.isidentifier() and not keyword.iskeyword(name)


def display(member: object) -> str:
    """The display text of a member: what its repr shows between the brackets."""
    prefix = type(member).__name__ + "<"
    text = repr(member)
    if not (text.startswith(prefix) and text.endswith(">")):
        raise ValueError(f"unexpected repr {text!r}")
    return text[len(prefix):-1]


def class_objects(module: ModuleType) -> list[type]:
    """The class objects of the module, in the order of its __all__."""
    return [getattr(module, name) for name in module.__all__]


def attributes(cls: type) -> dict[str, Any]:
    """The class attributes that hold members, by name, in installation order
    (the order of the class dictionary)."""
    return {name: value for name, value in vars(cls).items() if type(value) is cls}


def accessors(cls: type) -> list[tuple[str, bool]]:
    """The class's own read-only properties and methods without arguments, as
    (name, is_method) in class order."""
    found = []
    for name, value in vars(cls).items():
        if name.startswith("_"):
            continue
        if isinstance(value, types.MethodDescriptorType):
            found.append((name, True))
        elif isinstance(value, types.GetSetDescriptorType):
            found.append((name, False))
    return found


def classes(module: ModuleType) -> list[ClassInfo]:
    """Every class of the module, described, in the order of its __all__."""
    known = class_objects(module)
    return [describe(cls, known) for cls in known]


def describe(cls: type, known: list[type]) -> ClassInfo:
    members = cls.members()  # type: ignore[attr-defined]
    names = {members.index(value): name for name, value in attributes(cls).items()}
    found = [discover(cls, members, name, is_method, known) for name, is_method in accessors(cls)]
    return ClassInfo(cls, members, names, found)


def discover(cls: type, members: list[Any], name: str, is_method: bool, known: list[type]) -> Accessor:
    """The result type of an accessor: the one type it gives on every member."""
    results = [getattr(m, name)() if is_method else getattr(m, name) for m in members]
    is_list = all(type(r) is list for r in results)
    items = [item for r in results for item in r] if is_list else results
    kinds = {type(item) for item in items}
    if len(kinds) != 1:
        raise TypeError(f"{cls.__name__}.{name} gives {sorted(k.__name__ for k in kinds)}, not one type")
    (result,) = kinds
    if result not in known and result not in (str, int, float, bool, bytes):
        raise TypeError(f"{cls.__name__}.{name} gives {result!r}, which has no name in the stubs")
    return Accessor(name, is_method, result, is_list)


def write(render: Callable[[ModuleType], str], output: str | Path) -> None:
    """Writes what `render` makes of the tessamir module that Python imports."""
    import tessamir

    output = Path(output)
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_text(render(tessamir), encoding="utf-8")
    print(f"wrote {output}")

import importlib
import shutil
import subprocess
import sys
from pathlib import Path

import tessamir

CLASSES = [getattr(tessamir, name) for name in tessamir.__all__]


def class_id(cls):
    return cls.__name__


def attributes(cls):
    """The class attributes that hold members, in installation order."""
    return {name: value for name, value in vars(cls).items() if type(value) is cls}


def display(member):
    """The display text of a member, as its repr shows it."""
    prefix = type(member).__name__ + "<"
    text = repr(member)
    assert text.startswith(prefix) and text.endswith(">")
    return text[len(prefix):-1]


ROOT = Path(__file__).resolve().parents[1]


def tool(name):
    """A module of the repository's tools/ folder, imported by name."""
    tools = str(ROOT / "tools")
    if tools not in sys.path:
        sys.path.insert(0, tools)
    return importlib.import_module(name)


def exported_symbols(path):
    """The names an extension module exports (without the C prefix of Mach-O)."""
    if sys.platform == "win32":
        return tool("pe_exports").exports(path)
    nm = shutil.which("nm")
    assert nm, "nm is needed to read the module's symbol table"
    darwin = sys.platform == "darwin"
    options = ["-g", "-U"] if darwin else ["-D", "--defined-only"]
    out = subprocess.run([nm, *options, path], check=True, capture_output=True, text=True).stdout
    names = [line.split()[-1] for line in out.splitlines()]
    return [name.removeprefix("_") for name in names] if darwin else names

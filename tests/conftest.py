import importlib
import shutil
import subprocess
import sys

import pytest

import tessamir
from surface import classes

CLASSES = classes(tessamir)


def class_id(cls):
    return cls.__name__


# Parametrizes a test over every class of the module.
every_class = pytest.mark.parametrize("cls", CLASSES, ids=class_id)


def tool(name):
    """A module of the repository's tools/ folder (on the path since surface), imported by name."""
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

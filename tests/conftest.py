import importlib

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

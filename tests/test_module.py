"""The module object: its attributes, registration order and re-import."""

import importlib
import json
import subprocess
import sys
from pathlib import Path

import tessamir
from conftest import exported_symbols

REGISTRATION_ORDER = [
    "Country", "Currency", "Exchange", "Sector", "IndustryGroup", "Industry", "SubIndustry",
    "SecurityType", "EquityType", "OptionType", "OptionExerciseType", "BondType", "CommodityType",
    "FundType", "FundSubType", "MutualFundEndedness", "OrderType", "Side", "TimeInForce", "OrderFlag",
    "TradingType",
]


def test_all_lists_the_classes_in_registration_order():
    assert type(tessamir.__all__) is list
    assert tessamir.__all__ == REGISTRATION_ORDER


def test_module_attributes():
    assert tessamir.__name__ == "tessamir"
    assert tessamir.__doc__ == ""
    own = set(vars(tessamir)) - {"__name__", "__doc__", "__all__", "__file__", "__loader__", "__spec__",
                                 "__package__"}
    assert own == set(REGISTRATION_ORDER)
    for name in REGISTRATION_ORDER:
        cls = getattr(tessamir, name)
        assert isinstance(cls, type) and cls.__name__ == name and cls.__module__ == "builtins"


def test_star_import_binds_exactly_the_classes():
    namespace = {}
    exec("from tessamir import *", namespace)
    namespace.pop("__builtins__")
    assert namespace == {name: getattr(tessamir, name) for name in REGISTRATION_ORDER}


def test_reimport_binds_the_same_class_objects():
    before = sys.modules.pop("tessamir")
    try:
        again = importlib.import_module("tessamir")
        assert again is not before
        assert again.__all__ == before.__all__ and again.__all__ is not before.__all__
        for name in before.__all__:
            assert getattr(again, name) is getattr(before, name)
        assert again.Side.Buy is before.Side.Buy
        assert again.Side("Sell") == before.Side.Sell
    finally:
        sys.modules["tessamir"] = before


# Run in a fresh interpreter: the import, then a second import once nothing
# holds the first module any more. Reference counts are measured against
# objects held the same ways.
FRESH_IMPORTS = """
import gc, importlib, json, sys, types

def item_counts(items):
    return [sys.getrefcount(item) for item in items]

def counts(module):
    gc.collect()
    probe = types.ModuleType("probe")
    probe.__all__ = [name.encode().decode() for name in module.__all__]
    return {"classes": [sys.getrefcount(vars(module)[name]) for name in module.__all__],
            "__all__": sys.getrefcount(module.__all__) - sys.getrefcount(probe.__all__),
            "names": [a - b for a, b in zip(item_counts(module.__all__), item_counts(probe.__all__))]}

import tessamir
first = counts(tessamir)
del sys.modules["tessamir"], tessamir
second = counts(importlib.import_module("tessamir"))
print(json.dumps([first, second]))
"""


def test_import_keeps_no_reference_of_its_own():
    result = subprocess.run([sys.executable, "-c", FRESH_IMPORTS], capture_output=True, text=True, check=True)
    first, second = json.loads(result.stdout)
    assert first["__all__"] == 0 and set(first["names"]) == {0}
    assert second == first  # the classes lost their binding in the first module, gained one in the second


def test_built_against_the_stable_abi():
    expected = "tessamir.pyd" if sys.platform == "win32" else "tessamir.abi3.so"
    assert Path(tessamir.__file__).name == expected


def test_only_the_init_function_is_exported():
    assert exported_symbols(tessamir.__file__) == ["PyInit_tessamir"]


def test_import_in_a_fresh_interpreter_prints_nothing():
    result = subprocess.run([sys.executable, "-c", "import tessamir"], capture_output=True, text=True)
    assert result.returncode == 0
    assert result.stdout == "" and result.stderr == ""

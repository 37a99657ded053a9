"""The module object: its attributes, registration order and re-import."""

import importlib
import subprocess
import sys
from pathlib import Path

import pytest

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


def test_built_against_the_stable_abi():
    expected = "tessamir.pyd" if sys.platform == "win32" else "tessamir.abi3.so"
    assert Path(tessamir.__file__).name == expected


def test_only_the_init_function_is_exported():
    assert exported_symbols(tessamir.__file__) == ["PyInit_tessamir"]


def test_import_in_a_fresh_interpreter_prints_nothing():
    result = subprocess.run([sys.executable, "-c", "import tessamir"], capture_output=True, text=True)
    assert result.returncode == 0
    assert result.stdout == "" and result.stderr == ""

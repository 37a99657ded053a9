"""The module object: its attributes, registration order and re-import."""

import importlib
import json
import os
import subprocess
import sys
import sysconfig
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

import pytest

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


def test_built_against_the_stable_abi_where_there_is_one():
    if sysconfig.get_config_var("Py_GIL_DISABLED"):  # no stable ABI: a file for this version alone
        expected = "tessamir" + sysconfig.get_config_var("EXT_SUFFIX")
    else:
        expected = "tessamir.pyd" if sys.platform == "win32" else "tessamir.abi3.so"
    assert Path(tessamir.__file__).name == expected


def test_import_leaves_the_interpreter_as_it_was():
    """No GIL enabled on a free-threaded interpreter, nothing printed."""
    check = "import sys, tessamir; print(getattr(sys, '_is_gil_enabled', lambda: True)())"
    result = subprocess.run([sys.executable, "-c", check], capture_output=True, text=True)
    assert result.returncode == 0 and result.stderr == ""
    assert result.stdout == f"{not sysconfig.get_config_var('Py_GIL_DISABLED')}\n"


def test_only_the_init_function_is_exported():
    assert exported_symbols(tessamir.__file__) == ["PyInit_tessamir"]


# Run in a child process: the steps named on the command line, each printing a
# JSON line. "isolated" and "legacy" import the module in a new sub-interpreter
# of that kind and report what it gives; "main" imports it here; "cycles" runs
# each kind of sub-interpreter many times, with the reference counts of the
# class objects and of the shared members, and the resident memory, measured
# against the same sub-interpreter running the same code without the import.
SUBINTERPRETERS = r'''
import gc, json, os, sys
import _testcapi

read, write = os.pipe()
CODE = """
import json, os
try:
    {statement}
    result = {{name: [repr(m) for m in getattr(tessamir, name).members()] for name in tessamir.__all__}}
    result["works"] = (tessamir.Side("Buy") == tessamir.Side.Buy
                       and tessamir.Exchange.XTSE.country() == tessamir.Country.CA
                       and str(tessamir.Currency("GBp")) == "GBX")
except ImportError as exc:
    result = {{"ImportError": str(exc)}}
os.write({fd}, (json.dumps(result) + "\\n").encode())
"""
IMPORT = CODE.format(statement="import tessamir", fd=write)
CONTROL = CODE.format(statement="raise ImportError('control')", fd=write)


def legacy(code):
    assert _testcapi.run_in_subinterp(code) == 0


if sys.version_info >= (3, 13):
    import _interpreters

    def isolated(code):
        interp = _interpreters.create("isolated")
        try:
            assert _interpreters.exec(interp, code) is None
        finally:
            _interpreters.destroy(interp)
else:
    import _xxsubinterpreters

    def isolated(code):
        interp = _xxsubinterpreters.create(isolated=True)
        try:
            _xxsubinterpreters.run_string(interp, code)
        finally:
            _xxsubinterpreters.destroy(interp)


def reported():
    return json.loads(os.read(read, 1 << 20).decode())


def resident():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def counts(tessamir):
    gc.collect()
    classes = [getattr(tessamir, name) for name in tessamir.__all__]
    members = [value for cls in classes for value in vars(cls).values() if type(value) is cls]
    return [sys.getrefcount(o) for o in classes + members]


def per_cycle(run, code, cycles):
    for _ in range(5):
        run(code)
        reported()
    gc.collect()
    before = resident()
    for _ in range(cycles):
        run(code)
        reported()
    gc.collect()
    return (resident() - before) / cycles


for step in sys.argv[1:]:
    if step == "main":
        import tessamir
        result = {name: [repr(m) for m in getattr(tessamir, name).members()] for name in tessamir.__all__}
        result["works"] = True
    elif step == "cycles":
        import tessamir
        before = counts(tessamir)
        result = {}
        for name, run in (("legacy", legacy), ("isolated", isolated)):
            if name == "isolated" and sys.version_info < (3, 12):
                continue
            result[name] = {"import": per_cycle(run, IMPORT, 40), "control": per_cycle(run, CONTROL, 40)}
        result["references"] = [after - b for after, b in zip(counts(tessamir), before)]
    else:
        {"legacy": legacy, "isolated": isolated}[step](IMPORT)
        result = reported()
    print(json.dumps(result), flush=True)
'''

ISOLATED = sys.version_info >= (3, 12)
# The sub-interpreters that refuse a single-phase module: on a free-threaded
# interpreter the legacy ones too (as they do the interpreter's own
# _testsinglephase).
REFUSING = {"isolated", "legacy"} if sysconfig.get_config_var("Py_GIL_DISABLED") else {"isolated"}


def subinterpreters(*steps):
    result = subprocess.run([sys.executable, "-c", SUBINTERPRETERS, *steps], capture_output=True, text=True,
                            timeout=600)
    assert result.returncode == 0, f"status {result.returncode}\n{result.stderr[-3000:]}"
    return [json.loads(line) for line in result.stdout.splitlines()]


@pytest.mark.parametrize("steps", [
    ("legacy", "main", "legacy"),
    ("isolated", "legacy", "main", "isolated"),
    ("main", "isolated", "legacy"),
], ids="-".join)
def test_subinterpreters(steps):
    """An isolated sub-interpreter cannot load a single-phase module that
    keeps its classes for the process: the import raises ImportError, before
    or after the main interpreter has loaded it, and nothing else changes. A
    legacy sub-interpreter shares the classes and gives the same members
    (except on a free-threaded interpreter, where it refuses as well)."""
    if "isolated" in steps and not ISOLATED:
        pytest.skip("isolated sub-interpreters come with CPython 3.12")
    results = subinterpreters(*steps)
    main = results[steps.index("main")]
    for step, result in zip(steps, results):
        if step in REFUSING:
            assert list(result) == ["ImportError"] and "subinterpreters" in result["ImportError"]
        else:
            assert result == main and result["works"] is True


def test_subinterpreters_do_not_leak():
    """Forty sub-interpreters of each kind, each importing the module: no
    reference to a class or a shared member is left behind, and the memory
    kept grows no faster than with the same code that does not import (the
    interpreter itself keeps some of every sub-interpreter). Resident memory
    is noisy on a loaded machine (a CI run once saw the control's growth fall
    by 64 KiB a cycle), while a leak shows in every run: the memory check
    takes the best of three runs."""
    for _ in range(3):
        [result] = subinterpreters("cycles")
        references = result.pop("references")
        assert len(references) > 21 and not any(references)
        assert set(result) == ({"legacy", "isolated"} if ISOLATED else {"legacy"})
        if "asan" in os.environ.get("LD_PRELOAD", ""):
            return  # AddressSanitizer keeps freed memory resident (its quarantine) by design
        if all(growth["import"] <= growth["control"] + 64 * 1024 for growth in result.values()):
            return
    pytest.fail(f"the import keeps more memory than the control: {result}")

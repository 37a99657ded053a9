"""The rules' floor: bench/floor.c built into a folder, with the constant texts
of the tessamir members it stands beside.

    with tempfile.TemporaryDirectory() as folder:
        setup = floor.setup(floor.build(folder))   # for instructions.per_call
"""

from __future__ import annotations

import json
import os
import shlex
import subprocess
import sys
import sysconfig
from pathlib import Path

import tessamir

SOURCE = Path(__file__).resolve().parent / "floor.c"

# The members the benchmarks measure, by the names their statements use.
MEMBERS = {"m": "Currency.USD", "n": "Currency.EUR", "c": "Country.GB", "x": "Exchange.XNYS",
           "s": "Sector.Financials", "g": "IndustryGroup.Banks", "i": "Industry.Banks",
           "u": "SubIndustry.RegionalBanks"}


def member(name: str):
    cls, attribute = MEMBERS[name].split(".")
    return getattr(getattr(tessamir, cls), attribute)


def texts() -> dict[str, str | int]:
    """What the floor's slots return: the texts of the members it stands beside."""
    return {"FLOOR_STR": str(member("m")), "FLOOR_REPR": repr(member("m")), "FLOOR_NAME": member("c").name,
            "FLOOR_FLAG": member("c").flag, "FLOOR_MEMBERS": len(tessamir.Country.members()),
            "FLOOR_LONGEST": max(len(text) for _, _, text in member_texts())}


def build(folder: str) -> str:
    """Compiles the floor extension into `folder` (with $CC, default cc); returns the folder."""
    header = []
    for name, value in texts().items():
        assert not isinstance(value, str) or value.isascii(), f"{name} must be ASCII"
        header.append(f"#define {name} {json.dumps(value)}")
    Path(folder, "floor_texts.h").write_text("\n".join(header) + "\n")
    target = Path(folder, "_tessamir_floor" + sysconfig.get_config_var("EXT_SUFFIX"))
    subprocess.run([*shlex.split(os.environ.get("CC", "cc")), "-O3", "-DNDEBUG", "-shared", "-fPIC",
                    "-Wall", "-Wextra", "-Werror", "-I", sysconfig.get_paths()["include"], "-I", folder,
                    *(["-undefined", "dynamic_lookup"] if sys.platform == "darwin" else []),
                    str(SOURCE), "-o", str(target)], check=True)
    return folder


def setup(folder: str) -> str:
    """Set-up code for a measured statement: tessamir's classes, the members of
    MEMBERS, and the floor's class `Floor` with two members `f` and `e`."""
    members = "".join(f"{name} = {expression}\n" for name, expression in MEMBERS.items())
    return (f"import sys\nsys.path.insert(0, {folder!r})\nfrom _tessamir_floor import Floor\n"
            f"import tessamir\nfrom tessamir import *\n{members}f = Floor('f')\ne = Floor('e')\n"
            "o = object()\nz = slice(1)\n")


# The lookup takes a different path for texts of 1-3, 4-7, 8-16, 17-24 and
# more bytes: the constructor is measured on the longest text of each, and on
# the longest of up to 48 bytes, where the target ends.
PATHS = [(1, 3), (4, 7), (8, 16), (17, 24), (25, 48), (49, 10**6)]


def member_texts() -> list[tuple[int, str, str]]:
    """(bytes, class name, display text) of every member of every class."""
    return [(len(text.encode()), name, text) for name in tessamir.__all__
            for text in (repr(m)[len(name) + 1:-1] for m in getattr(tessamir, name).members())]


def constructor_texts() -> list[tuple[str, str]]:
    """(class name, text): the shortest display text of any class, and the
    longest on each path of the lookup."""
    texts = member_texts()
    chosen = [min(texts)] + [max(t for t in texts if low <= t[0] <= high) for low, high in PATHS]
    return [(name, text) for _, name, text in chosen]


# Every operation is held to 1.05 times its floor in instructions. Texts
# beyond 48 bytes have no target: they are held to what they cost when last
# improved, plus 1 %, so that they cannot grow dearer unnoticed.
TARGET = 1.05
BEYOND_48_BYTES = 1.092


def pairs() -> list[tuple[str, str, int, float]]:
    """(statement, its floor, loop count, budget: the most ours / floor may
    be) for every operation measured against the floor."""
    rows = [(f"{name}({text!r})", f"Floor({text!r})", 20_000,
             TARGET if len(text.encode()) <= 48 else BEYOND_48_BYTES) for name, text in constructor_texts()]
    return rows + [(stmt, other, n, TARGET) for stmt, other, n in [
        ("str(m)", "str(f)", 20_000), ("repr(m)", "repr(f)", 20_000), ("c.name", "f.name", 20_000),
        ("c.flag", "f.flag", 20_000), ("u.industry()", "f.link()", 20_000),
        ("Country.members()", "Floor.members()", 1_000), ("m < n", "f < e", 20_000)]]

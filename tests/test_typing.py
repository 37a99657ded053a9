"""The type stubs: fresh, true to the module, and useful to a type checker."""

import os
import re
import runpy
import subprocess
import sys
import sysconfig
from pathlib import Path

import pytest

import tessamir
from conftest import tool
from surface import ROOT

STUBS = ROOT / "tessamir-stubs" / "__init__.pyi"
ALLOWLIST = ROOT / "tools" / "stubtest-allowlist.txt"
EXAMPLES = Path(__file__).parent / "typecheck"


@pytest.fixture(scope="module")
def env(tmp_path_factory):
    """The environment of a checker run: the committed stubs first on the search path,
    and the module under test importable."""
    stubs = tmp_path_factory.mktemp("stubs")
    (stubs / "tessamir").mkdir()
    (stubs / "tessamir" / "__init__.pyi").write_bytes(STUBS.read_bytes())
    return dict(os.environ, MYPYPATH=str(stubs), PYTHONPATH=str(Path(tessamir.__file__).parent))


def run(env, *args):
    """Runs a checker module in a scratch folder, away from any configuration of the repository."""
    return subprocess.run([sys.executable, "-m", *args], env=env, cwd=Path(env["MYPYPATH"]).parent,
                          capture_output=True, text=True)


def test_committed_stubs_are_a_fresh_generation():
    assert STUBS.read_text(encoding="utf-8") == tool("make_stubs").render(tessamir), \
        "run python tools/make_stubs.py"


def test_stubs_declare_every_member_and_accessor():
    text = STUBS.read_text(encoding="utf-8")
    for info in tool("classinfo").classes(tessamir):
        body = re.search(rf"^class {info.name}:\n((?:    .*\n)+)", text, re.M).group(1)
        for name in info.attribute_names.values():
            declared = f"    {name}: ClassVar[{info.name}]\n" in body
            assert declared is (name != "None"), (info.name, name)
        for accessor in info.accessors:
            assert f"    def {accessor.name}(self) -> {accessor.annotation}: ..." in body
    assert "getattr(OrderFlag, 'None')" in text


# The type checker's runs take seconds each.
@pytest.mark.slow
def test_stubtest_finds_no_difference(env):
    result = run(env, "mypy.stubtest", "tessamir", "--allowlist", str(ALLOWLIST))
    assert result.returncode == 0, result.stdout + result.stderr


@pytest.mark.slow
def test_typed_use_passes_strict_checking_and_runs(env):
    result = run(env, "mypy", "--strict", str(EXAMPLES / "typed_ok.py"))
    assert result.returncode == 0, result.stdout + result.stderr
    runpy.run_path(str(EXAMPLES / "typed_ok.py"))


@pytest.mark.slow
def test_mistyped_use_is_reported_line_by_line(env):
    source = EXAMPLES / "typed_bad.py"
    expected = {(number, match.group(1))
                for number, line in enumerate(source.read_text().splitlines(), 1)
                if (match := re.search(r"# error: ([\w-]+)$", line))}
    result = run(env, "mypy", "--strict", str(source))
    reported = {(int(m.group(1)), m.group(2))
                for m in re.finditer(r"^[^:\n]+:(\d+): error: .*\[([\w-]+)\]$", result.stdout, re.M)}
    assert len(expected) >= 8
    assert reported == expected, result.stdout


def test_installed_module_carries_its_stubs():
    where = Path(tessamir.__file__).parent
    if where != Path(sysconfig.get_paths()["platlib"]):
        pytest.skip(f"tessamir is imported from {where}, not an installed copy")
    assert (where / "tessamir-stubs" / "__init__.pyi").read_bytes() == STUBS.read_bytes()
    assert not (where / "tessamir-stubs" / "py.typed").exists()

"""The one abi3 wheel, built once, tested on every CPython from 3.11 on.

Finds the CPython interpreters of pyenv (`pyenv root`/versions) and of PATH,
builds the wheel with the interpreter running this script, and for each
interpreter found installs the wheel with its test extra into a fresh venv
and runs the whole test suite (the allocation failure sweeps included)
against that installed copy. A required release that is missing fails the
run; so does a failing suite on any interpreter. Then the same wheel on the
CPython releases of Debian's suites and a debug build, each in a Debian
chroot (.ci/chroot_interpreters.py; --host-only leaves them out). Prints the
time each took. TESSAMIR_DESELECT (test node ids, separated by spaces) leaves
tests out on every interpreter.

    python .ci/interpreters.py [--host-only] [REQUIRED ...]     default: 3.11 3.12 3.13
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import chroot_interpreters

ROOT = Path(__file__).resolve().parents[1]
REQUIRED = ("3.11", "3.12", "3.13")

# What an interpreter says about itself, one field a line.
PROBE = """\
import os, sys, sysconfig
print(sys.implementation.name)
print("%d.%d" % sys.version_info[:2])
print(sys.version.split()[0])
print(os.path.realpath(getattr(sys, "_base_executable", None) or sys.executable))
print(int(bool(sysconfig.get_config_var("Py_GIL_DISABLED"))))
"""


def candidates():
    """Executables that may be CPython interpreters: pyenv's versions, then
    every python3* on PATH (not pyenv's shims, which stand for its versions)."""
    found = []
    root = os.environ.get("PYENV_ROOT")
    if root is None and shutil.which("pyenv"):
        root = subprocess.run(["pyenv", "root"], capture_output=True, text=True).stdout.strip()
    root = Path(root or Path.home() / ".pyenv")
    for version in sorted((root / "versions").glob("*")):
        found += sorted(version.glob("bin/python3*"))
    shims = root / "shims"
    for folder in os.environ.get("PATH", "").split(os.pathsep):
        if not folder or Path(folder).resolve() == shims.resolve():
            continue
        found += sorted(Path(folder).glob("python3*"))
    return [path for path in found if re.fullmatch(r"python3(\.\d+t?)?", path.name) and path.is_file()
            and os.access(path, os.X_OK)]


def interpreters():
    """The distinct CPython interpreters >= 3.11 found, as dicts, and the
    free-threaded ones (which cannot load an abi3 wheel of the GIL build)."""
    usable, free_threaded, seen = [], [], set()
    for path in candidates():
        try:
            probe = subprocess.run([str(path), "-I", "-c", PROBE], capture_output=True, text=True,
                                   timeout=60)
        except (OSError, subprocess.SubprocessError):
            continue
        fields = probe.stdout.split("\n")
        if probe.returncode != 0 or len(fields) < 5 or fields[0] != "cpython":
            continue
        name, minor, version, executable, nogil = fields[:5]
        if tuple(map(int, minor.split("."))) < (3, 11) or executable in seen:
            continue
        seen.add(executable)
        entry = {"minor": minor, "version": version, "executable": executable}
        (free_threaded if nogil == "1" else usable).append(entry)
    return usable, free_threaded


def run(command, **kwargs):
    print("+", " ".join(map(str, command)), flush=True)
    return subprocess.run([str(c) for c in command], **kwargs).returncode


def main(required, chroots=True):
    usable, free_threaded = interpreters()
    print("CPython interpreters found:")
    for entry in usable:
        print(f"  {entry['version']:10} {entry['executable']}")
    for entry in free_threaded:
        print(f"  {entry['version']:10} {entry['executable']}  (free-threaded: the abi3 wheel does not "
              f"install there; skipped)")
    missing = [minor for minor in required if minor not in {e["minor"] for e in usable}]
    if missing:
        print(f"required CPython {', '.join(missing)} not found (looked in pyenv's versions and PATH): "
              f"failing", file=sys.stderr)
        return 1

    work = Path(tempfile.mkdtemp(prefix="tessamir-interpreters-"))
    try:
        dist = work / "dist"
        if run([sys.executable, "-m", "pip", "wheel", ROOT, "--no-deps", "-w", dist], cwd=ROOT) != 0:
            return 1
        [wheel] = dist.glob("*.whl")
        print(f"wheel: {wheel.name}", flush=True)
        # The tests import the installed copy: nothing from the environment or
        # the checkout may come first on the path.
        env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "PYTHONHOME", "VIRTUAL_ENV")}
        times = []
        for index, entry in enumerate(usable):
            start = time.monotonic()
            venv = work / f"venv{index}"
            python = venv / "bin" / "python"
            status = run([entry["executable"], "-m", "venv", venv], env=env)
            if status == 0:
                status = run([python, "-m", "pip", "install", "--quiet", f"{wheel}[test]"], env=env)
            if status == 0:
                status = run([python, "-c", "import sys, tessamir; assert tessamir.__file__.startswith(sys.prefix), "
                              "tessamir.__file__; print('testing', tessamir.__file__)"], cwd=ROOT, env=env)
            if status == 0:
                status = run([python, "-m", "pytest", "-p", "no:cacheprovider", *chroot_interpreters.deselected()],
                             cwd=ROOT, env=env)
            times.append((entry["version"], time.monotonic() - start, status, entry["executable"]))
            print(f"== CPython {entry['version']}: {'passed' if status == 0 else f'FAILED ({status})'} "
                  f"in {times[-1][1]:.0f} s", flush=True)
        if chroots:
            for label, version, seconds, status in chroot_interpreters.main(wheel, usable):
                times.append((version, seconds, status, label))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("Per interpreter:")
    for version, seconds, status, where in times:
        print(f"  {version:10} {'passed' if status == 0 else 'FAILED':7} {seconds:6.0f} s  {where}")
    return 0 if all(status == 0 for _, _, status, _ in times) else 1


if __name__ == "__main__":
    arguments = sys.argv[1:]
    host_only = "--host-only" in arguments
    arguments = [a for a in arguments if a != "--host-only"]
    sys.exit(main(arguments or REQUIRED, chroots=not host_only))

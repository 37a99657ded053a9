"""The module on the other architectures the wheels are built for, run there.

Each architecture is a Debian 12 chroot (.ci/debian.py: made once, kept
outside the clone) with its own CPython 3.11:

    arm64   64-bit ARM, little-endian          emulated (qemu-user)  the fast loop
    s390x   IBM Z, big-endian                  emulated (qemu-user)  the fast loop
    i386    32-bit x86                         native                the whole suite

The emulated ones get a module cross-compiled on the host with zig against
the chroot's own headers (tools/cross_compile.py; seconds, where a build
under emulation takes minutes) and the fast loop (`-m "not slow"`) with the
pure-Python test dependencies installed for them by the host's pip. i386 runs
at native speed, so there the project is installed with its test extra into
a venv of the chroot's interpreter by the project's own build, and the whole
suite runs. Venvs and dependencies are kept inside the chroots and reused
while the test extra is unchanged.

    python .ci/architectures.py [ARCH ...]      default: all

A failing architecture fails the run with its name; the time of each is
printed.
"""

import json
import shutil
import subprocess
import sys
import tempfile
import time
import tomllib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import debian  # noqa: E402

ROOT = Path(__file__).resolve().parents[1]
# architecture: (chroot, cross-compilation target or None for a build in the chroot)
ARCHITECTURES = {"arm64": ("bookworm-arm64", "aarch64-linux"),
                 "s390x": ("bookworm-s390x", "s390x-linux"),
                 "i386": ("bookworm-i386", None)}
# What only the slow tests use (building the test extension, type checking,
# clusters): left out of the emulated runs of the fast loop.
SLOW_ONLY = {"cmake", "ninja", "mypy", "distributed"}
WORK = Path("/opt/tessamir-arch")  # inside each chroot


def run(command, **kwargs):
    print("+", " ".join(map(str, command)), flush=True)
    return subprocess.run([str(c) for c in command], **kwargs).returncode


def test_extra():
    with open(ROOT / "pyproject.toml", "rb") as f:
        return tomllib.load(f)["project"]["optional-dependencies"]["test"]


def copy_project(root):
    """The project's files into the chroot, afresh."""
    return debian.copy_checkout(root / WORK.relative_to("/") / "project")


def cached(root, folder, key, make):
    """A folder inside the chroot made by `make(folder)` and kept while `key` holds."""
    marker = folder / ".tessamir-key"
    if marker.is_file() and marker.read_text() == key:
        print(f"reusing {folder.relative_to(root)}", flush=True)
        return 0
    shutil.rmtree(folder, ignore_errors=True)
    status = make(folder)
    if status == 0:
        marker.write_text(key)
    return status


def emulated(arch, root, target, zig_python):
    """Cross-compiles the module for the chroot and runs the fast loop there."""
    out = ROOT / "build" / "cross" / target
    status = run([zig_python, ROOT / "tools" / "cross_compile.py", "--sysroot", root, target], cwd=ROOT)
    if status != 0:
        return status
    module = root / WORK.relative_to("/") / "module"
    shutil.rmtree(module, ignore_errors=True)
    module.mkdir(parents=True)
    shutil.copy2(out / "tessamir.abi3.so", module)
    requirements = sorted(r for r in test_extra() if r.split(">")[0].split("=")[0].strip() not in SLOW_ONLY)
    deps = root / WORK.relative_to("/") / "deps"

    def install(folder):
        # The host's pip fetches them: pure Python, the same on every architecture.
        status = run([sys.executable, "-m", "pip", "install", "--quiet", "--only-binary=:all:",
                      "--python-version", "3.11", "--no-compile", "--target", folder, *requirements])
        compiled = [p for p in folder.rglob("*") if p.suffix in (".so", ".pyd")]
        if compiled:
            print(f"not pure Python: {compiled}", file=sys.stderr)
            return 1
        return status

    status = cached(root, deps, json.dumps(requirements), install)
    if status != 0:
        return status
    copy_project(root)
    with debian.mounted(root):
        inner = ["python3", "-c", "import platform, sys, tessamir; print('testing', tessamir.__file__, "
                 "'on', platform.machine(), sys.byteorder + '-endian', sys.version.split()[0])"]
        env = {"PYTHONPATH": f"{WORK}/module:{WORK}/deps", "PYTHONDONTWRITEBYTECODE": "1"}
        status = debian.inside(root, inner, env=env)
        if status == 0:
            status = debian.inside(root, ["sh", "-c", f"cd {WORK}/project && python3 -m pytest -m 'not slow' "
                                          f"-p no:cacheprovider -q"], env=env)
    return status


def native(arch, root):
    """Installs the project with its test extra into a venv of the chroot's
    interpreter and runs the whole suite there."""
    venv = WORK / "venv"
    copy_project(root)
    key = json.dumps(test_extra())
    with debian.mounted(root):
        def make(folder):
            return (debian.inside(root, ["python3", "-m", "venv", venv]) or
                    debian.inside(root, [venv / "bin/pip", "install", "--quiet", *test_extra()]))

        status = cached(root, root / venv.relative_to("/"), key, make)
        env = {"PATH": f"{venv}/bin:/usr/sbin:/usr/bin:/sbin:/bin"}
        if status == 0:
            status = debian.inside(root, [venv / "bin/pip", "install", "--quiet", "--force-reinstall",
                                          "--no-deps", f"{WORK}/project"], env=env)
        if status == 0:
            status = debian.inside(root, ["sh", "-c", f"cd {WORK}/project && python -c 'import sys, tessamir; "
                                          f"assert tessamir.__file__.startswith(sys.prefix)' && "
                                          f"python -m pytest -p no:cacheprovider -q"], env=env)
    return status


def main(names):
    if unknown := set(names) - set(ARCHITECTURES):
        sys.exit(f"unknown architectures: {', '.join(sorted(unknown))}; known: {', '.join(ARCHITECTURES)}")
    names = names or list(ARCHITECTURES)
    start = time.monotonic()
    roots = debian.make_all([ARCHITECTURES[name][0] for name in names])
    print(f"chroots ready in {time.monotonic() - start:.0f} s", flush=True)
    results = []
    with tempfile.TemporaryDirectory() as tools:
        zig_python = Path(tools) / "bin" / "python"
        if any(ARCHITECTURES[name][1] for name in names):
            run([sys.executable, "-m", "venv", tools])
            run([zig_python, "-m", "pip", "install", "--quiet", "ziglang"])
        for name in names:
            chroot, target = ARCHITECTURES[name]
            began = time.monotonic()
            root = roots[chroot]
            status = emulated(name, root, target, zig_python) if target else native(name, root)
            results.append((name, status, time.monotonic() - began))
            print(f"== {name}: {'passed' if status == 0 else f'FAILED ({status})'} in {results[-1][2]:.0f} s",
                  flush=True)
    print("Per architecture:")
    for name, status, seconds in results:
        print(f"  {name:6} {'passed' if status == 0 else 'FAILED':7} {seconds:6.0f} s")
    failed = [name for name, status, _ in results if status != 0]
    if failed:
        print(f"failed on: {', '.join(failed)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""The one abi3 wheel on the CPython releases of Debian's suites, and a
debug build, each in a Debian chroot (.ci/debian.py makes them when missing).

For each interpreter below: a venv inside the chroot with the test extra
(kept between runs in /opt/interp-venvs/ and made again only when the test
extra or the interpreter changed, as recorded in its marker file), the wheel
installed into it afresh, and the whole test suite run against that
installed copy. The debug interpreter gets the module built from the sources
against its own debug headers instead (the release wheel's reference counting
does not keep the debug interpreter's reference total), checked to be such a
build before the suite runs. Then the wheel is built on Debian's 3.15 and
imported by every interpreter of the host: its file name must be the stable
ABI's own, whichever interpreter built it.

The wheel and a copy of the checkout go into /opt/interp-run/ inside the
chroot for the time of the run. TESSAMIR_DESELECT (test node ids, separated
by spaces) leaves tests out everywhere.

    python .ci/chroot_interpreters.py WHEEL     (.ci/interpreters.py calls it)
"""

import json
import os
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
RUN = Path("/opt/interp-run")
VENVS = Path("/opt/interp-venvs")

# (label, chroot, interpreter, expected version, debug)
INTERPRETERS = [
    ("3.13 Debian 13", "trixie-amd64", "python3", "3.13", False),
    ("3.14 Debian sid", "sid-amd64", "python3.14", "3.14", False),
    ("3.15 Debian sid", "sid-amd64", "python3.15", "3.15", False),
    ("3.14 debug", "sid-amd64", "python3.14d", "3.14", True),
]
# The interpreter that builds the wheel whose import the host checks.
BUILDER = ("sid-amd64", "python3.15")

PATH = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"

# On the debug interpreter: Py_DEBUG seen by the module's build. Its
# reference counting then keeps the interpreter's reference total, which a
# build against the release headers moves with every call here.
DEBUG_BUILD = """\
import gc, sys, tessamir
assert tessamir.__file__.startswith(sys.prefix), tessamir.__file__
assert hasattr(sys, "gettotalrefcount"), "not a debug interpreter"
classes = [getattr(tessamir, name) for name in tessamir.__all__]

def growth(times):
    gc.collect()
    before = sys.gettotalrefcount()
    for cls in classes:
        for _ in range(times):
            cls.members()
    gc.collect()
    return sys.gettotalrefcount() - before

growth(1000)
moved = growth(2000) - growth(1000)
assert moved == 0, f"not built with Py_DEBUG: 1000 calls of members() moved the reference total by {moved}"
print("debug build:", tessamir.__file__)
"""


def requirements():
    """What each venv holds: the test extra, and what building the module
    needs (the debug build and the wheel built in a chroot use it)."""
    project = tomllib.loads((ROOT / "pyproject.toml").read_text())
    return project["build-system"]["requires"] + project["project"]["optional-dependencies"]["test"]


def deselected():
    return [option for node in os.environ.get("TESSAMIR_DESELECT", "").split() for option in ("--deselect", node)]


def inside(root, command, env):
    """Runs a command in the mounted chroot, in a mount namespace of its own
    with a /dev/shm of its own: whoever else uses the same chroot meanwhile
    mounts and unmounts theirs over the shared one, and multiprocessing's
    semaphores, made there by one process and opened by others, would vanish."""
    print("+ [chroot]", " ".join(map(str, command)), flush=True)
    script = 'mount -t tmpfs tmpfs "$1/dev/shm" && exec chroot "$@"'
    return subprocess.run(["unshare", "--mount", "--propagation", "private", "sh", "-c", script, "sh", root,
                           *command], env={"PATH": PATH, "LANG": "C.UTF-8", "HOME": "/root", "TMPDIR": "/tmp",
                                           **env}).returncode


def version_of(root, python):
    result = subprocess.run(["chroot", root, python, "-c", "import sys; print(sys.version.split()[0])"],
                            capture_output=True, text=True, env={"PATH": PATH})
    return result.stdout.strip() if result.returncode == 0 else None


class Venv:
    """An interpreter's venv inside a chroot, made when its marker differs."""

    def __init__(self, root, python, version):
        self.root, self.python = root, python
        self.path = VENVS / python
        self.marker = root / self.path.relative_to("/") / ".tessamir-venv"
        self.record = {"interpreter": python, "version": version, "requires": requirements()}
        self.env = {"PATH": f"{self.path}/bin:{PATH}", "PIP_DISABLE_PIP_VERSION_CHECK": "1"}

    def run(self, command):
        return inside(self.root, command, self.env)

    def ready(self):
        """Returns (status, made)."""
        try:
            if json.loads(self.marker.read_text()) == self.record:
                return 0, False
        except (OSError, ValueError):
            pass
        host = self.root / self.path.relative_to("/")
        if host.exists():
            shutil.rmtree(host)
        status = inside(self.root, [self.python, "-m", "venv", self.path], {})
        if status == 0:
            status = self.run(["python", "-m", "pip", "install", "--quiet", *self.record["requires"]])
        if status == 0:
            self.marker.write_text(json.dumps(self.record))
        return status, True


def test_one(root, label, python, expected, debug, wheel):
    """Installs the module into the interpreter's venv and runs the suite."""
    version = version_of(root, python)
    if version is None:
        print(f"required {python} not found in the {root.name} chroot ({root}): failing", file=sys.stderr)
        return 1, "missing"
    if not version.startswith(expected + "."):
        print(f"{python} in {root.name} is CPython {version}, not {expected}: failing", file=sys.stderr)
        return 1, version
    venv = Venv(root, python, version)
    status, made = venv.ready()
    print(f"== {label}: CPython {version}, venv {'made' if made else 'reused'}", flush=True)
    if status == 0 and debug:
        # Built from the sources against the interpreter's own (debug) headers.
        status = venv.run(["python", "-m", "pip", "install", "--quiet", "--no-deps", "--no-build-isolation",
                           "--force-reinstall", RUN / "src"])
        if status == 0:
            status = venv.run(["python", "-c", DEBUG_BUILD])
    elif status == 0:
        status = venv.run(["python", "-m", "pip", "install", "--quiet", "--no-deps", "--force-reinstall",
                           RUN / wheel.name])
    if status == 0:
        status = venv.run(["sh", "-c", f"cd {RUN}/src && python -c \"import sys, tessamir; "
                           f"assert tessamir.__file__.startswith(sys.prefix), tessamir.__file__; "
                           f"print('testing', tessamir.__file__)\""])
    if status == 0:
        status = venv.run(["sh", "-c", f'cd {RUN}/src && exec python -m pytest -p no:cacheprovider "$@"', "pytest",
                           *deselected()])
    return status, version


def built_elsewhere(roots, hosts):
    """The wheel built on BUILDER, imported by each host interpreter."""
    name, python = BUILDER
    root = roots[name]
    version = version_of(root, python)
    if version is None:
        print(f"required {python} not found in the {name} chroot ({root}): failing", file=sys.stderr)
        return 1
    venv = Venv(root, python, version)
    status, _ = venv.ready()
    if status == 0:
        status = venv.run(["python", "-m", "pip", "wheel", "--quiet", "--no-deps", "--no-build-isolation",
                           "-w", RUN / "built", RUN / "src"])
    if status != 0:
        return status
    [wheel] = (root / RUN.relative_to("/") / "built").glob("*.whl")
    print(f"wheel built by CPython {version}: {wheel.name}", flush=True)
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "PYTHONHOME", "VIRTUAL_ENV")}
    with tempfile.TemporaryDirectory(prefix="tessamir-import-") as work:
        for index, entry in enumerate(hosts):
            target = Path(work) / f"venv{index}"
            status = subprocess.run([entry["executable"], "-m", "venv", "--without-pip", target]).returncode
            if status == 0:
                status = subprocess.run([sys.executable, "-m", "pip", "--python", target / "bin" / "python",
                                         "install", "--quiet", "--no-deps", wheel], env=env).returncode
            if status == 0:
                status = subprocess.run(
                    [target / "bin" / "python", "-I", "-c",
                     "import sys, tessamir; from pathlib import Path;"
                     "assert tessamir.__file__.startswith(sys.prefix), (tessamir.__file__, sys.prefix);"
                     "assert Path(tessamir.__file__).name == 'tessamir.abi3.so', tessamir.__file__;"
                     "assert all(getattr(tessamir, name).members() for name in tessamir.__all__);"
                     "print(sys.version.split()[0], 'imports', Path(tessamir.__file__).name)"],
                    cwd=work, env=env).returncode
            if status != 0:
                print(f"the wheel built by CPython {version} does not import on {entry['version']}: failing",
                      file=sys.stderr)
                return status
    return 0


def main(wheel, hosts):
    """Returns [(label, version, seconds, status)], the check of the wheel
    built elsewhere last."""
    wheel = Path(wheel)
    names = sorted({name for _, name, *_ in INTERPRETERS} | {BUILDER[0]})
    start = time.monotonic()
    roots = debian.make_all(names)
    results = [("chroots", " ".join(names), time.monotonic() - start, 0)]
    for name in names:
        root = roots[name]
        run = root / RUN.relative_to("/")
        if run.exists():
            shutil.rmtree(run)
        try:
            (run / "src").mkdir(parents=True)
            shutil.copy(wheel, run / wheel.name)
            debian.copy_checkout(run / "src")
            with debian.mounted(root):
                for label, chroot, python, expected, debug in INTERPRETERS:
                    if chroot != name:
                        continue
                    start = time.monotonic()
                    status, version = test_one(root, label, python, expected, debug, wheel)
                    results.append((label, version, time.monotonic() - start, status))
                    print(f"== {label}: {'passed' if status == 0 else f'FAILED ({status})'} "
                          f"in {results[-1][2]:.0f} s", flush=True)
                if name == BUILDER[0]:
                    start = time.monotonic()
                    status = built_elsewhere(roots, hosts)
                    results.append((f"built by {BUILDER[1]}, imported on the host", "", time.monotonic() - start,
                                    status))
        finally:
            shutil.rmtree(run, ignore_errors=True)
    return results


if __name__ == "__main__":
    sys.path.insert(0, str(ROOT / ".ci"))
    import interpreters
    results = main(sys.argv[1], interpreters.interpreters()[0])
    for label, version, seconds, status in results:
        print(f"  {label:28} {version:10} {'passed' if status == 0 else 'FAILED':7} {seconds:6.0f} s")
    sys.exit(0 if all(status == 0 for *_, status in results) else 1)

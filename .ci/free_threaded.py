"""The module on a free-threaded CPython: the interpreter built from Debian's
source packages, then the whole test suite on the free-threaded build.

The interpreter is built once, in the sid-amd64 chroot (.ci/debian.py), into
/opt/ft-cpython/<version> there (the chroot lives in the cache folder outside
the clone), and reused by later runs:
- a deb-src line, the same as the chroot's deb line, is added to its apt
  sources (once);
- of the python3.15, python3.14 and python3.13 source packages the mirror
  lists, the newest whose files it serves is fetched (`apt-get source
  --download-only`, which checks them against the index's checksums);
- the upstream tarball in it is configured with `--disable-gil` (no
  optimisation passes), built and installed; the test extension `_testcapi`,
  which the allocation failure sweeps use, must be there.

The suite then runs in a venv of that interpreter, kept in the chroot and
keyed by the interpreter and the test extra: a copy of the project is
installed there with `pip install "<copy>[test]"` and tested with the whole
suite. Prints how long each step took.

    python .ci/free_threaded.py              builds the interpreter if missing, then tests
    python .ci/free_threaded.py build        only builds the interpreter if missing
    python .ci/free_threaded.py test ARG...  the suite with these pytest arguments only
"""

import hashlib
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import time
import tomllib
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import debian  # noqa: E402

ROOT = Path(__file__).resolve().parents[1]
CHROOT = "sid-amd64"
PACKAGES = ("python3.15", "python3.14", "python3.13")  # newest first
PREFIXES = "/opt/ft-cpython"      # in the chroot: one folder per version built
WORK = "/tmp/ft-cpython-build"    # in the chroot: sources and build, removed after
CONFIGURE = ["--disable-gil", "--with-ensurepip=no"]
ENV = {"DEBIAN_FRONTEND": "noninteractive"}


def log(*words):
    print(f"[free-threaded {time.strftime('%H:%M:%S')}]", *words, flush=True)


def inside(root, command, env=None, **kwargs):
    status = debian.inside(root, command, env={**ENV, **(env or {})}, **kwargs)
    if status != 0:
        sys.exit(f"{' '.join(map(str, command))}: exit status {status}")


def output(root, command):
    return subprocess.run(["chroot", str(root), *command], check=True, capture_output=True, text=True,
                          env={"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "LANG": "C.UTF-8"}).stdout


def built(root):
    """The interpreter already built with these options, as its path in the
    chroot, or None."""
    for marker in sorted((root / PREFIXES.lstrip("/")).glob("*/.tessamir-built"), reverse=True):
        try:
            if json.loads(marker.read_text())["configure"] == CONFIGURE:
                return "/" + str(marker.parent.relative_to(root)) + "/bin/python3"
        except (OSError, ValueError, KeyError):
            continue
    return None


def add_source_line(root):
    """A deb-src line for each deb line of the chroot's apt sources, unless
    the sources have it already."""
    files = [root / "etc/apt/sources.list", *sorted((root / "etc/apt/sources.list.d").glob("*.list"))]
    lines = {line.strip() for f in files if f.is_file() for line in f.read_text().splitlines()}
    wanted = sorted("deb-src" + line[3:] for line in lines if line.startswith("deb "))
    if not wanted:
        sys.exit(f"no deb line in {root}/etc/apt/sources.list")
    missing = [line for line in wanted if line not in lines]
    if missing:
        (root / "etc/apt/sources.list.d/tessamir-src.list").write_text("\n".join(missing) + "\n")
        log("deb-src line added")


def version_key(version):
    """Orders Debian versions of CPython: upstream release numbers, a ~
    pre-release before its release, then the Debian revision."""
    upstream, _, revision = version.partition("-")
    release, tilde, _ = upstream.partition("~")
    return tuple(int(n) for n in re.findall(r"\d+", release)), not tilde, upstream, revision


def source_candidates(root):
    """(package, version) of the source packages listed, newest first."""
    text = output(root, ["apt-cache", "showsrc", *PACKAGES])
    found = set()
    for stanza in text.split("\n\n"):
        fields = dict(re.findall(r"^(Package|Version): (\S+)$", stanza, re.M))
        if fields.get("Package") in PACKAGES and "Version" in fields:
            found.add((fields["Package"], fields["Version"]))
    return sorted(found, key=lambda pv: version_key(pv[1]), reverse=True)


def build(root):
    start = time.monotonic()
    add_source_line(root)
    inside(root, ["apt-get", "update", "-q"], stdout=subprocess.DEVNULL)
    candidates = source_candidates(root)
    log("source packages listed:", ", ".join(f"{p} {v}" for p, v in candidates) or "none")
    work = root / WORK.lstrip("/")
    shutil.rmtree(work, ignore_errors=True)
    chosen = None
    for package, version in candidates:
        shutil.rmtree(work, ignore_errors=True)
        (work / "src").mkdir(parents=True)
        status = debian.inside(root, ["sh", "-c", f"cd {WORK}/src && apt-get source --download-only -q "
                                      f"{package}={version}"], env=ENV)
        tarballs = sorted((work / "src").glob("*.orig.tar.*"))
        if status == 0 and len(tarballs) == 1:
            chosen = (package, version, tarballs[0])
            break
        log(f"{package} {version}: not served by the mirror")
    if chosen is None:
        sys.exit("the mirror serves none of the source packages listed")
    package, version, tarball = chosen
    upstream = version.partition("-")[0].replace("~", "")
    prefix = f"{PREFIXES}/{upstream}t"
    log(f"building {package} {version} into {prefix} (download {time.monotonic() - start:.0f} s)")
    inside(root, ["tar", "-xf", f"{WORK}/src/{tarball.name}", "-C", WORK])
    [source] = [p for p in work.iterdir() if p.is_dir() and p.name != "src"]
    folder = f"{WORK}/{source.name}"
    steps = [("configure", f"./configure --prefix={prefix} {' '.join(CONFIGURE)}"),
             ("make", "make -j2"), ("install", "make install")]
    for name, command in steps:
        step = time.monotonic()
        with open(work / f"{name}.log", "w") as out:
            status = debian.inside(root, ["sh", "-c", f"cd {folder} && {command}"], env=ENV,
                                   stdout=out, stderr=subprocess.STDOUT)
        if status != 0:
            print((work / f"{name}.log").read_text()[-20000:])
            sys.exit(f"{name} of {package} {version}: exit status {status}")
        log(f"{name}: {time.monotonic() - step:.0f} s")
    python = f"{prefix}/bin/python3"
    inside(root, [python, "-c", "import sys, sysconfig, _testcapi; "
                  "assert sysconfig.get_config_var('Py_GIL_DISABLED'); assert not sys._is_gil_enabled(); "
                  "print(sys.version)"])
    (root / prefix.lstrip("/") / ".tessamir-built").write_text(
        json.dumps({"package": package, "version": version, "configure": CONFIGURE}))
    shutil.rmtree(work, ignore_errors=True)
    log(f"built in {time.monotonic() - start:.0f} s")
    return python


def interpreter(root):
    python = built(root)
    if python is not None:
        log(f"reused {python}")
        return python
    return build(root)


def test(root, python, arguments=()):
    """The whole suite on the free-threaded build, from a copy of the project."""
    start = time.monotonic()
    project = tomllib.loads((ROOT / "pyproject.toml").read_text())
    extra = project["project"]["optional-dependencies"]["test"]
    build_requires = project["build-system"]["requires"]
    version = output(root, [python, "-c", "import sys; print(sys.version)"])
    key = hashlib.sha256(json.dumps([version, extra, build_requires]).encode()).hexdigest()[:12]
    venv = f"/opt/ft-venv-{key}"
    venv_python = f"{venv}/bin/python"
    if not (root / venv.lstrip("/") / ".tessamir-ready").exists():
        shutil.rmtree(root / venv.lstrip("/"), ignore_errors=True)
        inside(root, [python, "-m", "venv", venv])
        # The build's own requirements, so that installing the copy needs no
        # isolated build environment of its own each time.
        inside(root, [venv_python, "-m", "pip", "install", "-q", *build_requires, *extra])
        (root / venv.lstrip("/") / ".tessamir-ready").write_text(json.dumps(extra))
        log(f"venv {venv} made in {time.monotonic() - start:.0f} s")
    else:
        log(f"venv {venv} reused")
    copy = root / "tmp" / f"ft-tessamir-{key}"
    debian.copy_checkout(copy)
    inside_copy = "/" + str(copy.relative_to(root))
    try:
        step = time.monotonic()
        # The previous run's copy out first, so that this one is surely built and installed.
        inside(root, [venv_python, "-m", "pip", "uninstall", "-q", "-y", "tessamir"])
        inside(root, [venv_python, "-m", "pip", "install", "-q", "--no-build-isolation", f"{inside_copy}[test]"])
        log(f"installed in {time.monotonic() - step:.0f} s")
        inside(root, ["sh", "-c", f"cd {inside_copy} && {venv_python} -X warn_default_encoding -c "
                      "'import sys, tessamir; assert tessamir.__file__.startswith(sys.prefix), tessamir.__file__; "
                      "assert not sys._is_gil_enabled(), \"the GIL is enabled\"; print(\"testing\", tessamir.__file__)'"])
        step = time.monotonic()
        inside(root, ["sh", "-c", f"cd {inside_copy} && {venv_python} -m pytest -p no:cacheprovider "
                      + " ".join(shlex.quote(a) for a in arguments)],
               env={"PATH": f"{venv}/bin:/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"})  # as when activated: cmake
        log(f"suite: {time.monotonic() - step:.0f} s")
    finally:
        shutil.rmtree(copy, ignore_errors=True)
    log(f"tested in {time.monotonic() - start:.0f} s")


# The abi3 build on the free-threaded interpreter, in a child process.
ABI3_PROBE = """
import importlib.machinery, sys
sys.path.insert(0, sys.argv[1])
try:
    import tessamir
except ImportError as exc:
    print(type(exc).__name__, exc)
else:
    print("imported", tessamir.__file__)
print(".abi3.so" in importlib.machinery.EXTENSION_SUFFIXES)
"""
REFUSAL = "ImportError this tessamir module is built for CPython with the global interpreter lock"


def abi3_refused(root, python):
    """The abi3 module, built for the interpreter running this script,
    refuses the free-threaded interpreter with ImportError instead of
    crashing it (where that interpreter loads abi3 files at all)."""
    start = time.monotonic()
    folder = root / "tmp" / f"ft-abi3-{os.getpid()}"
    shutil.rmtree(folder, ignore_errors=True)
    try:
        subprocess.run([sys.executable, "-m", "pip", "wheel", "-q", "--no-deps", "-w", folder, ROOT], check=True)
        [wheel] = folder.glob("*-abi3-*.whl")
        with zipfile.ZipFile(wheel) as archive:
            [name] = [n for n in archive.namelist() if n.startswith("tessamir.abi3.")]
            archive.extract(name, folder)
        result = subprocess.run(["chroot", str(root), python, "-c", ABI3_PROBE, "/" + str(folder.relative_to(root))],
                                capture_output=True, text=True, env={"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "LANG": "C.UTF-8"})
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    lines = result.stdout.splitlines()
    print(result.stdout + result.stderr, end="")
    if result.returncode != 0 or len(lines) != 2:
        sys.exit(f"the abi3 module on the free-threaded interpreter: exit status {result.returncode}")
    loads_abi3 = lines[1] == "True"
    if not (lines[0].startswith(REFUSAL) if loads_abi3 else lines[0].startswith("ModuleNotFoundError")):
        sys.exit(f"the abi3 module on the free-threaded interpreter: {lines[0]}")
    log(f"abi3 module refused ({'by the module' if loads_abi3 else 'not looked for'}) "
        f"in {time.monotonic() - start:.0f} s")


def main(action, arguments):
    start = time.monotonic()
    root = debian.make_all([CHROOT])[CHROOT]
    with debian.mounted(root):
        python = interpreter(root)
        if action is None:
            abi3_refused(root, python)
        if action != "build":
            test(root, python, arguments)
    log(f"done in {time.monotonic() - start:.0f} s")


if __name__ == "__main__":
    if sys.argv[1:] not in ([], ["build"]) and sys.argv[1] != "test":
        sys.exit(__doc__)
    main(sys.argv[1] if sys.argv[1:] else None, sys.argv[2:])

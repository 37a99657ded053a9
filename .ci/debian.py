"""Debian chroots for the checks on other interpreters and architectures.

Each chroot is made once with debootstrap, kept in a cache folder outside the
clone ($TESSAMIR_CACHE, default /var/cache/tessamir) and reused by later runs;
one chroot serves each Debian suite and architecture. A chroot counts as made
only when its marker file records the packages it was made with; a partial
one (an interrupted debootstrap) is removed and made again, but never while
anything is mounted under it.

    python .ci/debian.py make NAME ...    makes the chroots missing (in parallel)
    python .ci/debian.py list             the chroots known, with their state

What running in a chroot needed here:
- foreign architectures run through qemu-user-static and binfmt-support,
  registered with the kernel (binfmt_misc mounted, `update-binfmts --enable`);
- the unstable suite's Release file is often past its Valid-Until date on the
  mirror: apt is told not to check it;
- pip inside a chroot needs the host's CA bundle;
- /proc, /dev and /dev/shm (multiprocessing's semaphores) are mounted for
  each use and unmounted on every way out (`mounted`).
The mirror is the one the host's apt uses.
"""

import argparse
import concurrent.futures
import contextlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

CACHE = Path(os.environ.get("TESSAMIR_CACHE", "/var/cache/tessamir"))
ROOT = Path(__file__).resolve().parents[1]
HOST_PACKAGES = ["debootstrap", "qemu-user-static", "binfmt-support"]
BUILD = ["g++", "make"]

# name: (suite, architecture, packages beyond the minimal base)
CHROOTS = {
    # Debian 13's own CPython 3.13.
    "trixie-amd64": ("trixie", "amd64", ["python3", "python3-venv", "python3-dev", *BUILD]),
    # CPython 3.14, 3.15 and the debug build of 3.14 of the unstable suite,
    # and what building a free-threaded CPython from its source needs.
    "sid-amd64": ("sid", "amd64", ["python3.14", "python3.14-venv", "python3.14-dev", "python3.14-dbg",
                                   "python3.15", "python3.15-venv", "python3.15-dev", *BUILD,
                                   "dpkg-dev", "pkg-config", "libffi-dev", "libssl-dev", "zlib1g-dev",
                                   "libbz2-dev", "liblzma-dev", "libsqlite3-dev", "libzstd-dev",
                                   "xz-utils"]),
    # Debian 12 (CPython 3.11) on the architectures the wheels are built for.
    # (binutils: the tests read the module's symbol table with nm.)
    "bookworm-arm64": ("bookworm", "arm64", ["python3", "python3-dev", "binutils"]),
    "bookworm-s390x": ("bookworm", "s390x", ["python3", "python3-dev", "binutils"]),
    "bookworm-i386": ("bookworm", "i386", ["python3", "python3-venv", "python3-dev", *BUILD]),
}


def log(*words):
    print(f"[debian {time.strftime('%H:%M:%S')}]", *words, flush=True)


def run(command, **kwargs):
    return subprocess.run([str(c) for c in command], check=True, **kwargs)


def mirror():
    """The Debian mirror of the host's apt sources."""
    texts = [p.read_text() for p in [Path("/etc/apt/sources.list"), *Path("/etc/apt/sources.list.d").glob("*")]
             if p.is_file() and p.suffix in ("", ".list", ".sources")]
    for text in texts:
        for match in re.finditer(r"^(?:URIs:\s*|deb\s+(?:\[[^]]*\]\s+)?)(\S+/debian)/?\s", text, re.M):
            return match.group(1)
    sys.exit("no Debian mirror in the host's apt sources")


def host_ready():
    """Debootstrap and emulation of the other architectures on the host."""
    missing = [p for p in HOST_PACKAGES
               if subprocess.run(["dpkg", "-s", p], capture_output=True).returncode != 0]
    if missing:
        run(["apt-get", "update", "-q"])
        run(["apt-get", "install", "-y", "-q", "-o", "DPkg::Lock::Timeout=600", *missing],
            env={**os.environ, "DEBIAN_FRONTEND": "noninteractive"})
    binfmt = Path("/proc/sys/fs/binfmt_misc")
    if not (binfmt / "status").exists():
        run(["mount", "-t", "binfmt_misc", "binfmt_misc", binfmt])
    run(["update-binfmts", "--enable"], capture_output=True)


def mounts_under(root):
    root = str(Path(root).resolve())
    with open("/proc/mounts") as table:
        points = [line.split()[1].replace("\\040", " ") for line in table]
    return [p for p in points if p == root or p.startswith(root + "/")]


def remove(root):
    """Removes a chroot, unless something is still mounted in it."""
    if mounts_under(root):
        sys.exit(f"{root} still has mounts, not removing it: {mounts_under(root)}")
    shutil.rmtree(root)


def marker(root):
    return root / ".tessamir-chroot"


def recorded(root):
    """The [suite, architecture, packages] a chroot was made with, or None."""
    try:
        return json.loads(marker(root).read_text())
    except (OSError, ValueError):
        return None


def made(name):
    return recorded(CACHE / name) == list(CHROOTS[name])


@contextlib.contextmanager
def mounted(root):
    """/proc, /dev and /dev/shm mounted in the chroot for the time of the block;
    unmounted however it ends (SIGTERM and SIGINT included)."""
    root = Path(root)
    done = []

    def terminate(signum, frame):
        raise SystemExit(128 + signum)

    main = threading.current_thread() is threading.main_thread()
    previous = signal.signal(signal.SIGTERM, terminate) if main else None
    try:
        for kind, source, target in (("proc", "proc", "proc"), ("bind", "/dev", "dev"),
                                     ("tmpfs", "tmpfs", "dev/shm")):
            point = root / target
            point.mkdir(exist_ok=True)
            run(["mount", "--bind", source, point] if kind == "bind" else ["mount", "-t", kind, source, point])
            done.append(point)
        yield root
    finally:
        for point in reversed(done):
            if subprocess.run(["umount", point]).returncode != 0:
                subprocess.run(["umount", "-l", point])
        if main:
            signal.signal(signal.SIGTERM, previous)


APT_ENV = {"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "DEBIAN_FRONTEND": "noninteractive", "LANG": "C.UTF-8"}


def install(root, packages, output):
    with mounted(root):
        run(["chroot", root, "apt-get", "update", "-q"], stdout=output, stderr=subprocess.STDOUT, env=APT_ENV)
        run(["chroot", root, "apt-get", "install", "-y", "-q", "--no-install-recommends", *packages],
            stdout=output, stderr=subprocess.STDOUT, env=APT_ENV)
        run(["chroot", root, "apt-get", "clean"], env=APT_ENV)


def make(name):
    """Makes one chroot unless it is made; returns its folder. A chroot made
    with fewer packages gets the others installed."""
    root = CACHE / name
    suite, arch, packages = CHROOTS[name]
    if made(name):
        log(f"{name}: reused ({root})")
        return root
    start = time.monotonic()
    before = recorded(root)
    if before is not None and before[:2] == [suite, arch] and set(before[2]) <= set(packages):
        missing = [p for p in packages if p not in before[2]]
        log(f"{name}: installing {' '.join(missing)}")
        with open(CACHE / f"{name}.log", "a") as output:
            install(root, missing, output)
        marker(root).write_text(json.dumps([suite, arch, packages]))
        log(f"{name}: completed in {time.monotonic() - start:.0f} s")
        return root
    if root.exists():
        log(f"{name}: incomplete or different, made again")
        remove(root)
    root.parent.mkdir(parents=True, exist_ok=True)
    partial = root.with_name(root.name + ".partial")
    if partial.exists():
        remove(partial)
    log(f"{name}: debootstrap {suite} {arch}")
    with open(CACHE / f"{name}.log", "w") as output:
        run(["debootstrap", "--variant=minbase", f"--arch={arch}", "--include=ca-certificates",
             suite, partial, mirror()], stdout=output, stderr=subprocess.STDOUT)
        # The host's CA bundle, for pip; apt without the Release date checks.
        shutil.copy("/etc/ssl/certs/ca-certificates.crt", partial / "etc/ssl/certs/ca-certificates.crt")
        (partial / "etc/apt/apt.conf.d/99tessamir").write_text(
            'Acquire::Check-Valid-Until "false";\nAcquire::Check-Date "false";\n')
        install(partial, packages, output)
    marker(partial).write_text(json.dumps([suite, arch, packages]))
    partial.rename(root)
    log(f"{name}: made in {time.monotonic() - start:.0f} s, "
        f"{sum(f.stat().st_size for f in root.rglob('*') if f.is_file() and not f.is_symlink()) >> 20} MiB")
    return root


def make_all(names):
    """Makes the chroots missing, several at a time (mostly downloading)."""
    host_ready()
    # A termination ends the workers' commands and so unwinds their mounts.
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(128 + signum))
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        return dict(zip(names, pool.map(make, names)))


def copy_checkout(target):
    """The checkout's files (tracked and new, not ignored), without its
    builds, into a folder (inside a chroot) made afresh."""
    shutil.rmtree(target, ignore_errors=True)
    files = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                           cwd=ROOT, check=True, capture_output=True, text=True).stdout.split("\0")
    for name in filter(None, files):
        source = ROOT / name
        if source.is_file():
            (target / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target / name)
    return target


def inside(root, command, env=None, **kwargs):
    """Runs a command in a mounted chroot; returns its exit status."""
    base = {"PATH": "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin", "LANG": "C.UTF-8",
            "HOME": "/root", "TMPDIR": "/tmp"}
    print("+ [chroot]", " ".join(map(str, command)), flush=True)
    return subprocess.run(["chroot", str(root), *map(str, command)], env={**base, **(env or {})},
                          **kwargs).returncode


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("action", choices=["make", "list"])
    parser.add_argument("names", nargs="*", metavar="NAME")
    options = parser.parse_args()
    if unknown := set(options.names) - set(CHROOTS):
        parser.error(f"unknown: {' '.join(sorted(unknown))}; known: {' '.join(CHROOTS)}")
    if options.action == "list":
        for name in CHROOTS:
            print(f"{name:16} {'made' if made(name) else 'missing'}  {CACHE / name}")
    else:
        make_all(options.names or list(CHROOTS))

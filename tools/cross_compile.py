"""Builds the module for the platforms this Linux machine cannot run, with zig's
C++ compiler (the PyPI package ziglang), and checks what it exports.

    python tools/cross_compile.py [TARGET ...]    (default: all of TARGETS)
    python tools/cross_compile.py --sysroot ROOT LINUX_TARGET

Every translation unit under src/ is compiled with the compiler's default
limits and the warning flags of cmake/TessamirExtension.cmake, against the
headers of the limited API 3.11 of the running interpreter. Each module is then
linked with nothing but the interpreter and the C library (it needs no C++
runtime library), and it must export PyInit_tessamir alone. The results are
left in build/cross/TARGET; LLVM's object tools (llvm-objdump, llvm-nm,
llvm-readobj) read them.

macOS: Python.h adjusts the sizes of this machine's pyconfig.h for the Mach-O
target itself (pymacconfig.h). The module is linked as a dylib whose
interpreter symbols are looked up when it is loaded (-undefined
dynamic_lookup), as a Python on macOS loads it; each symbol left to that lookup
must be one of the interpreter's. zig crashes on -bundle (what CMake links) and
ignores an exported-symbols list, so here hidden visibility alone keeps the
exports to the init function; its linker also exports two symbols of its own
making, __mh_dylib_header and ___dso_handle, which are set aside.

Linux on other architectures (aarch64-linux, s390x-linux, x86-linux): the
headers are those of the target's own Debian system, a chroot given as
--sysroot (its python3-dev), with the pyconfig.h of the target's multiarch
folder in place of Debian's dispatching one. The module is linked against the
C library at most, with the version script of the CMake build, and must export
PyInit_tessamir alone and need no library but the C library; .ci/
architectures.py runs the tests on it in that chroot.

Windows (x86_64-windows: the MinGW ABI): a Linux pyconfig.h is wrong there
(long is 32 bits, the interpreter's functions are imported from a DLL), and
no package on PyPI is known to ship the headers of a Windows build. So they
are copied with a pyconfig.h of this script's own: the few settings of a
64-bit Windows build that the limited API's headers read. The module is linked
against an import library of the stable ABI's DLL, python3.dll, made by zig's
dlltool from the interpreter symbols the objects refer to.
"""

import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys
import sysconfig
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tools"))
import pe_exports  # noqa: E402

TARGETS = ["aarch64-macos", "x86_64-macos", "x86_64-windows"]
# Linux targets, built against a chroot's headers: zig's target and Debian's
# multiarch name.
LINUX = {"aarch64-linux": ("aarch64-linux-gnu", "aarch64-linux-gnu"),
         "s390x-linux": ("s390x-linux-gnu", "s390x-linux-gnu"),
         "x86-linux": ("x86-linux-gnu", "i386-linux-gnu")}

# The module's flags for GCC and Clang (cmake/TessamirExtension.cmake) and
# those of a CMake release build of an abi3 module.
FLAGS = ["-std=c++20", "-Wall", "-Wextra", "-Werror", "-fno-exceptions", "-fno-rtti",
         "-fvisibility=hidden", "-fvisibility-inlines-hidden", "-O3", "-DNDEBUG",
         "-DPy_LIMITED_API=0x030B0000"]

WINDOWS_PYCONFIG = """\
/* The settings of a 64-bit Windows build of CPython that the headers of the
   limited API read, for compiling an extension module (not the interpreter). */
#ifndef Py_CONFIG_H
#define Py_CONFIG_H
#define MS_WIN32
#define MS_WIN64
#define MS_WINDOWS
#define NT_THREADS
#define WITH_THREAD
/* The interpreter's functions and data come from a DLL: dllimport. */
#define Py_ENABLE_SHARED 1
#define HAVE_DECLSPEC_DLL
#ifdef _DEBUG
#  define Py_DEBUG
#endif
/* LLP64. */
#define SIZEOF_SHORT 2
#define SIZEOF_INT 4
#define SIZEOF_LONG 4
#define SIZEOF_LONG_LONG 8
#define SIZEOF_VOID_P 8
#define SIZEOF_SIZE_T 8
#define SIZEOF_TIME_T 8
#define SIZEOF_WCHAR_T 2
#define SIZEOF_FLOAT 4
#define SIZEOF_DOUBLE 8
#define SIZEOF_FPOS_T 8
#define SIZEOF_OFF_T 4
#define SIZEOF__BOOL 1
#define ALIGNOF_SIZE_T 8
#define ALIGNOF_LONG 4
typedef long long Py_ssize_t;
#define HAVE_PY_SSIZE_T 1
#define DOUBLE_IS_LITTLE_ENDIAN_IEEE754 1
#endif
"""

# The module needs nothing of the interpreter's process but the interpreter
# and the C library: no C++ runtime library is linked (which also spares
# building zig's libc++ for each target).
LINK = ["-shared", "-nostdlib++"]

# The symbols zig's Mach-O linker adds to the exports of every dylib.
ZIG_MACHO_EXPORTS = {"__mh_dylib_header", "___dso_handle"}


def zig(*args, **kwargs):
    return subprocess.run([sys.executable, "-m", "ziglang", *map(str, args)], **kwargs)


def llvm(tool):
    """An LLVM tool by its plain name, or the newest versioned one installed."""
    found = shutil.which(tool)
    if not found:
        versioned = sorted(Path("/usr/lib").glob(f"llvm-*/bin/{tool}"),
                           key=lambda path: int(path.parts[-3].split("-")[1]))
        found = str(versioned[-1]) if versioned else None
    if not found:
        sys.exit(f"{tool} is missing: install LLVM (apt-get install llvm)")
    return found


def headers(target, out, sysroot=None):
    """The include folder for a target: the interpreter's own, or a copy with a
    Windows pyconfig.h or the Linux target's own (Python.h includes pyconfig.h
    from its own folder)."""
    include = Path(sysconfig.get_paths()["include"])
    if target in LINUX:
        [include] = sorted((sysroot / "usr/include").glob("python3.*[0-9]"))
        pyconfig = (sysroot / "usr/include" / LINUX[target][1] / include.name / "pyconfig.h").read_text()
    elif "windows" in target:
        pyconfig = WINDOWS_PYCONFIG
    else:
        return include
    copy = out / "include"
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(include, copy)
    (copy / "pyconfig.h").write_text(pyconfig)
    return copy


def compile_units(target, out, include):
    """Compiles every translation unit; returns the objects, or None after
    printing the failures."""
    sources = sorted((ROOT / "src").rglob("*.cpp"))
    objects = [out / (str(source.relative_to(ROOT / "src")).replace(os.sep, "-") + ".o")
               for source in sources]

    def build(source, obj):
        start = time.monotonic()
        # The interpreter's headers as CMake passes them on Linux: as system
        # headers, whose pyconfig.h may restate the C library's feature macros.
        headers = ["-isystem" if target in LINUX else "-I", include]
        result = zig("c++", "-target", LINUX.get(target, (target,))[0], *FLAGS, *headers,
                     "-c", source, "-o", obj, capture_output=True, text=True)
        return source, result, time.monotonic() - start

    failed = False
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        for source, result, seconds in pool.map(build, sources, objects):
            name = source.relative_to(ROOT)
            print(f"  {name}: {'ok' if result.returncode == 0 else 'FAILED'} ({seconds:.1f} s)")
            if result.returncode != 0:
                failed = True
                errors = [line for line in result.stderr.splitlines() if "error:" in line]
                print("\n".join(errors[:10]), file=sys.stderr)
    return None if failed else objects


def link_macos(target, out, objects):
    module = out / "tessamir.abi3.so"
    zig("c++", "-target", target, *LINK, "-undefined", "dynamic_lookup", "-Wl,-dead_strip",
        *objects, "-o", module, check=True)

    def lines(*options):
        return subprocess.run([llvm("llvm-objdump"), "--macho", *options, module],
                              check=True, capture_output=True, text=True).stdout.splitlines()[1:]

    exported = [line.split()[-1] for line in lines("--exports-trie") if line.startswith("0x")]
    exported = [name for name in exported if name not in ZIG_MACHO_EXPORTS]
    # The symbols bound in the loading process (flat namespace) must all be the
    # interpreter's; the only library the module names is the system's.
    looked_up = {line.split()[-1] for line in lines("--bind", "--lazy-bind", "--weak-bind")
                 if "flat-namespace" in line.split()}
    foreign = sorted(name for name in looked_up if not name.startswith(("_Py", "__Py")))
    own = lines("--dylib-id")  # a dylib names itself first
    libraries = [line.split()[0] for line in lines("--dylibs-used")[len(own):]]
    problems = []
    if exported != ["_PyInit_tessamir"]:
        problems.append(f"exports {exported}")
    if not looked_up or foreign:
        problems.append(f"symbols left to the interpreter that are not its own: {foreign or 'none at all'}")
    if libraries != ["/usr/lib/libSystem.B.dylib"]:
        problems.append(f"links {libraries}")
    return module, problems


def link_linux(target, out, objects):
    module = out / "tessamir.abi3.so"
    script = out / "tessamir.map"
    script.write_text("{\n  global: PyInit_tessamir;\n  local: *;\n};\n")
    zig("c++", "-target", LINUX[target][0], *LINK, f"-Wl,--version-script={script}", "-Wl,--gc-sections",
        *objects, "-o", module, check=True)

    def read(*options):
        return subprocess.run([llvm("llvm-readobj"), *options, module],
                              check=True, capture_output=True, text=True).stdout

    exported = subprocess.run([llvm("llvm-nm"), "-D", "--defined-only", "-j", module],
                              check=True, capture_output=True, text=True).stdout.split()
    listing = [line.strip() for line in read("--needed-libs").splitlines()]
    needed = listing[listing.index("NeededLibraries [") + 1:listing.index("]")]
    problems = []
    if exported != ["PyInit_tessamir"]:
        problems.append(f"exports {exported}")
    if set(needed) - {"libc.so.6"}:  # (none at all where the compiler inlines the C library's calls)
        problems.append(f"needs {needed}")
    return module, problems


def link_windows(target, out, objects):
    imported = set()
    for obj in objects:
        undefined = subprocess.run([llvm("llvm-nm"), "-u", "-j", obj],
                                   check=True, capture_output=True, text=True).stdout.split()
        imported.update(name.removeprefix("__imp_") for name in undefined
                        if name.startswith("__imp_"))
    definitions = out / "python3.def"
    definitions.write_text("LIBRARY python3.dll\nEXPORTS\n" + "".join(f"    {name}\n"
                                                                      for name in sorted(imported)))
    library = out / "python3.lib"
    zig("dlltool", "-d", definitions, "-l", library, "-m", "i386:x86-64", check=True)
    module = out / "tessamir.pyd"
    zig("c++", "-target", target, *LINK, "-Wl,--gc-sections", *objects, library, "-o", module,
        check=True)
    exported = pe_exports.exports(module)
    readobj = subprocess.run([llvm("llvm-readobj"), "--coff-exports", module],
                             check=True, capture_output=True, text=True).stdout
    named = [line.split(":", 1)[1].strip() for line in readobj.splitlines()
             if line.strip().startswith("Name:")]
    problems = []
    if exported != ["PyInit_tessamir"]:
        problems.append(f"exports {exported}")
    if named != exported:
        problems.append(f"llvm-readobj reads the exports as {named}, pe_exports as {exported}")
    foreign = sorted(name for name in imported if not name.startswith(("Py", "_Py")))
    if not imported or foreign:
        problems.append(f"imports from python3.dll that are not the interpreter's: {foreign or 'none at all'}")
    # The interpreter's DLL, the system's and the C library's (the UCRT).
    headers = subprocess.run([llvm("llvm-objdump"), "-p", module],
                             check=True, capture_output=True, text=True).stdout
    dlls = {line.split(":", 1)[1].strip() for line in headers.splitlines() if "DLL Name:" in line}
    others = sorted(dll for dll in dlls
                    if dll != "python3.dll" and not dll.lower().startswith(("kernel32.", "api-ms-win-crt-")))
    if "python3.dll" not in dlls or others:
        problems.append(f"imports from {sorted(dlls)}")
    return module, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("targets", nargs="*", metavar="TARGET", help=", ".join([*TARGETS, *LINUX]))
    parser.add_argument("--sysroot", type=Path, help="the Debian system whose headers a Linux target uses")
    options = parser.parse_args()
    targets = options.targets or TARGETS
    if unknown := set(targets) - set(TARGETS) - set(LINUX):
        parser.error(f"unknown targets: {', '.join(sorted(unknown))}")
    if options.sysroot is None and set(targets) & set(LINUX):
        parser.error("a Linux target needs --sysroot")
    version = zig("version", check=True, capture_output=True, text=True).stdout.strip()
    print(f"zig {version}, headers of Python {sysconfig.get_python_version()}")
    failed = []
    for target in targets:
        start = time.monotonic()
        out = ROOT / "build" / "cross" / target
        out.mkdir(parents=True, exist_ok=True)
        print(f"{target}:")
        objects = compile_units(target, out, headers(target, out, options.sysroot))
        if objects is None:
            failed.append(target)
            continue
        link = link_linux if target in LINUX else link_windows if "windows" in target else link_macos
        module, problems = link(target, out, objects)
        for problem in problems:
            print(f"  {module.name}: {problem}", file=sys.stderr)
        if problems:
            failed.append(target)
        else:
            print(f"  {module.relative_to(ROOT)}: exports PyInit_tessamir alone")
        print(f"  {time.monotonic() - start:.0f} s")
    if failed:
        sys.exit(f"cross-compilation failed for {', '.join(failed)}")
    print(f"cross-compiled for {', '.join(targets)}")


if __name__ == "__main__":
    main()

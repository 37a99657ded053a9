"""Side-by-side timings of tessamir against its floors, Python's enum and the
usual peer libraries, printed as ratios; then instruction counts (callgrind).

    pip install . -r bench/requirements.txt && python bench/bench.py

Absolute times depend on the machine; the ratios of operations measured in
the same run are what this reports. Every ratio of a section goes one way,
named in the section's heading: "ours / floor" (lower is better, 1 is the
floor) or "peer / ours" (how many times faster we are). Each time is the best
of many short repeats of timeit's loop, the two sides of a ratio timed
alternately, so that load hits both alike and noise can only make a figure
worse. `--load N` runs N busy loops beside the benchmark (a loaded machine).
"""

from __future__ import annotations

import argparse
import enum
import gc
import os
import platform
import statistics
import subprocess
import sys
import time
import timeit
from pathlib import Path

import tessamir
from tessamir import Country, Currency, Exchange, Industry, IndustryGroup, Sector, SubIndustry

sys.path.insert(0, str(Path(__file__).resolve().parent))
import instructions  # noqa: E402

# Many short samples, alternating between the two sides: on a shared machine
# the speed of a core changes from one moment to the next, and the best of
# many short samples finds both sides at their fastest.
REPEAT = 41
NUMBER = 20_000

SPACE = {name: getattr(tessamir, name) for name in tessamir.__all__}
SPACE.update(m=Currency.USD, n=Currency.EUR, c=Country.GB, x=Exchange.XNYS, s=Sector.Financials,
             g=IndustryGroup.Banks, i=Industry.Banks, u=SubIndustry.RegionalBanks, t=(1, 2), o=object(),
             z=slice(1), text="GB")


def text_of(member) -> str:
    return repr(member)[len(type(member).__name__) + 1:-1]


def pair(stmt, other, number=NUMBER, namespace=None, other_number=None):
    """Best times of `stmt` and `other`, in nanoseconds, timed alternately."""
    timers = [timeit.Timer(s, globals=namespace or SPACE) for s in (stmt, other)]
    numbers = (number, other_number or number)
    best = [float("inf"), float("inf")]
    gc.disable()
    try:
        for _ in range(REPEAT):
            for k in (0, 1):
                best[k] = min(best[k], timers[k].timeit(numbers[k]) / numbers[k] * 1e9)
    finally:
        gc.enable()
    return best


class Section:
    """A table whose ratios all go one way: `ours / floor` or `peer / ours`."""

    def __init__(self, title, direction, unit="ns"):
        self.title, self.direction, self.unit = title, direction, unit
        self.rows = []

    def add(self, what, ours, other, target=None):
        if self.direction == "ours / floor":
            ratio = ours / other
            verdict = "" if target is None else f"≤ {target:g}: {'met' if ratio <= target else 'NOT met'}"
        else:
            ratio = other / ours
            verdict = "" if target is None else f"≥ {target:g}: {'met' if ratio >= target else 'NOT met'}"
        self.rows.append((what, ours, other, ratio, verdict))
        return ratio

    def time(self, what, ours, other, target=None, **kw):
        return self.add(what, *pair(ours, other, **kw), target)

    def print(self):
        other = "floor" if self.direction == "ours / floor" else "peer"
        if self.direction == "last / first":
            other = "first"
        print(f"\n{self.title} (ratio = {self.direction})")
        print(f"   {'what':<62} {'ours ' + self.unit:>10} {other + ' ' + self.unit:>10} {'ratio':>6}  target")
        for what, ours, theirs, ratio, verdict in self.rows:
            print(f"   {what:<62} {ours:10.1f} {theirs:10.1f} {ratio:6.2f}  {verdict}")


def size_independence():
    section = Section("a. constructor, last member against first", "last / first")
    cases = [(cls, None) for cls in (Country, Currency, Exchange, Sector, IndustryGroup, Industry, SubIndustry)]
    cases += [(Currency, ("GBP", "GBp")), (Currency, ("EUR", "EUr")), (Currency, ("USD", "USd"))]
    for cls, texts in cases:
        members = cls.members()
        first, last = texts or (text_of(members[0]), text_of(members[-1]))
        space = {"C": cls, "a": first, "b": last}
        ours, other = pair("C(b)", "C(a)", namespace=space)
        section.rows.append((f"{cls.__name__}({last!r}) / ({first!r})", ours, other, ours / other,
                             f"≤ 1.05: {'met' if ours / other <= 1.05 else 'NOT met'}"))
    return section


# The accessors and their floors: a C slot or method that hands back an
# existing object (or a cached small int).
ACCESSORS = [
    ("str(m)", 'str("USD")'),
    ("str(c)", 'str("United Kingdom")'),
    ("repr(m)", "repr(None)"),
    ("c.name", "z.start"),
    ("c.flag", "z.start"),
    ("c.code3", "z.start"),
    ("m.name", "z.start"),
    ("x.country()", "o.__sizeof__()"),
    ("g.sector()", "o.__sizeof__()"),
    ("i.industry_group()", "o.__sizeof__()"),
    ("u.industry()", "o.__sizeof__()"),
]
CHILD_LISTS = [("s.industry_groups()", 3), ("g.industries()", 3), ("i.subindustries()", 5)]


def floors():
    section = Section("b. against the floor", "ours / floor")
    for name in tessamir.__all__:
        text = text_of(getattr(tessamir, name).members()[-1])
        section.time(f"{name}({text!r}) / slice({text!r})", f"{name}({text!r})", f"slice({text!r})", 1.10)
    section.time("Country.members() / list(range(1000, 1250))", "Country.members()", "list(range(1000, 1250))",
                 1.2, number=500)
    for stmt, count in CHILD_LISTS:
        floor = f"list(range(1000, {1000 + count}))"
        section.time(f"{stmt} ({count} members) / {floor}", stmt, floor, 1.2)
    for stmt, floor in ACCESSORS:
        section.time(f"{stmt} / {floor}", stmt, floor, 1.15)
    for stmt, floor in [("Currency.USD", "t.count"), ("m == n", "t == t"), ("m < n", "t < t"),
                        ("len(m)", "len(t)")]:
        section.time(f"{stmt} / {floor}", stmt, floor)
    return section


def peers():
    section = Section("c. against the peers", "peer / ours")
    codes = [c.code for c in Currency.members()]
    Peer = enum.Enum("Peer", [(code, code) for code in codes])
    space = {"Currency": Currency, "Peer": Peer, "m": Currency.USD, "e": Peer.USD, "n": Currency.EUR,
             "f": Peer.EUR}
    section.time('enum.Enum: Peer("USD") / Currency("USD")', 'Currency("USD")', 'Peer("USD")', 6.5,
                 namespace=space)
    section.time("enum.Enum: str(member)", "str(m)", "str(e)", namespace=space)
    section.time("enum.Enum: member == other", "m == n", "e == f", namespace=space)
    section.time("enum.Enum: class attribute", "Currency.USD", "Peer.USD", namespace=space)
    section.time("enum.Enum: list(Peer) / Currency.members()", "Currency.members()", "list(Peer)",
                 namespace=space, number=500)
    try:
        import iso3166
        import iso4217
        import pycountry
    except ImportError as missing:
        print(f"peer libraries missing ({missing.name}): pip install -r bench/requirements.txt")
        return section
    pycountry.countries.get(alpha_2="US")  # let it load its data first
    pycountry.currencies.get(alpha_3="USD")
    space = {"Country": Country, "Currency": Currency, "pycountry": pycountry, "iso3166": iso3166,
             "iso4217": iso4217}
    for ours, theirs, number, target in [
        ('Country("US")', 'pycountry.countries.get(alpha_2="US")', 4_000, 9),
        ('Currency("USD")', 'pycountry.currencies.get(alpha_3="USD")', 4_000, 9),
        ('Country("US")', 'iso3166.countries.get("US")', 20_000, None),
        ('Currency("USD")', 'iso4217.Currency("USD")', 20_000, None),
    ]:
        section.time(f"{theirs} / {ours}", ours, theirs, target, namespace=space, other_number=number)
    # What no constructor can beat: a C type called with one str that
    # allocates a small object (from its one-object cache).
    for theirs, number in [('pycountry.countries.get(alpha_2="US")', 4_000),
                           ('pycountry.currencies.get(alpha_3="USD")', 4_000)]:
        section.time(f"{theirs} / slice('US') (the floor's own margin)", 'slice("US")', theirs,
                     namespace=space, other_number=number)
    return section


def process_ms(code, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([sys.executable, "-c", code], check=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1e3


def import_time(runs):
    section = Section("d. whole processes, median", "ours / floor", unit="ms")
    ours, bare = [], []
    for _ in range(runs):  # interleaved, so that drifting load hits both alike
        bare.append(process_ms("pass", 1))
        ours.append(process_ms("import tessamir", 1))
    section.add('python -c "import tessamir" / python -c "pass"', statistics.median(ours), statistics.median(bare),
                1.08)
    sections = [section]
    try:
        import pycountry  # noqa: F401
    except ImportError:
        return sections
    peer_section = Section("d. whole processes against a peer, median", "peer / ours", unit="ms")
    first = 'import tessamir; tessamir.Country("US").name'
    peer = 'import pycountry; pycountry.countries.get(alpha_2="US").name'
    peer_section.add("import and first lookup: pycountry / tessamir", process_ms(first, max(5, runs // 4)),
                     process_ms(peer, max(5, runs // 4)))
    return sections + [peer_section]


def memory():
    print("\ne. memory")
    for name in ("Side", "Currency", "Country", "Exchange", "SubIndustry"):
        member = getattr(tessamir, name).members()[0]
        print(f"   sys.getsizeof({name} member) = {sys.getsizeof(member)} bytes")
    probe = "import resource{}; print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)"

    def median_of(code):
        return statistics.median(int(subprocess.run([sys.executable, "-c", code], check=True, capture_output=True,
                                                    text=True).stdout) for _ in range(9))

    bare, ours = median_of(probe.format("")), median_of(probe.format(", tessamir"))
    print(f"   peak RSS: python -c 'pass' {bare} KiB, with the import {ours} KiB: +{ours - bare} KiB (median of 9)")
    resident = ("import re; rss = lambda: int(re.search(r'VmRSS:\\s+(\\d+)', open('/proc/self/status').read())[1]);"
                " before = rss(); import tessamir; print(rss() - before)")
    print(f"   resident set growth across the import: +{median_of(resident)} KiB (median of 9)")


def instruction_counts(every_class):
    section = Section("f. instructions per call (callgrind; timeit's loop less the empty loop)", "ours / floor",
                      unit="ins")
    names = tessamir.__all__ if every_class else ["Side", "Currency", "Country", "Exchange", "SubIndustry"]
    slices = {}
    for name in names:
        text = text_of(getattr(tessamir, name).members()[-1])
        if text not in slices:
            slices[text] = instructions.per_call(f"slice({text!r})")
        section.add(f"{name}({text!r}) / slice({text!r})", instructions.per_call(f"{name}({text!r})"),
                    slices[text], 1.05)
    setup = instructions.SETUP + "".join(f"{k} = {v}\n" for k, v in [
        ("m", "Currency.USD"), ("c", "Country.GB"), ("x", "Exchange.XNYS"), ("s", "Sector.Financials"),
        ("g", "IndustryGroup.Banks"), ("i", "Industry.Banks"), ("u", "SubIndustry.RegionalBanks"),
        ("o", "object()"), ("z", "slice(1)")])
    section.add("Country.members() / list(range(1000, 1250))",
                instructions.per_call("Country.members()", setup, 2_000),
                instructions.per_call("list(range(1000, 1250))", setup, 2_000), 1.2)
    for stmt, floor in ACCESSORS:
        section.add(f"{stmt} / {floor}", instructions.per_call(stmt, setup), instructions.per_call(floor, setup),
                    1.15)
    return section, setup


# What each operation pays for the rule that every call returns a new object:
# allocation through the class's allocation slot and release through its free
# slot (the interpreter's generic allocator, with its slot lookups, zeroing and
# reference set-up), or making and releasing a new str from constant text.
MEMBER_ALLOCATION = ("PyType_GenericAlloc", "PyType_GetSlot", "_PyObject_Malloc", "PyObject_Malloc",
                     "_PyObject_Free", "PyObject_Free", "_Py_NewReference", "tessamir::detail::dealloc")
NEW_STR = ("PyUnicode_DecodeASCII", "PyUnicode_FromStringAndSize", "PyUnicode_DecodeUTF8Stateful",
           "unicode_decode_utf8", "PyUnicode_New", "ascii_decode", "unicode_dealloc", "_PyObject_Malloc",
           "PyObject_Malloc", "_PyObject_Free", "PyObject_Free", "_Py_NewReference")


def new_object_share(setup):
    print("\nh. what the new object of each call costs (callgrind, by function; ratios = ours / floor)")
    print(f"   {'what':<20} {'floor':<24} {'ours':>6} {'floor':>6} {'ratio':>6}  {'new object: ours':>16}"
          f" {'floor':>6} {'share':>6}  {'the rest':>8}")

    def spent(functions, kind):
        return sum(cost for name, cost in functions.items()
                   if name in kind or name.startswith(("__memset", "__memcpy", "__memmove")))

    for stmt, floor, kind, n in [
        ('Currency("ZWL")', 'slice("ZWL")', MEMBER_ALLOCATION, 20_000),
        ("u.industry()", "o.__sizeof__()", MEMBER_ALLOCATION, 20_000),
        ("Country.members()", "list(range(1000, 1250))", MEMBER_ALLOCATION, 2_000),
        ("str(m)", 'str("USD")', NEW_STR, 20_000),
        ("repr(m)", "repr(None)", NEW_STR, 20_000),
        ("c.name", "z.start", NEW_STR, 20_000),
        ("c.flag", "z.start", NEW_STR, 20_000),
        ("m.name", "z.start", NEW_STR, 20_000),
    ]:
        ours, other = instructions.per_call(stmt, setup, n), instructions.per_call(floor, setup, n)
        ours_new = spent(instructions.per_function(stmt, setup, n), kind)
        floor_new = spent(instructions.per_function(floor, setup, n), kind)
        print(f"   {stmt:<20} {floor:<24} {ours:6.0f} {other:6.0f} {ours / other:6.2f}  {ours_new:16.0f}"
              f" {floor_new:6.0f} {ours_new / ours:6.0%}  {(ours - ours_new) / (other - floor_new):8.2f}")


def constructor_spread():
    print("\ng. a constructor call for every text each class accepts (callgrind, inside the interpreter's"
          "\n   type call: argument checks, hashing, probing, comparing, allocating)")
    print(f"   {'class':<20} {'texts':>5} {'fewest':>7} {'most':>6} {'most / fewest':>14} {'texts above fewest':>19}")
    for name in tessamir.__all__:
        counts = instructions.constructor_spread(name)
        above = sum(count > min(counts) for count in counts)
        print(f"   {name:<20} {len(counts):5d} {min(counts):7d} {max(counts):6d} {max(counts) / min(counts):14.2f}"
              f" {above:19d}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--import-runs", type=int, default=60)
    parser.add_argument("--load", type=int, default=0, metavar="N", help="run N busy loops beside the benchmark")
    parser.add_argument("--no-callgrind", action="store_true", help="skip the instruction counts")
    args = parser.parse_args()
    load = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(args.load)]
    try:
        print(f"machine: {platform.machine()}, {os.cpu_count()} cores, {platform.platform()}")
        print(f"python: {sys.version.split()[0]} ({platform.python_implementation()})")
        print(f"date: {time.strftime('%Y-%m-%d %H:%M')}; load: {args.load} busy loop(s) beside the benchmark,"
              f" load average {os.getloadavg()[0]:.1f}")
        for section in (size_independence(), floors(), peers(), *import_time(args.import_runs)):
            section.print()
        memory()
    finally:
        for process in load:
            process.kill()
            process.wait()
    if args.no_callgrind:
        return
    if not instructions.available():
        print("\nvalgrind missing: no instruction counts")
        return
    section, setup = instruction_counts(every_class=True)
    section.print()
    new_object_share(setup)
    constructor_spread()


if __name__ == "__main__":
    main()

"""Side-by-side timings of tessamir against the rules' floor (bench/floor.c:
the least the rules of the classes allow, built into a temporary folder),
against the interpreter's own objects, Python's enum and the usual peer
libraries, printed as ratios; then instruction counts (callgrind).

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
import tempfile
import time
import timeit
from pathlib import Path

import tessamir
from tessamir import Country, Currency

sys.path.insert(0, str(Path(__file__).resolve().parent))
import floor  # noqa: E402
import instructions  # noqa: E402

# Many short samples, alternating between the two sides: on a shared machine
# the speed of a core changes from one moment to the next, and the best of
# many short samples finds both sides at their fastest.
REPEAT = 41
NUMBER = 20_000

# The namespace of the timed statements: floor.setup's names (the classes, the
# members of floor.MEMBERS, the floor's class and members), filled in main().
SPACE = {"t": (1, 2)}


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
        print(f"\n{self.title} (ratio = {self.direction})")
        print(f"   {'what':<62} {'ours ' + self.unit:>10} {other + ' ' + self.unit:>10} {'ratio':>6}  target")
        for what, ours, theirs, ratio, verdict in self.rows:
            print(f"   {what:<62} {ours:10.1f} {theirs:10.1f} {ratio:6.2f}  {verdict}")


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


def against_floor():
    section = Section("a. against the rules' floor", "ours / floor")
    for stmt, other, n, budget in floor.pairs():
        section.time(f"{stmt} / {other}", stmt, other, budget, number=n)
    return section


def context():
    section = Section("b. context: against the interpreter's own objects, which keep no rules", "ours / floor")
    for name, text in floor.constructor_texts():
        section.time(f"{name}({text!r}) / slice({text!r})", f"{name}({text!r})", f"slice({text!r})")
    section.time("Country.members() / list(range(1000, 1250))", "Country.members()", "list(range(1000, 1250))",
                 number=500)
    for stmt, count in CHILD_LISTS:
        other = f"list(range(1000, {1000 + count}))"
        section.time(f"{stmt} ({count} members) / {other}", stmt, other)
    for stmt, other in ACCESSORS + [("Currency.USD", "t.count"), ("m == n", "t == t"), ("m < n", "t < t"),
                                    ("len(m)", "len(t)")]:
        section.time(f"{stmt} / {other}", stmt, other)
    return section


def peers():
    section = Section("c. against the peers", "peer / ours")
    codes = [c.code for c in Currency.members()]
    Peer = enum.Enum("Peer", [(code, code) for code in codes])
    space = {"Currency": Currency, "Peer": Peer, "m": Currency.USD, "e": Peer.USD, "n": Currency.EUR,
             "f": Peer.EUR}
    section.time('enum.Enum: Peer("USD") / Currency("USD")', 'Currency("USD")', 'Peer("USD")', namespace=space)
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
    for ours, theirs, number in [
        ('Country("US")', 'pycountry.countries.get(alpha_2="US")', 4_000),
        ('Currency("USD")', 'pycountry.currencies.get(alpha_3="USD")', 4_000),
        ('Country("US")', 'iso3166.countries.get("US")', 20_000),
        ('Currency("USD")', 'iso4217.Currency("USD")', 20_000),
    ]:
        section.time(f"{theirs} / {ours}", ours, theirs, namespace=space, other_number=number)
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


def instruction_counts(setup):
    section = Section("f. instructions per call against the rules' floor (callgrind; timeit's loop less the empty"
                      " loop)", "ours / floor", unit="ins")
    for stmt, other, n, budget in floor.pairs():
        section.add(f"{stmt} / {other}", instructions.per_call(stmt, setup, n), instructions.per_call(other, setup, n),
                    budget)
    return section


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
    folder = tempfile.TemporaryDirectory()
    setup = floor.setup(floor.build(folder.name))
    exec(setup, SPACE)
    try:
        print(f"machine: {platform.machine()}, {os.cpu_count()} cores, {platform.platform()}")
        print(f"python: {sys.version.split()[0]} ({platform.python_implementation()})")
        print(f"date: {time.strftime('%Y-%m-%d %H:%M')}; load: {args.load} busy loop(s) beside the benchmark,"
              f" load average {os.getloadavg()[0]:.1f}")
        for section in (against_floor(), context(), peers(), *import_time(args.import_runs)):
            section.print()
        memory()
    finally:
        for process in load:
            process.kill()
            process.wait()
    with folder:
        if args.no_callgrind:
            return
        if not instructions.available():
            print("\nvalgrind missing: no instruction counts")
            return
        instruction_counts(setup).print()
        constructor_spread()


if __name__ == "__main__":
    main()

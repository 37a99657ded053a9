"""Side-by-side timings of tessamir against Python's enum, the usual peers and
the interpreter's floor, printed as ratios.

    pip install . -r bench/requirements.txt && python bench/bench.py

Absolute times depend on the machine; the ratios of operations measured in
the same run are what this reports. Each figure is the best of several
repeats of a timed loop, so scheduling noise can only make a figure worse.
"""

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

import tessamir
from tessamir import Country, Currency, Exchange, Industry, IndustryGroup, Sector, Side, SubIndustry

REPEAT = 11


def ns(stmt, number=200_000, namespace=None):
    """Best time of one execution of `stmt`, in nanoseconds."""
    return pair(stmt, "pass", number, namespace)[0]


def pair(stmt, other, number=200_000, namespace=None, other_number=None):
    """Best times of `stmt` and `other`, in nanoseconds, timed alternately so
    that a change in machine load hits both alike."""
    timers = [timeit.Timer(s, globals=namespace or globals()) for s in (stmt, other)]
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


rows = []


def row(section, what, ours, other=None, target=None, better="lower", namespace=None, number=200_000,
        other_number=None):
    """One table row: our time, the other time and their ratio. Given
    statements rather than times, times them side by side."""
    if isinstance(ours, str):
        ours, other = pair(ours, other, number, namespace, other_number)
    ratio = ours / other if better == "lower" else other / ours
    verdict = ""
    if target is not None:
        met = ratio <= target if better == "lower" else ratio >= target
        sign = "≤" if better == "lower" else "≥"
        verdict = f"{sign} {target:g}: {'met' if met else 'NOT met'}"
    rows.append((section, what, ours, other, ratio, verdict))


def first_last(cls):
    members = cls.members()
    return repr(members[0])[len(cls.__name__) + 1:-1], repr(members[-1])[len(cls.__name__) + 1:-1]


def size_independence():
    section = "a. last/first member"
    cases = [(Side, None), (Currency, ("AED", "ZWL")), (Country, ("AF", "XX")), (Exchange, None),
             (Sector, None), (IndustryGroup, None), (Industry, None), (SubIndustry, None),
             (Currency, ("GBP", "GBp")), (Currency, ("EUR", "EUr")), (Currency, ("USD", "USd"))]
    for cls, texts in cases:
        first, last = texts or first_last(cls)
        row(section, f"{cls.__name__}({last!r}) / ({first!r})", "C(b)", "C(a)", 1.05,
            namespace={"C": cls, "a": first, "b": last})


def against_enum():
    section = "b. vs enum.Enum"
    codes = [c.code for c in Currency.members()]
    Peer = enum.Enum("Peer", [(code, code) for code in codes])
    space = {"Currency": Currency, "Peer": Peer, "m": Currency.USD, "e": Peer.USD, "n": Currency.EUR,
             "f": Peer.EUR}
    row(section, 'Peer("USD") / Currency("USD")', 'Currency("USD")', 'Peer("USD")', 5, "higher", space)
    row(section, "str(member)", "str(m)", "str(e)", namespace=space)
    row(section, "member == other", "m == n", "e == f", namespace=space)
    row(section, "class attribute", "Currency.USD", "Peer.USD", namespace=space)
    row(section, "Currency.members() vs list(Peer)", "Currency.members()", "list(Peer)", namespace=space,
        number=20_000)


def against_peers():
    try:
        import iso3166
        import iso4217
        import pycountry
    except ImportError as missing:
        print(f"peer libraries missing ({missing.name}): pip install -r bench/requirements.txt")
        return
    section = "c. vs peer libraries"
    pycountry.countries.get(alpha_2="US")  # let it load its data first
    pycountry.currencies.get(alpha_3="USD")
    space = {"Country": Country, "Currency": Currency, "pycountry": pycountry, "iso3166": iso3166,
             "iso4217": iso4217}
    for ours, theirs, number in [
        ('Country("US")', 'pycountry.countries.get(alpha_2="US")', 20_000),
        ('Currency("USD")', 'pycountry.currencies.get(alpha_3="USD")', 20_000),
        ('Country("US")', 'iso3166.countries.get("US")', 200_000),
        ('Currency("USD")', 'iso4217.Currency("USD")', 200_000),
    ]:
        row(section, f"{theirs} / {ours}", ours, theirs, 30, "higher", space, other_number=number)
    # What no constructor call can beat: a C type called with one str that
    # allocates a small object.
    for theirs, number in [('pycountry.countries.get(alpha_2="US")', 20_000),
                           ('iso4217.Currency("USD")', 200_000)]:
        row(section, f"{theirs} / slice('US') (the floor's own margin)", 'slice("US")', theirs, 30, "higher",
            space, other_number=number)


def against_floor():
    section = "d. vs the floor"
    space = {"Currency": Currency, "Side": Side, "Country": Country, "SubIndustry": SubIndustry}
    for ours, text in [("Currency", "ZWL"), ("Side", "Sell"), ("Country", "XX"),
                       ("SubIndustry", "RealEstateServices")]:
        row(section, f"{ours}({text!r}) vs slice({text!r})", f"{ours}({text!r})", f"slice({text!r})", 1.3,
            namespace=space)


def other_operations():
    section = "e. other operations"
    space = {name: getattr(tessamir, name) for name in tessamir.__all__}
    space.update(m=Currency.USD, n=Currency.EUR, c=Country.GB, x=Exchange.XNYS, s=Sector.Financials,
                 g=IndustryGroup.Banks, i=Industry.Banks, u=SubIndustry.RegionalBanks, t=(1, 2), o=object(),
                 z=slice(1))
    for stmt, floor in [
        ("Currency.USD", "t.count"),
        ("str(m)", "str(z)"),
        ("repr(m)", "repr(t)"),
        ("m == n", "t == t"),
        ("m < n", "t < t"),
        ("len(m)", "len(t)"),
        ("c.name", "z.start"),
        ("c.flag", "z.start"),
        ("m.name", "z.start"),
        ("x.country()", "o.__sizeof__()"),
        ("s.industry_groups()", "o.__sizeof__()"),
        ("g.sector()", "o.__sizeof__()"),
        ("g.industries()", "o.__sizeof__()"),
        ("i.industry_group()", "o.__sizeof__()"),
        ("i.subindustries()", "o.__sizeof__()"),
        ("u.industry()", "o.__sizeof__()"),
    ]:
        row(section, f"{stmt} vs {floor}", stmt, floor, namespace=space)
    ours, floor = pair("Country.members()", "[None] * 250", 5_000, space)
    row(section, "Country.members() per element vs [None] * 250", ours / 250, floor / 250)


def process_time(code, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([sys.executable, "-c", code], check=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1e9


def import_time(runs):
    # Interleave so that drifting machine load hits both sides alike.
    ours, bare = [], []
    for _ in range(runs):
        bare.append(process_time("pass", 1))
        ours.append(process_time("import tessamir", 1))
    row("f. import", 'python -c "import tessamir" vs python -c "pass"', statistics.median(ours),
        statistics.median(bare), 1.05)
    try:
        import pycountry  # noqa: F401
    except ImportError:
        return
    first = 'import tessamir; tessamir.Country("US").name'
    peer = 'import pycountry; pycountry.countries.get(alpha_2="US").name'
    row("f. import", "import and first lookup vs pycountry", process_time(first, max(5, runs // 4)),
        process_time(peer, max(5, runs // 4)), better="higher")


def memory():
    print("\ng. memory")
    for name in ("Side", "Currency", "Country", "Exchange", "SubIndustry"):
        member = getattr(tessamir, name).members()[0]
        print(f"   sys.getsizeof({name} member) = {sys.getsizeof(member)} bytes")
    # Peak resident set of a whole process, with and without the import.
    probe = "import resource{}; print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)"

    def peak(extra):
        return statistics.median(int(subprocess.run([sys.executable, "-c", probe.format(extra)], check=True,
                                                    capture_output=True, text=True).stdout) for _ in range(9))

    bare, ours = peak(""), peak(", tessamir")
    print(f"   peak RSS: python -c 'pass' {bare} KiB, with the import {ours} KiB: +{ours - bare} KiB"
          " (median of 9)")
    resident = ("import re; rss = lambda: int(re.search(r'VmRSS:\\s+(\\d+)', open('/proc/self/status').read())[1]);"
                " before = rss(); import tessamir; print(rss() - before)")
    grown = statistics.median(int(subprocess.run([sys.executable, "-c", resident], check=True, capture_output=True,
                                                 text=True).stdout) for _ in range(9))
    print(f"   resident set growth across the import: +{grown} KiB (median of 9)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--import-runs", type=int, default=60)
    args = parser.parse_args()
    print(f"machine: {platform.machine()}, {os.cpu_count()} cores, {platform.platform()}")
    print(f"python: {sys.version.split()[0]} ({platform.python_implementation()})")
    print(f"date: {time.strftime('%Y-%m-%d')}")
    size_independence()
    against_enum()
    against_peers()
    against_floor()
    other_operations()
    import_time(args.import_runs)
    section = None
    for sec, what, ours, other, ratio, verdict in rows:
        if sec != section:
            section = sec
            print(f"\n{sec}")
            print(f"   {'what':<70} {'ours ns':>9} {'other ns':>10} {'ratio':>7}  target")
        print(f"   {what:<70} {ours:9.1f} {other:10.1f} {ratio:7.2f}  {verdict}")
    memory()


if __name__ == "__main__":
    main()

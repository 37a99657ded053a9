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

REPEAT = 7


def ns(stmt, number=200_000, namespace=None):
    """Best time of one execution of `stmt`, in nanoseconds."""
    timer = timeit.Timer(stmt, globals=namespace or globals())
    gc.disable()
    try:
        return min(timer.repeat(repeat=REPEAT, number=number)) / number * 1e9
    finally:
        gc.enable()


rows = []


def row(section, what, ours, other, target=None, better="lower"):
    """One table row: our time, the other time and their ratio."""
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
    cases = [(Side, None), (Currency, ("AED", "ZWL")), (Country, ("AF", "XX")), (Exchange, None),
             (Sector, None), (IndustryGroup, None), (Industry, None), (SubIndustry, None)]
    for cls, texts in cases:
        first, last = texts or first_last(cls)
        ns_ = {"C": cls, "a": first, "b": last}
        row("a. last/first member", f"{cls.__name__}({last!r}) / ({first!r})",
            ns("C(b)", namespace=ns_), ns("C(a)", namespace=ns_), 1.05)
    for minor, major in (("GBp", "GBP"), ("EUr", "EUR"), ("USd", "USD")):
        ns_ = {"C": Currency, "a": major, "b": minor}
        row("a. last/first member", f"Currency({minor!r}) / ({major!r})",
            ns("C(b)", namespace=ns_), ns("C(a)", namespace=ns_), 1.05)


def against_enum():
    codes = [c.code for c in Currency.members()]
    Peer = enum.Enum("Peer", [(code, code) for code in codes])
    space = {"Currency": Currency, "Peer": Peer, "m": Currency.USD, "e": Peer.USD, "n": Currency.EUR,
             "f": Peer.EUR}
    row("b. vs enum.Enum", 'Currency("USD") vs Peer("USD")', ns('Currency("USD")', namespace=space),
        ns('Peer("USD")', namespace=space), 5, better="higher")
    row("b. vs enum.Enum", "str(member)", ns("str(m)", namespace=space), ns("str(e)", namespace=space))
    row("b. vs enum.Enum", "member == other", ns("m == n", namespace=space), ns("e == f", namespace=space))
    row("b. vs enum.Enum", "class attribute", ns("Currency.USD", namespace=space),
        ns("Peer.USD", namespace=space))
    row("b. vs enum.Enum", "members() vs list(Peer)", ns("Currency.members()", 20_000, space),
        ns("list(Peer)", 20_000, space))


def against_peers():
    try:
        import iso3166
        import iso4217
        import pycountry
    except ImportError as missing:
        print(f"peer libraries missing ({missing.name}): pip install -r bench/requirements.txt")
        return
    pycountry.countries.get(alpha_2="US")  # let it load its data first
    pycountry.currencies.get(alpha_3="USD")
    space = {"Country": Country, "Currency": Currency, "pycountry": pycountry, "iso3166": iso3166,
             "iso4217": iso4217}
    ours_country = ns('Country("US")', namespace=space)
    ours_currency = ns('Currency("USD")', namespace=space)
    row("c. vs peer libraries", 'Country("US") vs pycountry.countries.get(alpha_2="US")', ours_country,
        ns('pycountry.countries.get(alpha_2="US")', 20_000, space), 30, better="higher")
    row("c. vs peer libraries", 'Currency("USD") vs pycountry.currencies.get(alpha_3="USD")', ours_currency,
        ns('pycountry.currencies.get(alpha_3="USD")', 20_000, space), 30, better="higher")
    row("c. vs peer libraries", 'Country("US") vs iso3166.countries.get("US")', ours_country,
        ns('iso3166.countries.get("US")', namespace=space), 30, better="higher")
    row("c. vs peer libraries", 'Currency("USD") vs iso4217.Currency("USD")', ours_currency,
        ns('iso4217.Currency("USD")', namespace=space), 30, better="higher")


def against_floor():
    space = {"Currency": Currency, "Side": Side, "Country": Country}
    floor = ns('slice("ZWL")', namespace=space)
    row("d. vs the floor", 'Currency("ZWL") vs slice("ZWL")', ns('Currency("ZWL")', namespace=space), floor, 1.3)
    row("d. vs the floor", 'Side("Sell") vs slice("Sell")', ns('Side("Sell")', namespace=space),
        ns('slice("Sell")', namespace=space), 1.3)
    row("d. vs the floor", 'Country("XX") vs slice("XX")', ns('Country("XX")', namespace=space),
        ns('slice("XX")', namespace=space), 1.3)


def other_operations():
    space = {name: getattr(tessamir, name) for name in tessamir.__all__}
    space.update(m=Currency.USD, n=Currency.EUR, c=Country.GB, x=Exchange.XNYS, s=Sector.Financials,
                 g=IndustryGroup.Banks, i=Industry.Banks, u=SubIndustry.RegionalBanks, t=(1, 2), o=object())
    floor_attr = ns("t.count", namespace=space)
    floor_call = ns("o.__sizeof__()", namespace=space)
    for stmt, floor, label in [
        ("Currency.USD", floor_attr, "t.count"),
        ("str(m)", ns("str(t)", namespace=space), "str(t)"),
        ("repr(m)", ns("repr(t)", namespace=space), "repr(t)"),
        ("m == n", ns("t == t", namespace=space), "t == t"),
        ("m < n", ns("t < t", namespace=space), "t < t"),
        ("len(m)", ns("len(t)", namespace=space), "len(t)"),
        ("c.name", floor_attr, "t.count"),
        ("c.flag", floor_attr, "t.count"),
        ("m.name", floor_attr, "t.count"),
        ("x.country()", floor_call, "o.__sizeof__()"),
        ("s.industry_groups()", floor_call, "o.__sizeof__()"),
        ("g.sector()", floor_call, "o.__sizeof__()"),
        ("g.industries()", floor_call, "o.__sizeof__()"),
        ("i.industry_group()", floor_call, "o.__sizeof__()"),
        ("i.subindustries()", floor_call, "o.__sizeof__()"),
        ("u.industry()", floor_call, "o.__sizeof__()"),
    ]:
        row("e. other operations", f"{stmt} vs {label}", ns(stmt, namespace=space), floor)
    per = ns("Country.members()", 5_000, space) / 250
    row("e. other operations", "Country.members() per element vs [None] * 250 per element", per,
        ns("[None] * 250", 5_000, space) / 250)


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
    probe = ("import resource, sys; before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss; "
             "import tessamir; after = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss; "
             "print(after - before)")
    growth = [int(subprocess.run([sys.executable, "-c", probe], check=True, capture_output=True,
                                 text=True).stdout) for _ in range(5)]
    print(f"   peak RSS growth caused by the import: {statistics.median(growth)} KiB (median of 5)")


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

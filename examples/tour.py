"""A short printed tour of tessamir."""

import base64
import tempfile
from pathlib import Path

import tessamir
from tessamir import (Country, Currency, Exchange, OrderFlag, OrderType, Sector, Side, SubIndustry, TimeInForce,
                      TradingType)


def show(label, value):
    print(f"{label:<38} {value!r}")


print("Classes:", ", ".join(tessamir.__all__))
print()

# Members are class attributes, or built from their display text.
show("Side.Buy", Side.Buy)
show("Side('Sell')", Side("Sell"))
show("str(TimeInForce.GTC)", str(TimeInForce.GTC))
show("OrderType('Limit') == OrderType.Limit", OrderType("Limit") == OrderType.Limit)

# Ordering follows the display texts, not the declaration order.
show("sorted(OrderType.members())", sorted(OrderType.members()))
show("TradingType.members()", TradingType.members())
show("getattr(OrderFlag, 'None')", getattr(OrderFlag, "None"))
show("len(TradingType.Live)", len(TradingType.Live))

# Unknown texts are rejected.
try:
    TimeInForce("GTC")
except ValueError as error:
    show("TimeInForce('GTC')", error)

print()

# An exchange knows its country; a country has codes, a name and a flag.
nyse = Exchange("Xnys")
show("Exchange('Xnys')", nyse)
show("Exchange.XNYS.country()", nyse.country())
show("str(Exchange.XTSE.country())", str(Exchange.XTSE.country()))
show("Country.CI.name, Country.CI.code3", (Country.CI.name, Country.CI.code3))
show("str(Country.GB)", str(Country.GB))
with tempfile.TemporaryDirectory() as folder:
    flag = Path(folder) / "ch.png"
    flag.write_bytes(base64.b64decode(Country.CH.flag))
    show("Country.CH.flag as a PNG file", (flag.name, flag.stat().st_size, flag.read_bytes()[:4]))

# A currency quoted in its minor unit: "GBp" is the penny sterling.
print()
pence = Currency("GBp")
show("Currency('GBp')", pence)
show("Currency('GBp').name", pence.name)
show("Currency('GBP').name", Currency("GBP").name)

# One level up at a time, from a sub-industry to its sector.
print()
level = SubIndustry.RenewableElectricity
show("SubIndustry.RenewableElectricity", level)
for step in ("industry", "industry_group", "sector"):
    level = getattr(level, step)()
    show(f"  .{step}()", level)

# A sector's whole subtree.
print()
sector = Sector.Energy
print(sector)
for group in sector.industry_groups():
    print(f"  {group}")
    for industry in group.industries():
        print(f"    {industry}")
        for sub in industry.subindustries():
            print(f"      {sub}")

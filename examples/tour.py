"""A short printed tour of tessamir."""

import tessamir
from tessamir import Currency, OrderFlag, OrderType, Sector, Side, SubIndustry, TimeInForce, TradingType


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

"""A short printed tour of tessamir."""

import tessamir
from tessamir import OrderFlag, OrderType, Side, TimeInForce, TradingType


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

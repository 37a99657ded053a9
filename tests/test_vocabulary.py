"""The order-entry and security classes: their members, texts and order."""

import pytest

import tessamir
from surface import attributes, display

# Per class: (attribute name, display text) in index order; then the
# attribute installation order where it differs from the index order.
TABLES = {
    "Side": ["Buy", "Sell"],
    "OrderType": ["Market", "Limit", "Stop"],
    "OrderFlag": ["None", "FillOrKill", "ImmediateOrCancel", "AllOrNone"],
    "TimeInForce": ["Day", ("GTC", "Gtc")],
    "TradingType": ["Live", "Paper", "Simulation", "Backtest"],
    "SecurityType": ["Equity", "Option", "Bond", "Forward", "Future", "PerpetualFuture", "Spread", "Fund",
                     "Commodity", "Currency", "Pair", "Index"],
    "EquityType": ["Shares", "PreferredShares", "ConvertibleShares", "PreferredConvertibleShares",
                   "DepositoryReceipt"],
    "BondType": ["Corporate", "Government", "Municipal"],
    "CommodityType": ["Energy", "Metals", "Agriculture"],
    "FundType": [("ETF", "Etf"), "MutualFund", ("REIT", "Reit")],
    "FundSubType": ["Index", "Sector", "Active", "Passive"],
    "MutualFundEndedness": ["Open", "Close"],
    "OptionType": ["Call", "Put"],
    "OptionExerciseType": ["American", "European", "Bermudan"],
}
INSTALL_ORDER = {"TradingType": ["Live", "Paper", "Backtest", "Simulation"]}

ASCENDING = {
    "OrderType": ["Limit", "Market", "Stop"],
    "OrderFlag": ["AllOrNone", "FillOrKill", "ImmediateOrCancel", "None"],
    "TradingType": ["Backtest", "Live", "Paper", "Simulation"],
    "SecurityType": ["Bond", "Commodity", "Currency", "Equity", "Forward", "Fund", "Future", "Index", "Option",
                     "Pair", "PerpetualFuture", "Spread"],
    "EquityType": ["ConvertibleShares", "DepositoryReceipt", "PreferredConvertibleShares", "PreferredShares",
                   "Shares"],
    "CommodityType": ["Agriculture", "Energy", "Metals"],
    "FundSubType": ["Active", "Index", "Passive", "Sector"],
    "MutualFundEndedness": ["Close", "Open"],
    "OptionExerciseType": ["American", "Bermudan", "European"],
}


def rows(name):
    return [row if isinstance(row, tuple) else (row, row) for row in TABLES[name]]


@pytest.mark.parametrize("name", TABLES)
def test_members_texts_and_attributes(name):
    cls = getattr(tessamir, name)
    table = rows(name)
    members = cls.members()
    assert [str(m) for m in members] == [text for _, text in table]
    attrs = attributes(cls)
    assert list(attrs) == INSTALL_ORDER.get(name, [attr for attr, _ in table])
    for index, (attr, text) in enumerate(table):
        assert attrs[attr] == members[index]
        assert repr(attrs[attr]) == f"{name}<{text}>"
        assert len(attrs[attr]) == len(table)


@pytest.mark.parametrize("name", TABLES)
def test_ascending_order(name):
    cls = getattr(tessamir, name)
    expected = ASCENDING.get(name, [text for _, text in rows(name)])
    assert [str(m) for m in sorted(cls.members())] == expected
    assert str(max(cls.members())) == expected[-1] and str(min(cls.members())) == expected[0]


@pytest.mark.parametrize("name, rejected", [
    ("TimeInForce", ["GTC", "gtc", "DAY"]),
    ("FundType", ["ETF", "REIT", "etf", "reit"]),
    ("SecurityType", ["pair", "PAIR", " Pair", "Pairs", "Perpetual", "Futures"]),
    ("EquityType", ["DepositoryReceipts", "shares", "Preferred", "ConvertibleShare"]),
    ("OptionType", ["C", "P", "call", "PUT"]),
    ("OptionExerciseType", ["A", "american"]),
    ("Side", ["buy", "BUY", "B"]),
    ("OrderFlag", ["none", "NONE", "FillOrKill|AllOrNone"]),
    ("EquityType", ["Index"]),
    ("FundSubType", ["Equity"]),
])
def test_other_forms_name_no_member(name, rejected):
    cls = getattr(tessamir, name)
    for text in rejected:
        with pytest.raises(ValueError, match=f"is not a valid {name}$"):
            cls(text)


def test_order_flag_none_is_a_plain_member():
    none = getattr(tessamir.OrderFlag, "None")
    assert none is not None and bool(none)
    assert tessamir.OrderFlag("None") == none == tessamir.OrderFlag.members()[0]
    with pytest.raises(TypeError):
        tessamir.OrderFlag.FillOrKill | tessamir.OrderFlag.AllOrNone
    with pytest.raises(TypeError):
        tessamir.OrderFlag.FillOrKill & tessamir.OrderFlag.AllOrNone


def test_same_text_in_two_classes_names_two_members():
    assert tessamir.SecurityType.Index != tessamir.FundSubType.Index
    assert display(tessamir.SecurityType.Index) == display(tessamir.FundSubType.Index)
    assert tessamir.FundSubType("Index") == tessamir.FundSubType.Index
    assert tessamir.CommodityType.Energy != tessamir.SecurityType.Commodity

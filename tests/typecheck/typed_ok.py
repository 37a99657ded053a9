"""Typed use of tessamir: passes `mypy --strict` with the stubs, and runs."""

import copy

from tessamir import (Country, Currency, Exchange, Industry, IndustryGroup, OrderFlag, OrderType, Sector, Side,
                      SubIndustry, TimeInForce)


def notional(side: Side, quantity: int, price: float) -> float:
    return quantity * price * (1 if side == Side.Buy else -1)


def currency_name(currency: Currency) -> str:
    return currency.name


def country_of(exchange: Exchange) -> Country:
    return exchange.country()


def codes(country: Country) -> tuple[str, str, str]:
    return country.code, country.code3, country.name


def sector_of(sub: SubIndustry) -> Sector:
    industry: Industry = sub.industry()
    group: IndustryGroup = industry.industry_group()
    return group.sector()


def subtree(sector: Sector) -> list[SubIndustry]:
    return [sub for group in sector.industry_groups() for industry in group.industries()
            for sub in industry.subindustries()]


no_flag: OrderFlag = OrderFlag("None")
flags: list[OrderFlag] = OrderFlag.members()
ordered: list[OrderType] = sorted(OrderType.members())
gtc: TimeInForce = copy.deepcopy(TimeInForce.GTC)
size: int = len(Side.Sell)
texts: list[str] = [str(member) for member in Currency.members()]

assert notional(Side.Sell, 2, 1.5) == -3.0
assert currency_name(Currency("GBp")) == "Penny sterling"
assert country_of(Exchange("Xtse")) == Country.CA
assert codes(Country("XX")) == ("XX", "XXX", "Uncategorized") and not Country("XX").flag
assert sector_of(SubIndustry.RenewableElectricity) == Sector.Utilities
assert len(subtree(Sector.Energy)) == 7
assert no_flag == flags[0] and ordered[0] == OrderType.Limit and gtc == TimeInForce.GTC and size == 2
assert Side.Buy != Currency.USD and Side.Buy < Side.Sell

"""Mistyped use of tessamir: each line marked `# error: CODE` must be reported by mypy."""

from tessamir import Country, Currency, Exchange, Industry, IndustryGroup, Sector, Side, SubIndustry


def currency_name(currency: Currency) -> str:
    return currency.name


def flag(country: Country) -> str:
    return country.flag


def industries(group: IndustryGroup) -> list[Industry]:
    return group.industries()


def subindustries(industry: Industry) -> list[SubIndustry]:
    return industry.subindustries()


currency_name(Side.Buy)  # error: arg-type
flag(Currency.USD)  # error: arg-type
home: Currency = Exchange.XNYS.country()  # error: assignment
Country.US.code = "USA"  # error: misc
industries(Sector.Energy)  # error: arg-type
subindustries(Sector.Energy)  # error: arg-type
wrong_level: Industry = SubIndustry.RenewableElectricity.industry().industry_group()  # error: assignment
parent: Sector = IndustryGroup.Energy.industries()  # error: assignment
Currency.GBP.name = "Pound"  # error: misc
Currency(826)  # error: arg-type
Side.Buy < Currency.USD  # error: operator
Side.Buy < "Buy"  # error: operator
Side.Hold  # error: attr-defined

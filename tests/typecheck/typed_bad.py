"""Mistyped use of tessamir: each line marked `# error: CODE` must be reported by mypy."""

from tessamir import Currency, Industry, IndustryGroup, Sector, Side, SubIndustry


def currency_name(currency: Currency) -> str:
    return currency.name


def industries(group: IndustryGroup) -> list[Industry]:
    return group.industries()


currency_name(Side.Buy)  # error: arg-type
industries(Sector.Energy)  # error: arg-type
wrong_level: Industry = SubIndustry.RenewableElectricity.industry().industry_group()  # error: assignment
parent: Sector = IndustryGroup.Energy.industries()  # error: assignment
Currency.GBP.name = "Pound"  # error: misc
Currency(826)  # error: arg-type
Side.Buy < Currency.USD  # error: operator
Side.Buy < "Buy"  # error: operator
Side.Hold  # error: attr-defined

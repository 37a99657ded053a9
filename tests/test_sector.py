"""The four levels of the sector classification and the links between them."""

import re

import pytest
from gics.definitions.d_20230318 import definition as PUBLISHED  # the 2023 revision

from surface import attributes
from tessamir import Industry, IndustryGroup, Sector, SubIndustry

# Each level with the length of its codes in the published classification.
LEVELS = [(Sector, 2), (IndustryGroup, 4), (Industry, 6), (SubIndustry, 8)]

# Upper level, lower level, the method that goes down, the method that goes up.
LINKS = [
    (Sector, IndustryGroup, "industry_groups", "sector"),
    (IndustryGroup, Industry, "industries", "industry_group"),
    (Industry, SubIndustry, "subindustries", "industry"),
]


def display_text(attribute):
    """The display text of a member from its attribute name."""
    text = attribute.replace("REITs", "ReiTs")
    return "It" + text[2:] if text.startswith("IT") else text


# The names this module writes otherwise than the published classification
# does, by code: its own spellings, which are part of its interface.
OWN_NAMES = {
    "3030": "HouseholdAndPersonalProducts",
    "6010": "EquityRealEstateInvestmentTrusts",
    "101020": "OilGasAndConsumeableFules",
    "402040": "MortgageRealEstateInvestmentTrusts",
    "10102050": "CoalAndConsumeableFuels",
    "20106020": "IndustrialMachinerySuppliesAndComponents",
    "20201070": "DiviersifiedSupportServices",
    "20202010": "HumanResourcesAndEmploymentServices",
    "25504020": "ComputerAndElectronicsretail",
    "40204010": "MortgageRealEstateInvestmentTrusts",
    "40301030": "MultilineInsurance",
}


def published_name(code):
    """The attribute name of a published entry: its words joined, "&" as "And"."""
    if code in OWN_NAMES:
        return OWN_NAMES[code]
    words = re.split(r"[\s,-]+", PUBLISHED[code]["name"].replace("&", " and "))
    return "".join(word[:1].upper() + word[1:] for word in words if word)


def published(length):
    """The codes of one level of the published classification, in code order."""
    return sorted(code for code in PUBLISHED if len(code) == length)


@pytest.mark.parametrize("cls, length", LEVELS)
def test_members_and_parents_are_the_published_classification(cls, length):
    # Every published entry is a member, in the published order, under its
    # published parent. A member added beyond this revision is its table
    # row's business alone.
    codes = published(length)
    names = list(attributes(cls))
    missing = [published_name(code) for code in codes if published_name(code) not in names]
    assert not missing
    positions = [names.index(published_name(code)) for code in codes]
    assert positions == sorted(positions)
    up = {lower: up for _, lower, _, up in LINKS}.get(cls)
    if up is not None:
        members = cls.members()
        parents = [str(getattr(members[i], up)()) for i in positions]
        assert parents == [display_text(published_name(code[:-2])) for code in codes]


def test_own_names_are_published_codes():
    assert set(OWN_NAMES) <= set(PUBLISHED)


@pytest.mark.parametrize("cls", [cls for cls, _ in LEVELS])
def test_counts(cls):
    assert len(cls.members()) == len(attributes(cls)) == len(cls.members()[-1])


@pytest.mark.parametrize("cls", [cls for cls, _ in LEVELS])
def test_display_texts_follow_attribute_names(cls):
    members = attributes(cls)
    assert list(members.values()) == cls.members()
    for name, member in members.items():
        assert str(member) == display_text(name)
        assert cls(str(member)) == member


ATTRIBUTE_FORMS = [
    (cls, name) for cls, _ in LEVELS for name in attributes(cls) if display_text(name) != name
]


@pytest.mark.parametrize("cls, name", ATTRIBUTE_FORMS)
def test_attribute_form_of_a_differing_text_is_rejected(cls, name):
    with pytest.raises(ValueError):
        cls(name)


# Texts spelled as they are, the member they name, and nearby spellings that
# name nothing.
SPELLINGS = [
    (Industry, "OilGasAndConsumeableFules", "OilGasAndConsumeableFules",
     ["OilGasAndConsumableFuels", "OilGasAndConsumeableFuels"]),
    (SubIndustry, "CoalAndConsumeableFuels", "CoalAndConsumeableFuels", ["CoalAndConsumableFuels"]),
    (SubIndustry, "DiviersifiedSupportServices", "DiviersifiedSupportServices", ["DiversifiedSupportServices"]),
    (SubIndustry, "HumanResourcesAndEmploymentServices", "HumanResourcesAndEmploymentServices",
     ["HumanResourceAndEmploymentServices"]),
    (SubIndustry, "HomeFurnishings", "HomeFurnishings", ["Homefurnishings"]),
    (SubIndustry, "ComputerAndElectronicsretail", "ComputerAndElectronicsretail", ["ComputerAndElectronicsRetail"]),
    (SubIndustry, "HomefurnishingRetail", "HomefurnishingRetail", ["HomeFurnishingRetail"]),
    (Industry, "ItServices", "ITServices", ["ITServices", "itServices"]),
    (SubIndustry, "DataCenterReiTs", "DataCenterREITs", ["DataCenterREITs", "DataCenterReits"]),
    (SubIndustry, "ItConsultingAndOtherServices", "ITConsultingAndOtherServices", ["ITConsultingAndOtherServices"]),
    (Sector, "Energy", "Energy", ["energy", "ENERGY", " Energy", "Energy ", "0", "10", ""]),
]


@pytest.mark.parametrize("cls, text, attribute, others", SPELLINGS)
def test_spellings(cls, text, attribute, others):
    assert cls(text) == getattr(cls, attribute)
    for other in others:
        with pytest.raises(ValueError):
            cls(other)


@pytest.mark.parametrize("upper, lower, down, up", LINKS)
def test_children_concatenate_to_the_lower_level(upper, lower, down, up):
    assert [child for parent in upper.members() for child in getattr(parent, down)()] == lower.members()


@pytest.mark.parametrize("upper, lower, down, up", LINKS)
def test_links_agree_both_ways(upper, lower, down, up):
    for parent in upper.members():
        children = getattr(parent, down)()
        assert children
        for child in children:
            assert type(child) is lower
            assert getattr(child, up)() == parent
    for child in lower.members():
        parent = getattr(child, up)()
        assert type(parent) is upper
        assert child in getattr(parent, down)()


def test_whole_tree_down_and_up():
    down = [
        (sector, group, industry, sub)
        for sector in Sector.members()
        for group in sector.industry_groups()
        for industry in group.industries()
        for sub in industry.subindustries()
    ]
    up = [
        (sub.industry().industry_group().sector(), sub.industry().industry_group(), sub.industry(), sub)
        for sub in SubIndustry.members()
    ]
    assert down == up and len(down) == len(SubIndustry.members())


@pytest.mark.parametrize("upper, lower, down, up", LINKS)
def test_links_return_new_objects(upper, lower, down, up):
    parent = upper.members()[0]
    first, second = getattr(parent, down)(), getattr(parent, down)()
    assert first == second and first is not second and first[0] is not second[0]
    assert first[0] is not getattr(lower, list(attributes(lower))[0])
    child = getattr(lower, list(attributes(lower))[0])
    assert getattr(child, up)() is not getattr(child, up)()
    assert getattr(child, up)() is not getattr(upper, list(attributes(upper))[0])


def ancestors(member):
    chain = []
    for up in ("industry", "industry_group", "sector"):
        if hasattr(member, up):
            member = getattr(member, up)()
            chain.append(member)
    return chain


ANCESTORS = [
    (SubIndustry.RenewableElectricity,
     [Industry.IndependentPowerAndRenewableElectricityProducers, IndustryGroup.Utilities, Sector.Utilities]),
    (SubIndustry.MortgageRealEstateInvestmentTrusts,
     [Industry.MortgageRealEstateInvestmentTrusts, IndustryGroup.FinancialServices, Sector.Financials]),
    (SubIndustry.Gold, [Industry.MetalsAndMining, IndustryGroup.Materials, Sector.Materials]),
    (SubIndustry.DataCenterREITs, [Industry.SpecializedREITs, IndustryGroup.EquityRealEstateInvestmentTrusts,
                                   Sector.RealEstate]),
    (Industry.OilGasAndConsumeableFules, [IndustryGroup.Energy, Sector.Energy]),
    (IndustryGroup("Energy"), [Sector.Energy]),
]


@pytest.mark.parametrize("member, chain", ANCESTORS, ids=repr)
def test_ancestors(member, chain):
    assert ancestors(member) == chain


@pytest.mark.parametrize("a, b", [
    (Sector.Energy, IndustryGroup.Energy),
    (IndustryGroup.Banks, Industry.Banks),
    (Industry.ConstructionMaterials, SubIndustry.ConstructionMaterials),
    (Industry.MortgageRealEstateInvestmentTrusts, SubIndustry.MortgageRealEstateInvestmentTrusts),
], ids=repr)
def test_same_name_on_two_levels_is_two_members(a, b):
    assert str(a) == str(b) and a != b and not a == b


def test_ordering_is_by_display_text():
    assert Sector.Utilities > Sector.RealEstate
    assert not Sector.Energy < Sector.ConsumerStaples
    assert Industry.ITServices > Industry.IndustrialConglomerates
    assert SubIndustry.ITConsultingAndOtherServices > SubIndustry.InternetServicesAndInfrastructure
    assert repr(Industry.ITServices) == "Industry<ItServices>" and str(SubIndustry.TimberREITs) == "TimberReiTs"

"""The four levels of the sector classification and the links between them."""

import pytest

from tessamir import Industry, IndustryGroup, Sector, SubIndustry

LEVELS = [(Sector, 11), (IndustryGroup, 25), (Industry, 74), (SubIndustry, 163)]

# Upper level, lower level, the method that goes down, the method that goes up.
LINKS = [
    (Sector, IndustryGroup, "industry_groups", "sector"),
    (IndustryGroup, Industry, "industries", "industry_group"),
    (Industry, SubIndustry, "subindustries", "industry"),
]

# How many children each member of an upper level has, in index order.
CHILD_COUNTS = {
    Sector: [1, 1, 3, 4, 3, 2, 3, 3, 2, 1, 2],
    IndustryGroup: [2, 5, 7, 2, 5, 2, 3, 2, 3, 1, 3, 2, 3, 3, 1, 4, 1, 2, 3, 1, 2, 3, 5, 8, 1],
    Industry: [2, 5, 5, 1, 2, 7, 2, 1, 1, 1, 2, 1, 3, 1, 5, 3, 1, 1, 1, 3, 3, 2, 2, 5, 1, 3, 4, 2, 1, 1, 6, 4, 3, 2, 1,
               1, 1, 2, 4, 1, 1, 1, 1, 2, 5, 1, 4, 1, 5, 2, 2, 1, 1, 4, 2, 2, 1, 4, 2, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1,
               2, 1, 5, 4],
}


def attributes(cls):
    return {name: value for name, value in vars(cls).items() if isinstance(value, cls)}


def display_text(attribute):
    """The display text of a member from its attribute name."""
    text = attribute.replace("REITs", "ReiTs")
    return "It" + text[2:] if text.startswith("IT") else text


@pytest.mark.parametrize("cls, count", LEVELS)
def test_counts(cls, count):
    assert len(cls.members()) == len(attributes(cls)) == len(cls.members()[-1]) == count


@pytest.mark.parametrize("cls, differing", [(Sector, 0), (IndustryGroup, 0), (Industry, 9), (SubIndustry, 14)])
def test_display_texts_follow_attribute_names(cls, differing):
    members = attributes(cls)
    assert list(members.values()) == cls.members()
    for name, member in members.items():
        assert str(member) == display_text(name)
        assert cls(str(member)) == member
    assert sum(display_text(name) != name for name in members) == differing


ATTRIBUTE_FORMS = [
    (cls, name) for cls, _ in LEVELS for name in attributes(cls) if display_text(name) != name
]


@pytest.mark.parametrize("cls, name", ATTRIBUTE_FORMS)
def test_attribute_form_of_a_differing_text_is_rejected(cls, name):
    with pytest.raises(ValueError):
        cls(name)


# Names spelled as they are, their index, and nearby spellings that name nothing.
SPELLINGS = [
    (Industry, "OilGasAndConsumeableFules", 1, ["OilGasAndConsumableFuels", "OilGasAndConsumeableFuels"]),
    (SubIndustry, "CoalAndConsumeableFuels", 6, ["CoalAndConsumableFuels"]),
    (SubIndustry, "DiviersifiedSupportServices", 37, ["DiversifiedSupportServices"]),
    (SubIndustry, "HumanResourcesAndEmploymentServices", 39, ["HumanResourceAndEmploymentServices"]),
    (SubIndustry, "HomeFurnishings", 56, ["Homefurnishings"]),
    (SubIndustry, "ComputerAndElectronicsretail", 73, ["ComputerAndElectronicsRetail"]),
    (SubIndustry, "HomefurnishingRetail", 77, ["HomeFurnishingRetail"]),
    (Industry, "ItServices", 49, ["ITServices", "itServices"]),
    (SubIndustry, "DataCenterReiTs", 158, ["DataCenterREITs", "DataCenterReits"]),
    (SubIndustry, "ItConsultingAndOtherServices", 118, ["ITConsultingAndOtherServices"]),
    (Sector, "Energy", 0, ["energy", "ENERGY", " Energy", "Energy ", "0", "10", ""]),
]


@pytest.mark.parametrize("cls, text, index, others", SPELLINGS)
def test_spellings(cls, text, index, others):
    assert cls(text) == cls.members()[index]
    for other in others:
        with pytest.raises(ValueError):
            cls(other)


@pytest.mark.parametrize("upper, lower, down, up", LINKS)
def test_children_concatenate_to_the_lower_level(upper, lower, down, up):
    assert [child for parent in upper.members() for child in getattr(parent, down)()] == lower.members()


@pytest.mark.parametrize("upper, lower, down, up", LINKS)
def test_child_counts(upper, lower, down, up):
    assert [len(getattr(parent, down)()) for parent in upper.members()] == CHILD_COUNTS[upper]


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
    assert down == up and len(down) == 163


@pytest.mark.parametrize("upper, lower, down, up", LINKS)
def test_links_return_new_objects(upper, lower, down, up):
    parent = upper.members()[0]
    first, second = getattr(parent, down)(), getattr(parent, down)()
    assert first == second and first is not second and first[0] is not second[0]
    assert first[0] is not getattr(lower, list(attributes(lower))[0])
    child = getattr(lower, list(attributes(lower))[0])
    assert getattr(child, up)() is not getattr(child, up)()
    assert getattr(child, up)() is not getattr(upper, list(attributes(upper))[0])


CHILDREN = [
    (Sector.Industrials, ["CapitalGoods", "CommercialAndProfessionalServices", "Transportation"]),
    (Sector.Utilities, ["Utilities"]),
    (Sector.Energy, ["Energy"]),
    (IndustryGroup.Banks, ["Banks"]),
    (IndustryGroup.Insurance, ["Insurance"]),
    (IndustryGroup.ConsumerStaplesDistributionAndRetail, ["ConsumerStaplesDistributionAndRetail"]),
    (IndustryGroup.SemiconductorsAndSemiconductorEquipment, ["SemiconductorsAndSemiconductorEquipment"]),
    (IndustryGroup.RealEstateManagementAndDevelopment, ["RealEstateManagementAndDevelopment"]),
    (IndustryGroup.CapitalGoods, ["AerospaceAndDefense", "BuildingProducts", "ConstructionAndEngineering",
                                  "ElectricalEquipment", "IndustrialConglomerates", "Machinery",
                                  "TradingCompaniesAndDistributors"]),
    (IndustryGroup.EquityRealEstateInvestmentTrusts, ["DiversifiedREITs", "IndustrialREITs", "HotelAndResortREITs",
                                                      "OfficeREITs", "HealthCareREITs", "ResidentialREITs",
                                                      "RetailREITs", "SpecializedREITs"]),
    (Industry.MetalsAndMining, ["Aluminum", "DiversifiedMetalsAndMining", "Copper", "Gold",
                                "PreciousMetalsAndMinerals", "Silver", "Steel"]),
    (Industry.ConstructionMaterials, ["ConstructionMaterials"]),
]


@pytest.mark.parametrize("parent, names", CHILDREN, ids=repr)
def test_children(parent, names):
    down = {Sector: "industry_groups", IndustryGroup: "industries", Industry: "subindustries"}[type(parent)]
    lower = {Sector: IndustryGroup, IndustryGroup: Industry, Industry: SubIndustry}[type(parent)]
    assert getattr(parent, down)() == [getattr(lower, name) for name in names]


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

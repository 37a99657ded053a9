"""Exchange: display texts derived from the codes, round trips, country()."""

import pytest

from tessamir import Country, Exchange

MEMBERS = Exchange.members()
# Class attribute name -> member, in installation order.
ATTRIBUTES = {name: value for name, value in vars(Exchange).items() if isinstance(value, Exchange)}

# The market identifier codes, in index order: the United States, Canada, then
# the venues of no country.
CODES = [
    "XNYS", "NYSD", "XCIS", "CISD", "XCHI", "ARCX", "ARCD", "ARCO", "XASE", "AMXO", "XNAS", "XNGS", "XNCM",
    "XNMS", "NASD", "XNDQ", "XBOS", "BOSD", "XBXO", "XPHL", "XPSX", "PSXD", "XPHO", "XPBT", "XPOR", "XNFI",
    "XISE", "GMNI", "MCRY", "XCBO", "EDGA", "EDGD", "EDGX", "EDDP", "EDGO", "BATS", "BZXD", "BATO", "BATY",
    "BYXD", "C2OX", "XCME", "FCME", "GLBX", "XCBT", "FCBT", "XKBT", "XNYM", "MIHI", "MPRL", "EPRL", "EPRD",
    "XMIO", "EMLD", "OTCM", "CAVE", "OTCB", "OTCQ", "PINL", "PINI", "PINX", "PSGM", "PINC", "FINR", "FINN",
    "FINC", "FINY", "XADF", "FINO", "OOTC", "OPRA", "MEMX", "MEMD", "MXOP", "IEXG", "LTSE", "XCNQ", "PURE",
    "CSE2", "XTSE", "XDRK", "VDRK", "XTSX", "XTNX", "XATS", "XATX", "ADRK", "XMOD", "XMOC", "NEOE", "NEOD",
    "NEON", "NEOC", "XXXX", "PYPR", "SIMU",
]

# Each country's run of members: (first index, end index, alpha-2 code, name).
GROUPS = [(0, 76, "US", "United States of America"), (76, 93, "CA", "Canada"), (93, 96, "XX", "Uncategorized")]


def test_attributes_are_the_uppercase_codes_in_member_order():
    assert list(ATTRIBUTES.values()) == MEMBERS and len(MEMBERS) == 96
    assert list(ATTRIBUTES) == CODES
    assert all(len(code) == 4 and code.isupper() and code.isalnum() for code in ATTRIBUTES)


@pytest.mark.parametrize("code", list(ATTRIBUTES))
def test_display_text_round_trip(code):
    member = getattr(Exchange, code)
    text = code[0] + code[1:].lower()
    assert (str(member), repr(member)) == (text, f"Exchange<{text}>")
    assert Exchange(str(member)) == member and Exchange(text) is not member
    for wrong in {code, code.lower(), code.swapcase(), text.swapcase()} - {text}:
        with pytest.raises(ValueError):
            Exchange(wrong)


@pytest.mark.parametrize("text, code", [("Xnys", "XNYS"), ("C2ox", "C2OX"), ("Cse2", "CSE2"), ("Xxxx", "XXXX")])
def test_digits_and_first_letter_kept(text, code):
    assert Exchange(text) == getattr(Exchange, code) and str(getattr(Exchange, code)) == text


@pytest.mark.parametrize("first, end, code, name", GROUPS)
def test_country_of_each_group(first, end, code, name):
    for member in MEMBERS[first:end]:
        country = member.country()
        assert type(country) is Country and country == getattr(Country, code, Country("XX"))
        assert (country.code, country.name, str(country)) == (code, name, name)
        assert country.code3 == Country(code).code3


@pytest.mark.parametrize("exchange, code", [("XTSE", "CA"), ("XNYS", "US"), ("LTSE", "US"), ("XCNQ", "CA"),
                                            ("SIMU", "XX"), ("PYPR", "XX"), ("XXXX", "XX")])
def test_known_venues(exchange, code):
    assert getattr(Exchange, exchange).country().code == code


def test_country_makes_new_equal_objects():
    first, second = Exchange.XNYS.country(), Exchange.XNYS.country()
    assert first is not second and first == second == Country.US
    assert Exchange.XTSE.country().code3 == "CAN"


def test_country_is_a_method():
    bound = Exchange.XNYS.country
    assert callable(bound) and not isinstance(bound, Country) and bound.__self__ is Exchange.XNYS
    with pytest.raises(TypeError):
        Exchange.XNYS.country(1)


def test_ordering_by_display_text():
    assert Exchange.XNYS > Exchange.ARCX and Exchange.C2OX < Exchange.CAVE
    assert [str(m) for m in sorted(MEMBERS)] == sorted(str(m) for m in MEMBERS)


def test_members_and_length():
    assert (MEMBERS[0], MEMBERS[-1]) == (Exchange.XNYS, Exchange.SIMU)
    assert {len(m) for m in MEMBERS} == {96}

"""Country: codes and order against pycountry, display names, XX, ordering."""

import unicodedata

import pycountry
import pytest

from tessamir import Country

MEMBERS = Country.members()
ENTRIES = MEMBERS[:-1]  # the entries of the standard; the last member is XX


def folded(name):
    """A name as the standard's list sorts it: accents dropped, case folded."""
    decomposed = unicodedata.normalize("NFKD", name)
    return "".join(c for c in decomposed if not unicodedata.combining(c)).casefold()


def test_entries_are_the_standards_entries_in_its_order():
    by_name = sorted(pycountry.countries, key=lambda c: folded(c.name))
    assert [c.code for c in ENTRIES] == [c.alpha_2 for c in by_name]


# This module's names where they are short forms of the standard's English
# short names (pycountry's); every other name is the standard's.
SHORT_FORMS = {
    "BO": "Bolivia", "BQ": "Bonaire", "CD": "Democratic Republic of the Congo", "FK": "Falkland Islands",
    "VA": "Vatican City", "IR": "Iran", "KP": "North Korea", "KR": "South Korea", "LA": "Laos",
    "FM": "Micronesia", "MD": "Moldova", "PS": "Palestine", "MF": "Saint Martin", "SX": "Sint Maarten",
    "TW": "Taiwan", "TZ": "Tanzania", "GB": "United Kingdom of Great Britain and Northern Ireland",
    "US": "United States of America", "VE": "Venezuela", "VG": "British Virgin Islands",
    "VI": "U.S. Virgin Islands",
}


def test_names_are_the_standards_or_the_listed_short_forms():
    expected = [SHORT_FORMS.get(c.code, pycountry.countries.get(alpha_2=c.code).name) for c in ENTRIES]
    wrong = [(c.code, c.name, name) for c, name in zip(ENTRIES, expected) if c.name != name]
    assert wrong == []
    assert all(pycountry.countries.get(alpha_2=code).name != name for code, name in SHORT_FORMS.items())


def test_alpha3_codes_agree_with_pycountry():
    wrong = [(c.code, c.code3) for c in ENTRIES if c.code3 != pycountry.countries.get(alpha_2=c.code).alpha_3]
    assert wrong == []


@pytest.mark.parametrize(
    "code, name",
    [
        ("AF", "Afghanistan"),
        ("AX", "Åland Islands"),
        ("CI", "Côte d'Ivoire"),
        ("CW", "Curaçao"),
        ("TR", "Türkiye"),
        ("RE", "Réunion"),
        ("BL", "Saint Barthélemy"),
        ("GB", "United Kingdom of Great Britain and Northern Ireland"),
        ("US", "United States of America"),
        ("VA", "Vatican City"),
        ("KP", "North Korea"),
        ("KR", "South Korea"),
        ("VG", "British Virgin Islands"),
        ("VI", "U.S. Virgin Islands"),
        ("CD", "Democratic Republic of the Congo"),
        ("SH", "Saint Helena, Ascension and Tristan da Cunha"),
        ("BQ", "Bonaire"),
        ("MF", "Saint Martin"),
        ("ZW", "Zimbabwe"),
    ],
)
def test_names_and_text_forms(code, name):
    country = getattr(Country, code)
    assert all(type(p) is str for p in (country.code, country.code3, country.name, country.flag))
    assert (str(country), country.name, country.code, repr(country)) == (name, name, code, f"Country<{code}>")
    assert Country(code) == country and Country(code) is not country


def test_every_member_but_xx_is_a_class_attribute_holding_itself():
    assert all(getattr(Country, c.code) == c for c in ENTRIES)
    assert all(getattr(Country, c.code) is getattr(Country, c.code) for c in ENTRIES)
    assert not hasattr(Country, "XX")


def test_uncategorized():
    xx = Country("XX")
    assert (xx.name, str(xx), xx.code, xx.code3, xx.flag, repr(xx)) == (
        "Uncategorized", "Uncategorized", "XX", "XXX", "", "Country<XX>")
    assert MEMBERS[-1] == xx and len(xx) == 250


@pytest.mark.parametrize("text", ["gb", "Gb", "GBR", " GB", "GB ", "G", "", "United Kingdom", "826", "xx"])
def test_only_alpha2_codes_construct(text):
    with pytest.raises(ValueError):
        Country(text)


def test_members_and_length():
    assert len(MEMBERS) == 250 and [str(m.code) for m in MEMBERS[:2]] == ["AF", "AX"]
    assert MEMBERS[-1].code == "XX" and {len(m) for m in MEMBERS} == {250}
    assert len({m.code for m in MEMBERS}) == len({m.code3 for m in MEMBERS}) == 250


def test_ordering_follows_alpha2_codes_not_members():
    assert Country.AX > Country.AL and Country.DZ > Country.DO and Country.AF < Country.AX
    assert [m.code for m in sorted(MEMBERS)] == sorted(m.code for m in MEMBERS)


def test_properties_in_order_and_read_only():
    descriptors = [k for k, v in vars(Country).items() if type(v).__name__ == "getset_descriptor"]
    assert descriptors == ["code", "code3", "name", "flag"]
    for name in descriptors:
        with pytest.raises(AttributeError):
            setattr(Country.FR, name, "x")


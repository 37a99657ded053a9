"""Currency: codes, names, minor-unit texts and the places of the odd members."""

import pycountry
import pytest

from tessamir import Currency

MEMBERS = Currency.members()

MINOR_UNITS = [
    ("EUr", "EUX", "Euro (cents)"),
    ("GBp", "GBX", "Penny sterling"),
    ("USd", "USX", "United States penny"),
]

# Code, index, name: the ends, the odd places and their neighbours, and names
# with characters beyond ASCII.
KNOWN = [
    ("AED", 0, "United Arab Emirates dirham"),
    ("EUR", 47, "Euro"),
    ("EUX", 48, "Euro (cents)"),
    ("GBP", 51, "Pound sterling"),
    ("GBX", 52, "Penny sterling"),
    ("RSD", 119, "Serbian dinar"),
    ("CNY", 120, "Renminbi"),
    ("RUB", 121, "Russian ruble"),
    ("USD", 150, "United States dollar"),
    ("USX", 151, "United States penny"),
    ("USN", 152, "United States dollar"),
    ("XXX", 178, "No currency"),
    ("ZWL", 182, "Zimbabwean dollar"),
    ("ISK", 69, "Icelandic króna"),
    ("STN", 135, "São Tomé and Príncipe dobra"),
    ("TOP", 143, "Tongan paʻanga"),
    ("VND", 159, "Vietnamese đồng"),
]


# This module's names where they differ from pycountry's other than in case
# (pycountry capitalises every word), and where pycountry has no such code.
OWN_NAMES = {
    "AED": "United Arab Emirates dirham", "AFN": "Afghan afghani", "ALL": "Albanian lek",
    "ANG": "Netherlands Antillean guilder", "AOA": "Angolan kwanza", "AZN": "Azerbaijani manat",
    "BAM": "Bosnia and Herzegovina convertible mark", "BDT": "Bangladeshi taka", "BGN": "Bulgarian lev",
    "BIF": "Burundian franc", "BOV": "Bolivian Mvdol", "BTN": "Bhutanese ngultrum", "BWP": "Botswana pula",
    "COU": "Unidad de Valor Real (UVR)", "CUC": "Cuban convertible peso", "CVE": "Cape Verdean escudo",
    "DJF": "Djiboutian franc", "ERN": "Eritrean nakfa", "EUX": "Euro (cents)", "GBX": "Penny sterling",
    "GEL": "Georgian lari", "GHS": "Ghanaian cedi", "GMD": "Gambian dalasi", "GTQ": "Guatemalan quetzal",
    "GYD": "Guyanese dollar", "HNL": "Honduran lempira", "HTG": "Haitian gourde", "HUF": "Hungarian forint",
    "IDR": "Indonesian rupiah", "ILS": "Israeli new shekel", "ISK": "Icelandic króna", "JPY": "Japanese yen",
    "KGS": "Kyrgyzstani som", "KHR": "Cambodian riel", "KMF": "Comoro franc", "KRW": "South Korean won",
    "KZT": "Kazakhstani tenge", "LKR": "Sri Lankan rupee", "LSL": "Lesotho loti", "MKD": "Macedonian denar",
    "MMK": "Myanmar kyat", "MNT": "Mongolian tögrög", "MOP": "Macanese pataca", "MRU": "Mauritanian ouguiya",
    "MUR": "Mauritian rupee", "MVR": "Maldivian rufiyaa", "MWK": "Malawian kwacha",
    "MXV": "Mexican Unidad de Inversion", "MZN": "Mozambican metical", "NAD": "Namibian dollar",
    "NGN": "Nigerian naira", "NIO": "Nicaraguan córdoba", "OMR": "Omani rial", "PAB": "Panamanian balboa",
    "PEN": "Peruvian sol", "PGK": "Papua New Guinean kina", "PKR": "Pakistani rupee", "PLN": "Polish złoty",
    "PYG": "Paraguayan guaraní", "QAR": "Qatari riyal", "CNY": "Renminbi", "RWF": "Rwandan franc",
    "SLE": "Sierra Leonean leone", "SLL": "Sierra Leonean leone", "SRD": "Surinamese dollar",
    "STN": "São Tomé and Príncipe dobra", "SVC": "Salvadoran colón", "SZL": "Swazi lilangeni",
    "THB": "Thai baht", "TJS": "Tajikistani somoni", "TMT": "Turkmenistan manat", "TOP": "Tongan paʻanga",
    "UAH": "Ukrainian hryvnia", "UGX": "Ugandan shilling", "USD": "United States dollar",
    "USX": "United States penny", "USN": "United States dollar", "UYI": "Uruguay Peso en Unidades Indexadas",
    "UYU": "Uruguayan peso", "VED": "Venezuelan digital bolívar", "VES": "Venezuelan sovereign bolívar",
    "VND": "Vietnamese đồng", "VUV": "Vanuatu vatu", "WST": "Samoan tala", "XBA": "European Composite Unit",
    "XBB": "European Monetary Unit", "XBC": "European Unit of Account 9", "XBD": "European Unit of Account 17",
    "XDR": "Special drawing rights", "XTS": "Code reserved for testing", "XXX": "No currency",
    "ZAR": "South African rand", "ZWL": "Zimbabwean dollar",
}


def test_names_are_pycountrys_or_the_listed_ones():
    def agrees(member):
        if member.code in OWN_NAMES:
            return member.name == OWN_NAMES[member.code]
        entry = pycountry.currencies.get(alpha_3=member.code)
        return entry is not None and member.name.casefold() == entry.name.casefold()

    assert [(m.code, m.name) for m in MEMBERS if not agrees(m)] == []


@pytest.mark.parametrize("text, code, name", MINOR_UNITS)
def test_minor_unit_text_gives_minor_unit_member(text, code, name):
    member = Currency(text)
    assert member == getattr(Currency, code) == Currency(code)
    assert (str(member), repr(member), member.code, member.name) == (code, f"Currency<{code}>", code, name)
    assert not hasattr(Currency, text)


@pytest.mark.parametrize("code, index, name", KNOWN)
def test_known_members(code, index, name):
    member = MEMBERS[index]
    assert member == Currency(code) == getattr(Currency, code)
    assert (str(member), member.code, member.name) == (code, code, name)


def test_every_member_is_its_code():
    codes = [member.code for member in MEMBERS]
    assert len(codes) == len(set(codes)) == 183
    for member, code in zip(MEMBERS, codes):
        assert len(code) == 3 and code.isascii() and code.isupper()
        assert str(member) == code and getattr(Currency, code) == member and Currency(code) == member
        assert isinstance(member.name, str) and member.name
        assert len(member) == 183


def test_index_order_is_alphabetical_but_for_cny_and_usx():
    codes = [member.code for member in MEMBERS]
    assert [c for c in codes if c not in ("CNY", "USX")] == sorted(set(codes) - {"CNY", "USX"})


def test_ordering_follows_codes():
    assert [m.code for m in sorted(MEMBERS)] == sorted(m.code for m in MEMBERS)
    assert Currency.CLP < Currency.CNY < Currency.COP
    assert Currency.EUR < Currency.EUX < Currency.FJD
    assert Currency.USN < Currency.USX


def test_same_name_is_not_same_member():
    assert Currency.USD.name == Currency.USN.name and Currency.USD != Currency.USN
    assert Currency.SLE.name == Currency.SLL.name == "Sierra Leonean leone" and Currency.SLE != Currency.SLL


@pytest.mark.parametrize(
    "text",
    ["", "G", "GB", "GBPX", "GBpX", "EURO", "gbp", "Gbp", "GBx", "gBp", "EUR ", " EUR", "usd", "USD\n",
     "USX\0", "826", "Euro", "Pound sterling", "Penny sterling", "EU", "UsD"],
)
def test_rejected_texts(text):
    with pytest.raises(ValueError):
        Currency(text)


@pytest.mark.parametrize("prop", ["code", "name"])
def test_properties_are_read_only(prop):
    with pytest.raises(AttributeError):
        setattr(Currency.GBP, prop, "GBX")
    assert Currency.GBP.code == "GBP" and Currency.GBP.name == "Pound sterling"

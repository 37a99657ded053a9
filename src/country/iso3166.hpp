// The countries and territories of ISO 3166-1: alpha-2 and alpha-3 codes,
// display names and flag images, and the Country class built on them.
//
// Members 0 to 248 are the entries of the standard in the order of its list
// sorted by English short name (so AX follows AF); the display names are the
// short forms users know ("Vatican City", "South Korea"), which is why they do
// not always sort as the member order does. Member 249, XX "Uncategorized",
// stands for no known country and has no class attribute and no flag.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "../enum.hpp"

namespace tessamir::country {

// One member: its alpha-2 code (the class attribute and display text), its
// alpha-3 code and its display name.
struct Entry {
    Member member;
    std::string_view code3;
    std::string_view name;
};

inline constexpr Entry entries[] = {
    {{"AF"}, "AFG", "Afghanistan"},
    {{"AX"}, "ALA", "Åland Islands"},
    {{"AL"}, "ALB", "Albania"},
    {{"DZ"}, "DZA", "Algeria"},
    {{"AS"}, "ASM", "American Samoa"},
    {{"AD"}, "AND", "Andorra"},
    {{"AO"}, "AGO", "Angola"},
    {{"AI"}, "AIA", "Anguilla"},
    {{"AQ"}, "ATA", "Antarctica"},
    {{"AG"}, "ATG", "Antigua and Barbuda"},
    {{"AR"}, "ARG", "Argentina"},
    {{"AM"}, "ARM", "Armenia"},
    {{"AW"}, "ABW", "Aruba"},
    {{"AU"}, "AUS", "Australia"},
    {{"AT"}, "AUT", "Austria"},
    {{"AZ"}, "AZE", "Azerbaijan"},
    {{"BS"}, "BHS", "Bahamas"},
    {{"BH"}, "BHR", "Bahrain"},
    {{"BD"}, "BGD", "Bangladesh"},
    {{"BB"}, "BRB", "Barbados"},
    {{"BY"}, "BLR", "Belarus"},
    {{"BE"}, "BEL", "Belgium"},
    {{"BZ"}, "BLZ", "Belize"},
    {{"BJ"}, "BEN", "Benin"},
    {{"BM"}, "BMU", "Bermuda"},
    {{"BT"}, "BTN", "Bhutan"},
    {{"BO"}, "BOL", "Bolivia"},
    {{"BQ"}, "BES", "Bonaire"},
    {{"BA"}, "BIH", "Bosnia and Herzegovina"},
    {{"BW"}, "BWA", "Botswana"},
    {{"BV"}, "BVT", "Bouvet Island"},
    {{"BR"}, "BRA", "Brazil"},
    {{"IO"}, "IOT", "British Indian Ocean Territory"},
    {{"BN"}, "BRN", "Brunei Darussalam"},
    {{"BG"}, "BGR", "Bulgaria"},
    {{"BF"}, "BFA", "Burkina Faso"},
    {{"BI"}, "BDI", "Burundi"},
    {{"CV"}, "CPV", "Cabo Verde"},
    {{"KH"}, "KHM", "Cambodia"},
    {{"CM"}, "CMR", "Cameroon"},
    {{"CA"}, "CAN", "Canada"},
    {{"KY"}, "CYM", "Cayman Islands"},
    {{"CF"}, "CAF", "Central African Republic"},
    {{"TD"}, "TCD", "Chad"},
    {{"CL"}, "CHL", "Chile"},
    {{"CN"}, "CHN", "China"},
    {{"CX"}, "CXR", "Christmas Island"},
    {{"CC"}, "CCK", "Cocos (Keeling) Islands"},
    {{"CO"}, "COL", "Colombia"},
    {{"KM"}, "COM", "Comoros"},
    {{"CG"}, "COG", "Congo"},
    {{"CD"}, "COD", "Democratic Republic of the Congo"},
    {{"CK"}, "COK", "Cook Islands"},
    {{"CR"}, "CRI", "Costa Rica"},
    {{"CI"}, "CIV", "Côte d'Ivoire"},
    {{"HR"}, "HRV", "Croatia"},
    {{"CU"}, "CUB", "Cuba"},
    {{"CW"}, "CUW", "Curaçao"},
    {{"CY"}, "CYP", "Cyprus"},
    {{"CZ"}, "CZE", "Czechia"},
    {{"DK"}, "DNK", "Denmark"},
    {{"DJ"}, "DJI", "Djibouti"},
    {{"DM"}, "DMA", "Dominica"},
    {{"DO"}, "DOM", "Dominican Republic"},
    {{"EC"}, "ECU", "Ecuador"},
    {{"EG"}, "EGY", "Egypt"},
    {{"SV"}, "SLV", "El Salvador"},
    {{"GQ"}, "GNQ", "Equatorial Guinea"},
    {{"ER"}, "ERI", "Eritrea"},
    {{"EE"}, "EST", "Estonia"},
    {{"SZ"}, "SWZ", "Eswatini"},
    {{"ET"}, "ETH", "Ethiopia"},
    {{"FK"}, "FLK", "Falkland Islands"},
    {{"FO"}, "FRO", "Faroe Islands"},
    {{"FJ"}, "FJI", "Fiji"},
    {{"FI"}, "FIN", "Finland"},
    {{"FR"}, "FRA", "France"},
    {{"GF"}, "GUF", "French Guiana"},
    {{"PF"}, "PYF", "French Polynesia"},
    {{"TF"}, "ATF", "French Southern Territories"},
    {{"GA"}, "GAB", "Gabon"},
    {{"GM"}, "GMB", "Gambia"},
    {{"GE"}, "GEO", "Georgia"},
    {{"DE"}, "DEU", "Germany"},
    {{"GH"}, "GHA", "Ghana"},
    {{"GI"}, "GIB", "Gibraltar"},
    {{"GR"}, "GRC", "Greece"},
    {{"GL"}, "GRL", "Greenland"},
    {{"GD"}, "GRD", "Grenada"},
    {{"GP"}, "GLP", "Guadeloupe"},
    {{"GU"}, "GUM", "Guam"},
    {{"GT"}, "GTM", "Guatemala"},
    {{"GG"}, "GGY", "Guernsey"},
    {{"GN"}, "GIN", "Guinea"},
    {{"GW"}, "GNB", "Guinea-Bissau"},
    {{"GY"}, "GUY", "Guyana"},
    {{"HT"}, "HTI", "Haiti"},
    {{"HM"}, "HMD", "Heard Island and McDonald Islands"},
    {{"VA"}, "VAT", "Vatican City"},
    {{"HN"}, "HND", "Honduras"},
    {{"HK"}, "HKG", "Hong Kong"},
    {{"HU"}, "HUN", "Hungary"},
    {{"IS"}, "ISL", "Iceland"},
    {{"IN"}, "IND", "India"},
    {{"ID"}, "IDN", "Indonesia"},
    {{"IR"}, "IRN", "Iran"},
    {{"IQ"}, "IRQ", "Iraq"},
    {{"IE"}, "IRL", "Ireland"},
    {{"IM"}, "IMN", "Isle of Man"},
    {{"IL"}, "ISR", "Israel"},
    {{"IT"}, "ITA", "Italy"},
    {{"JM"}, "JAM", "Jamaica"},
    {{"JP"}, "JPN", "Japan"},
    {{"JE"}, "JEY", "Jersey"},
    {{"JO"}, "JOR", "Jordan"},
    {{"KZ"}, "KAZ", "Kazakhstan"},
    {{"KE"}, "KEN", "Kenya"},
    {{"KI"}, "KIR", "Kiribati"},
    {{"KP"}, "PRK", "North Korea"},
    {{"KR"}, "KOR", "South Korea"},
    {{"KW"}, "KWT", "Kuwait"},
    {{"KG"}, "KGZ", "Kyrgyzstan"},
    {{"LA"}, "LAO", "Laos"},
    {{"LV"}, "LVA", "Latvia"},
    {{"LB"}, "LBN", "Lebanon"},
    {{"LS"}, "LSO", "Lesotho"},
    {{"LR"}, "LBR", "Liberia"},
    {{"LY"}, "LBY", "Libya"},
    {{"LI"}, "LIE", "Liechtenstein"},
    {{"LT"}, "LTU", "Lithuania"},
    {{"LU"}, "LUX", "Luxembourg"},
    {{"MO"}, "MAC", "Macao"},
    {{"MG"}, "MDG", "Madagascar"},
    {{"MW"}, "MWI", "Malawi"},
    {{"MY"}, "MYS", "Malaysia"},
    {{"MV"}, "MDV", "Maldives"},
    {{"ML"}, "MLI", "Mali"},
    {{"MT"}, "MLT", "Malta"},
    {{"MH"}, "MHL", "Marshall Islands"},
    {{"MQ"}, "MTQ", "Martinique"},
    {{"MR"}, "MRT", "Mauritania"},
    {{"MU"}, "MUS", "Mauritius"},
    {{"YT"}, "MYT", "Mayotte"},
    {{"MX"}, "MEX", "Mexico"},
    {{"FM"}, "FSM", "Micronesia"},
    {{"MD"}, "MDA", "Moldova"},
    {{"MC"}, "MCO", "Monaco"},
    {{"MN"}, "MNG", "Mongolia"},
    {{"ME"}, "MNE", "Montenegro"},
    {{"MS"}, "MSR", "Montserrat"},
    {{"MA"}, "MAR", "Morocco"},
    {{"MZ"}, "MOZ", "Mozambique"},
    {{"MM"}, "MMR", "Myanmar"},
    {{"NA"}, "NAM", "Namibia"},
    {{"NR"}, "NRU", "Nauru"},
    {{"NP"}, "NPL", "Nepal"},
    {{"NL"}, "NLD", "Netherlands"},
    {{"NC"}, "NCL", "New Caledonia"},
    {{"NZ"}, "NZL", "New Zealand"},
    {{"NI"}, "NIC", "Nicaragua"},
    {{"NE"}, "NER", "Niger"},
    {{"NG"}, "NGA", "Nigeria"},
    {{"NU"}, "NIU", "Niue"},
    {{"NF"}, "NFK", "Norfolk Island"},
    {{"MK"}, "MKD", "North Macedonia"},
    {{"MP"}, "MNP", "Northern Mariana Islands"},
    {{"NO"}, "NOR", "Norway"},
    {{"OM"}, "OMN", "Oman"},
    {{"PK"}, "PAK", "Pakistan"},
    {{"PW"}, "PLW", "Palau"},
    {{"PS"}, "PSE", "Palestine"},
    {{"PA"}, "PAN", "Panama"},
    {{"PG"}, "PNG", "Papua New Guinea"},
    {{"PY"}, "PRY", "Paraguay"},
    {{"PE"}, "PER", "Peru"},
    {{"PH"}, "PHL", "Philippines"},
    {{"PN"}, "PCN", "Pitcairn"},
    {{"PL"}, "POL", "Poland"},
    {{"PT"}, "PRT", "Portugal"},
    {{"PR"}, "PRI", "Puerto Rico"},
    {{"QA"}, "QAT", "Qatar"},
    {{"RE"}, "REU", "Réunion"},
    {{"RO"}, "ROU", "Romania"},
    {{"RU"}, "RUS", "Russian Federation"},
    {{"RW"}, "RWA", "Rwanda"},
    {{"BL"}, "BLM", "Saint Barthélemy"},
    {{"SH"}, "SHN", "Saint Helena, Ascension and Tristan da Cunha"},
    {{"KN"}, "KNA", "Saint Kitts and Nevis"},
    {{"LC"}, "LCA", "Saint Lucia"},
    {{"MF"}, "MAF", "Saint Martin"},
    {{"PM"}, "SPM", "Saint Pierre and Miquelon"},
    {{"VC"}, "VCT", "Saint Vincent and the Grenadines"},
    {{"WS"}, "WSM", "Samoa"},
    {{"SM"}, "SMR", "San Marino"},
    {{"ST"}, "STP", "Sao Tome and Principe"},
    {{"SA"}, "SAU", "Saudi Arabia"},
    {{"SN"}, "SEN", "Senegal"},
    {{"RS"}, "SRB", "Serbia"},
    {{"SC"}, "SYC", "Seychelles"},
    {{"SL"}, "SLE", "Sierra Leone"},
    {{"SG"}, "SGP", "Singapore"},
    {{"SX"}, "SXM", "Sint Maarten"},
    {{"SK"}, "SVK", "Slovakia"},
    {{"SI"}, "SVN", "Slovenia"},
    {{"SB"}, "SLB", "Solomon Islands"},
    {{"SO"}, "SOM", "Somalia"},
    {{"ZA"}, "ZAF", "South Africa"},
    {{"GS"}, "SGS", "South Georgia and the South Sandwich Islands"},
    {{"SS"}, "SSD", "South Sudan"},
    {{"ES"}, "ESP", "Spain"},
    {{"LK"}, "LKA", "Sri Lanka"},
    {{"SD"}, "SDN", "Sudan"},
    {{"SR"}, "SUR", "Suriname"},
    {{"SJ"}, "SJM", "Svalbard and Jan Mayen"},
    {{"SE"}, "SWE", "Sweden"},
    {{"CH"}, "CHE", "Switzerland"},
    {{"SY"}, "SYR", "Syrian Arab Republic"},
    {{"TW"}, "TWN", "Taiwan"},
    {{"TJ"}, "TJK", "Tajikistan"},
    {{"TZ"}, "TZA", "Tanzania"},
    {{"TH"}, "THA", "Thailand"},
    {{"TL"}, "TLS", "Timor-Leste"},
    {{"TG"}, "TGO", "Togo"},
    {{"TK"}, "TKL", "Tokelau"},
    {{"TO"}, "TON", "Tonga"},
    {{"TT"}, "TTO", "Trinidad and Tobago"},
    {{"TN"}, "TUN", "Tunisia"},
    {{"TR"}, "TUR", "Türkiye"},
    {{"TM"}, "TKM", "Turkmenistan"},
    {{"TC"}, "TCA", "Turks and Caicos Islands"},
    {{"TV"}, "TUV", "Tuvalu"},
    {{"UG"}, "UGA", "Uganda"},
    {{"UA"}, "UKR", "Ukraine"},
    {{"AE"}, "ARE", "United Arab Emirates"},
    {{"GB"}, "GBR", "United Kingdom of Great Britain and Northern Ireland"},
    {{"US"}, "USA", "United States of America"},
    {{"UM"}, "UMI", "United States Minor Outlying Islands"},
    {{"UY"}, "URY", "Uruguay"},
    {{"UZ"}, "UZB", "Uzbekistan"},
    {{"VU"}, "VUT", "Vanuatu"},
    {{"VE"}, "VEN", "Venezuela"},
    {{"VN"}, "VNM", "Viet Nam"},
    {{"VG"}, "VGB", "British Virgin Islands"},
    {{"VI"}, "VIR", "U.S. Virgin Islands"},
    {{"WF"}, "WLF", "Wallis and Futuna"},
    {{"EH"}, "ESH", "Western Sahara"},
    {{"YE"}, "YEM", "Yemen"},
    {{"ZM"}, "ZMB", "Zambia"},
    {{"ZW"}, "ZWE", "Zimbabwe"},
    {{nullptr, "XX"}, "XXX", "Uncategorized"},
};

inline constexpr std::size_t size = std::size(entries);
static_assert(size == 250);

consteval std::array<Member, size> members() {
    std::array<Member, size> m{};
    for (std::size_t i = 0; i < size; ++i) m[i] = entries[i].member;
    return m;
}

inline constexpr EnumTable<size> country_table{members()};
static_assert(country_table.attribute_count == 249, "every member but XX has a class attribute");

// The member with the given alpha-2 code. Not a constant for an unknown code.
constexpr Index index_of(std::string_view code) {
    for (std::size_t i = 0; i < size; ++i) {
        if (country_table.keys[i] == code) return static_cast<Index>(i);
    }
    invalid_table("no country has this alpha-2 code");
    return no_member;
}

inline constexpr Index uncategorized = index_of("XX");
static_assert(uncategorized == size - 1 && entries[uncategorized].member.attribute == nullptr);
static_assert(index_of("AX") == 1 && index_of("CA") == 40 && index_of("US") == 235);

inline constexpr std::array<std::string_view, size> names = [] {
    std::array<std::string_view, size> n{};
    for (std::size_t i = 0; i < size; ++i) n[i] = entries[i].name;
    return n;
}();

constexpr bool codes_well_formed() {
    const auto upper = [](std::string_view code, std::size_t length) {
        if (code.size() != length) return false;
        for (const char c : code) {
            if (c < 'A' || c > 'Z') return false;
        }
        return true;
    };
    for (std::size_t i = 0; i < size; ++i) {
        if (!upper(country_table.keys[i], 2) || !upper(entries[i].code3, 3) || entries[i].name.empty()) return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (entries[i].code3 == entries[j].code3) return false;
        }
    }
    return true;
}
static_assert(codes_well_formed(), "alpha-2 and alpha-3 codes are unique uppercase letters");

// ---------------------------------------------------------------------------
// The Country class. Its str() is the display name; its display text (what
// repr shows, what ordering compares and the constructor accepts) is the
// alpha-2 code.

// An instance: the display name and, twice, the member index.
struct CountryObject {
    PyObject_HEAD
    std::string_view name;  // constant text, not owned
    Index code;
    Index code3;
};

// Sets the name and code3 of a new instance from its index (iso3166.cpp).
void fill(PyObject* self, Index index);

// The read-only properties, each a new str (iso3166.cpp).
PyObject* get_code(PyObject* self, void*);
PyObject* get_code3(PyObject* self, void*);
PyObject* get_name(PyObject* self, void*);
PyObject* get_flag(PyObject* self, void*);

inline constexpr PyGetSetDef properties[] = {
    {"code", get_code, nullptr, "", nullptr},
    {"code3", get_code3, nullptr, "", nullptr},
    {"name", get_name, nullptr, "", nullptr},
    {"flag", get_flag, nullptr, "", nullptr},
};

inline constexpr EnumClassSpec country_class = describe<country_table>(
    "builtins.Country", {}, properties, Layout{sizeof(CountryObject), offsetof(CountryObject, code), fill}, names);

}  // namespace tessamir::country

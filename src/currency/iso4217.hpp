// Currencies: the alphabetic codes of ISO 4217 with a common English name,
// and three codes for amounts in the minor unit of the euro, the pound
// sterling and the US dollar.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "../enum.hpp"

namespace tessamir::currency {

// One currency: its code (display text and class attribute) and its name.
struct CurrencyRow {
    const char* code;
    std::string_view name;
};

// Index order: alphabetical by code, except that each minor-unit code stands
// right after its major code (EUX, GBX, USX) and CNY stands between RSD and RUB.
inline constexpr CurrencyRow currency_rows[] = {
    {"AED", "United Arab Emirates dirham"},
    {"AFN", "Afghan afghani"},
    {"ALL", "Albanian lek"},
    {"AMD", "Armenian dram"},
    {"ANG", "Netherlands Antillean guilder"},
    {"AOA", "Angolan kwanza"},
    {"ARS", "Argentine peso"},
    {"AUD", "Australian dollar"},
    {"AWG", "Aruban florin"},
    {"AZN", "Azerbaijani manat"},
    {"BAM", "Bosnia and Herzegovina convertible mark"},
    {"BBD", "Barbados dollar"},
    {"BDT", "Bangladeshi taka"},
    {"BGN", "Bulgarian lev"},
    {"BHD", "Bahraini dinar"},
    {"BIF", "Burundian franc"},
    {"BMD", "Bermudian dollar"},
    {"BND", "Brunei dollar"},
    {"BOB", "Boliviano"},
    {"BOV", "Bolivian Mvdol"},
    {"BRL", "Brazilian real"},
    {"BSD", "Bahamian dollar"},
    {"BTN", "Bhutanese ngultrum"},
    {"BWP", "Botswana pula"},
    {"BYN", "Belarusian ruble"},
    {"BZD", "Belize dollar"},
    {"CAD", "Canadian dollar"},
    {"CDF", "Congolese franc"},
    {"CHE", "WIR euro"},
    {"CHF", "Swiss franc"},
    {"CHW", "WIR franc"},
    {"CLF", "Unidad de Fomento"},
    {"CLP", "Chilean peso"},
    {"COP", "Colombian peso"},
    {"COU", "Unidad de Valor Real (UVR)"},
    {"CRC", "Costa Rican colon"},
    {"CUC", "Cuban convertible peso"},
    {"CUP", "Cuban peso"},
    {"CVE", "Cape Verdean escudo"},
    {"CZK", "Czech koruna"},
    {"DJF", "Djiboutian franc"},
    {"DKK", "Danish krone"},
    {"DOP", "Dominican peso"},
    {"DZD", "Algerian dinar"},
    {"EGP", "Egyptian pound"},
    {"ERN", "Eritrean nakfa"},
    {"ETB", "Ethiopian birr"},
    {"EUR", "Euro"},
    {"EUX", "Euro (cents)"},
    {"FJD", "Fiji dollar"},
    {"FKP", "Falkland Islands pound"},
    {"GBP", "Pound sterling"},
    {"GBX", "Penny sterling"},
    {"GEL", "Georgian lari"},
    {"GHS", "Ghanaian cedi"},
    {"GIP", "Gibraltar pound"},
    {"GMD", "Gambian dalasi"},
    {"GNF", "Guinean franc"},
    {"GTQ", "Guatemalan quetzal"},
    {"GYD", "Guyanese dollar"},
    {"HKD", "Hong Kong dollar"},
    {"HNL", "Honduran lempira"},
    {"HTG", "Haitian gourde"},
    {"HUF", "Hungarian forint"},
    {"IDR", "Indonesian rupiah"},
    {"ILS", "Israeli new shekel"},
    {"INR", "Indian rupee"},
    {"IQD", "Iraqi dinar"},
    {"IRR", "Iranian rial"},
    {"ISK", "Icelandic króna"},
    {"JMD", "Jamaican dollar"},
    {"JOD", "Jordanian dinar"},
    {"JPY", "Japanese yen"},
    {"KES", "Kenyan shilling"},
    {"KGS", "Kyrgyzstani som"},
    {"KHR", "Cambodian riel"},
    {"KMF", "Comoro franc"},
    {"KPW", "North Korean won"},
    {"KRW", "South Korean won"},
    {"KWD", "Kuwaiti dinar"},
    {"KYD", "Cayman Islands dollar"},
    {"KZT", "Kazakhstani tenge"},
    {"LAK", "Lao kip"},
    {"LBP", "Lebanese pound"},
    {"LKR", "Sri Lankan rupee"},
    {"LRD", "Liberian dollar"},
    {"LSL", "Lesotho loti"},
    {"LYD", "Libyan dinar"},
    {"MAD", "Moroccan dirham"},
    {"MDL", "Moldovan leu"},
    {"MGA", "Malagasy ariary"},
    {"MKD", "Macedonian denar"},
    {"MMK", "Myanmar kyat"},
    {"MNT", "Mongolian tögrög"},
    {"MOP", "Macanese pataca"},
    {"MRU", "Mauritanian ouguiya"},
    {"MUR", "Mauritian rupee"},
    {"MVR", "Maldivian rufiyaa"},
    {"MWK", "Malawian kwacha"},
    {"MXN", "Mexican peso"},
    {"MXV", "Mexican Unidad de Inversion"},
    {"MYR", "Malaysian ringgit"},
    {"MZN", "Mozambican metical"},
    {"NAD", "Namibian dollar"},
    {"NGN", "Nigerian naira"},
    {"NIO", "Nicaraguan córdoba"},
    {"NOK", "Norwegian krone"},
    {"NPR", "Nepalese rupee"},
    {"NZD", "New Zealand dollar"},
    {"OMR", "Omani rial"},
    {"PAB", "Panamanian balboa"},
    {"PEN", "Peruvian sol"},
    {"PGK", "Papua New Guinean kina"},
    {"PHP", "Philippine peso"},
    {"PKR", "Pakistani rupee"},
    {"PLN", "Polish złoty"},
    {"PYG", "Paraguayan guaraní"},
    {"QAR", "Qatari riyal"},
    {"RON", "Romanian leu"},
    {"RSD", "Serbian dinar"},
    {"CNY", "Renminbi"},
    {"RUB", "Russian ruble"},
    {"RWF", "Rwandan franc"},
    {"SAR", "Saudi riyal"},
    {"SBD", "Solomon Islands dollar"},
    {"SCR", "Seychelles rupee"},
    {"SDG", "Sudanese pound"},
    {"SEK", "Swedish krona"},
    {"SGD", "Singapore dollar"},
    {"SHP", "Saint Helena pound"},
    {"SLE", "Sierra Leonean leone"},
    {"SLL", "Sierra Leonean leone"},
    {"SOS", "Somali shilling"},
    {"SRD", "Surinamese dollar"},
    {"SSP", "South Sudanese pound"},
    {"STN", "São Tomé and Príncipe dobra"},
    {"SVC", "Salvadoran colón"},
    {"SYP", "Syrian pound"},
    {"SZL", "Swazi lilangeni"},
    {"THB", "Thai baht"},
    {"TJS", "Tajikistani somoni"},
    {"TMT", "Turkmenistan manat"},
    {"TND", "Tunisian dinar"},
    {"TOP", "Tongan paʻanga"},
    {"TRY", "Turkish lira"},
    {"TTD", "Trinidad and Tobago dollar"},
    {"TWD", "New Taiwan dollar"},
    {"TZS", "Tanzanian shilling"},
    {"UAH", "Ukrainian hryvnia"},
    {"UGX", "Ugandan shilling"},
    {"USD", "United States dollar"},
    {"USX", "United States penny"},
    {"USN", "United States dollar"},
    {"UYI", "Uruguay Peso en Unidades Indexadas"},
    {"UYU", "Uruguayan peso"},
    {"UYW", "Unidad previsional"},
    {"UZS", "Uzbekistan sum"},
    {"VED", "Venezuelan digital bolívar"},
    {"VES", "Venezuelan sovereign bolívar"},
    {"VND", "Vietnamese đồng"},
    {"VUV", "Vanuatu vatu"},
    {"WST", "Samoan tala"},
    {"XAF", "CFA franc BEAC"},
    {"XAG", "Silver"},
    {"XAU", "Gold"},
    {"XBA", "European Composite Unit"},
    {"XBB", "European Monetary Unit"},
    {"XBC", "European Unit of Account 9"},
    {"XBD", "European Unit of Account 17"},
    {"XCD", "East Caribbean dollar"},
    {"XDR", "Special drawing rights"},
    {"XOF", "CFA franc BCEAO"},
    {"XPD", "Palladium"},
    {"XPF", "CFP franc"},
    {"XPT", "Platinum"},
    {"XSU", "SUCRE"},
    {"XTS", "Code reserved for testing"},
    {"XUA", "ADB Unit of Account"},
    {"XXX", "No currency"},
    {"YER", "Yemeni rial"},
    {"ZAR", "South African rand"},
    {"ZMW", "Zambian kwacha"},
    {"ZWL", "Zimbabwean dollar"},
};

inline constexpr std::size_t currency_count = std::size(currency_rows);

// The index of a code in the table, or no_member.
consteval Index currency_index(std::string_view code) {
    for (std::size_t i = 0; i < currency_count; ++i) {
        if (code == currency_rows[i].code) return static_cast<Index>(i);
    }
    return no_member;
}

// The minor-unit codes are also accepted as they are quoted: cents of the
// euro, pence of the pound, cents of the dollar.
inline constexpr Alias minor_unit_texts[] = {
    {"EUr", currency_index("EUX")},
    {"GBp", currency_index("GBX")},
    {"USd", currency_index("USX")},
};

inline constexpr auto currency_table = []() consteval {
    std::array<Member, currency_count> members{};
    for (std::size_t i = 0; i < currency_count; ++i) members[i] = Member{currency_rows[i].code};
    return EnumTable<currency_count, std::size(minor_unit_texts)>(members, std::to_array(minor_unit_texts));
}();

// Every code is three capital ASCII letters; with CNY and USX left out the
// codes ascend strictly.
consteval bool codes_well_formed() {
    std::string_view previous;
    for (std::size_t i = 0; i < currency_count; ++i) {
        const std::string_view code = currency_rows[i].code;
        if (code.size() != 3) return false;
        for (const char c : code) {
            if (c < 'A' || c > 'Z') return false;
        }
        if (code == "CNY" || code == "USX") continue;
        if (!previous.empty() && !bytes_less(previous, code)) return false;
        previous = code;
    }
    return true;
}

static_assert(currency_count == 183);
static_assert(codes_well_formed());
static_assert(currency_index("AED") == 0 && currency_index("ZWL") == 182);
static_assert(currency_index("EUX") == 48 && currency_index("EUR") == 47);
static_assert(currency_index("GBX") == 52 && currency_index("GBP") == 51);
static_assert(currency_index("CNY") == 120 && currency_index("RSD") == 119 && currency_index("RUB") == 121);
static_assert(currency_index("USX") == 151 && currency_index("USD") == 150 && currency_index("USN") == 152);

PyObject* currency_code(PyObject* self, void*);
PyObject* currency_name(PyObject* self, void*);

inline constexpr PyGetSetDef currency_properties[] = {
    {"code", currency_code, nullptr, "", nullptr},
    {"name", currency_name, nullptr, "", nullptr},
};

inline constexpr EnumClassSpec currency_class =
    describe<currency_table>("builtins.Currency", {}, currency_properties);

}  // namespace tessamir::currency

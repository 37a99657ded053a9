// The Exchange class: its table, evaluated here once, and its link to the
// Country class.
#include "iso10383.hpp"

#include "../country/iso3166.hpp"

namespace tessamir::exchange {
namespace {

static_assert(exchange_count == 96);
constexpr std::size_t code_length = 4;

// The display texts: the first character of the code, then the others with
// their letters in lower case.
constexpr auto display_texts = [] {
    std::array<std::array<char, code_length>, exchange_count> texts{};
    for (std::size_t i = 0; i < exchange_count; ++i) {
        const Member& member = exchange_rows[i].member;
        const std::string_view code = member.attribute;
        if (!member.text.empty()) invalid_table("the display text derives from the code");
        if (code.size() != code_length) invalid_table("a code has four characters");
        for (std::size_t k = 0; k < code_length; ++k) {
            const char c = code[k];
            const bool letter = c >= 'A' && c <= 'Z';
            if (!letter && (c < '0' || c > '9')) invalid_table("codes are uppercase letters and digits");
            texts[i][k] = k > 0 && letter ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return texts;
}();

consteval std::array<Member, exchange_count> members() {
    std::array<Member, exchange_count> m{};
    for (std::size_t i = 0; i < exchange_count; ++i) {
        m[i] = Member{exchange_rows[i].member.attribute, {display_texts[i].data(), code_length}};
    }
    return m;
}

constexpr auto exchange_table = enum_table(members());

// The Country member index of each venue. Rows of one country are together,
// so each country's code is looked up once.
constexpr std::array<Index, exchange_count> countries = [] {
    std::array<Index, exchange_count> table{};
    for (std::size_t i = 0; i < exchange_count; ++i) {
        const bool same = i > 0 && exchange_rows[i].country == exchange_rows[i - 1].country;
        table[i] = same ? table[i - 1] : country::country_index(exchange_rows[i].country);
    }
    return table;
}();

// country(): a new Country member, the country of the venue.
PyObject* exchange_country(PyObject* self, PyObject*);

constexpr PyMethodDef exchange_methods[] = {{"country", exchange_country, METH_NOARGS, ""}};

constexpr EnumClassSpec exchange_class = describe<exchange_table>("builtins.Exchange", exchange_methods);

PyObject* exchange_country(PyObject* self, PyObject*) {
    return country::new_country(countries[member_index(exchange_class, self)]);
}

}  // namespace

constexpr Registration exchange_registration = registration<exchange_class>();

}  // namespace tessamir::exchange

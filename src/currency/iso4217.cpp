// The Currency class: its table, evaluated here once, and its properties.
#include "iso4217.hpp"

namespace tessamir::currency {
namespace {

constexpr auto currency_table = enum_table(members_of(currency_rows), currency_aliases);

constexpr std::array<std::string_view, currency_count> names = [] {
    std::array<std::string_view, currency_count> n{};
    for (std::size_t i = 0; i < currency_count; ++i) n[i] = currency_rows[i].name;
    return n;
}();

// Every code is three capital ASCII letters; with CNY and USX left out the
// codes ascend strictly.
consteval bool codes_well_formed() {
    std::string_view previous;
    for (std::size_t i = 0; i < currency_count; ++i) {
        const std::string_view code = currency_rows[i].member.attribute;
        if (code.size() != 3 || !currency_rows[i].member.text.empty()) return false;
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
static_assert(codes_well_formed(), "codes are three capital letters, ascending (CNY and USX aside)");

PyObject* currency_code(PyObject* self, void*);
PyObject* currency_name(PyObject* self, void*);

constexpr PyGetSetDef currency_properties[] = {
    {"code", currency_code, nullptr, "", nullptr},
    {"name", currency_name, nullptr, "", nullptr},
};

constexpr EnumClassSpec currency_class = describe<currency_table>("builtins.Currency", {}, currency_properties);

static_assert(all_ascii(currency_class.texts), "currency codes are ASCII");

// Which currency names are plain ASCII.
constexpr auto name_ascii = ascii_flags<currency_count>(names);

PyObject* currency_code(PyObject* self, void*) {
    return ascii_str(currency_class.texts[member_index(currency_class, self)]);
}

PyObject* currency_name(PyObject* self, void*) {
    const Index index = member_index(currency_class, self);
    return new_str(names[index], name_ascii[index]);
}

}  // namespace

constexpr Registration currency_registration = registration<currency_class>();

}  // namespace tessamir::currency

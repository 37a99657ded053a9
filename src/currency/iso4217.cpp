// The properties of a currency.
#include "iso4217.hpp"

namespace tessamir::currency {

namespace {

static_assert(all_ascii(currency_class.texts), "currency codes are ASCII");

// Which currency names are plain ASCII.
constexpr auto name_ascii = [] {
    std::array<bool, currency_count> ascii{};
    for (std::size_t i = 0; i < currency_count; ++i) ascii[i] = is_ascii(currency_rows[i].name);
    return ascii;
}();

}  // namespace

PyObject* currency_code(PyObject* self, void*) {
    return ascii_str(currency_class.texts[member_index(currency_class, self)]);
}

PyObject* currency_name(PyObject* self, void*) {
    const Index index = member_index(currency_class, self);
    return new_str(currency_rows[index].name, name_ascii[index]);
}

}  // namespace tessamir::currency

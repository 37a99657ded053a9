// The properties of a currency.
#include "iso4217.hpp"

namespace tessamir::currency {

PyObject* currency_code(PyObject* self, void*) {
    return text_str(currency_class, member_index(currency_class, self));
}

PyObject* currency_name(PyObject* self, void*) {
    return new_str(currency_rows[member_index(currency_class, self)].name);
}

}  // namespace tessamir::currency

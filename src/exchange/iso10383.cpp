// The Exchange class's link to the Country class.
#include "iso10383.hpp"

namespace tessamir::exchange {

PyObject* country_of(PyObject* self, PyObject*) {
    return new_member<country::country_class>(countries[member_index(exchange_class, self)]);
}

}  // namespace tessamir::exchange

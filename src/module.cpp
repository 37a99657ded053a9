// The module: its definition, the registration table and the init function.
#include "country/iso3166.hpp"
#include "currency/iso4217.hpp"
#include "enum.hpp"
#include "exchange/iso10383.hpp"
#include "sector/industry.hpp"
#include "sector/industry_group.hpp"
#include "sector/sector.hpp"
#include "sector/subindustry.hpp"
#include "security/bond.hpp"
#include "security/commodity.hpp"
#include "security/equity.hpp"
#include "security/fund.hpp"
#include "security/option.hpp"
#include "security/security.hpp"
#include "trading/order_entry.hpp"

#include <string_view>

namespace tessamir {
namespace {

// The classes in the order they are registered, which is also the order of
// the names in __all__.
constexpr const Registration* registry[] = {
    &country::country_registration,
    &currency::currency_registration,
    &exchange::exchange_registration,
    &sector::sector_registration,
    &sector::industry_group_registration,
    &sector::industry_registration,
    &sector::subindustry_registration,
    &security::security_type_registration,
    &security::equity_type_registration,
    &security::option_type_registration,
    &security::option_exercise_type_registration,
    &security::bond_type_registration,
    &security::commodity_type_registration,
    &security::fund_type_registration,
    &security::fund_sub_type_registration,
    &security::mutual_fund_endedness_registration,
    &trading::order_type_registration,
    &trading::side_registration,
    &trading::time_in_force_registration,
    &trading::order_flag_registration,
    &trading::trading_type_registration,
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "tessamir",  // m_name
    "",          // m_doc
    0,           // m_size
    nullptr,     // m_methods
    nullptr,     // m_slots
    nullptr,     // m_traverse
    nullptr,     // m_clear
    nullptr,     // m_free
};

// The module's __all__ list: read, or created when absent. A new reference,
// or NULL with an exception set.
PyObject* all_list(PyObject* module) {
    PyObject* all = PyObject_GetAttrString(module, "__all__");
    if (all == nullptr) {
        if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return nullptr;
        PyErr_Clear();
        all = PyList_New(0);
        if (all == nullptr) return nullptr;
        if (PyObject_SetAttrString(module, "__all__", all) < 0) {
            Py_DECREF(all);
            return nullptr;
        }
    }
    if (!PyList_Check(all)) {
        PyObject* type_name = PyType_GetName(Py_TYPE(all));
        if (type_name != nullptr) {
            PyErr_Format(PyExc_TypeError, "'%U' object cannot be converted to 'PyList'", type_name);
            Py_DECREF(type_name);
        }
        Py_DECREF(all);
        return nullptr;
    }
    return all;
}

int register_class(PyObject* module, const Registration& row) {
    PyTypeObject* type = row.type();
    if (type == nullptr) return -1;
    PyObject* all = all_list(module);
    if (all == nullptr) return -1;
    PyObject* name = PyUnicode_FromString(row.name);
    const int appended = name != nullptr ? PyList_Append(all, name) : -1;
    Py_XDECREF(name);
    Py_DECREF(all);
    if (appended < 0) return -1;
    return PyObject_SetAttrString(module, row.name, reinterpret_cast<PyObject*>(type));
}

}  // namespace

int register_classes(PyObject* module) {
    for (const Registration* row : registry) {
        if (register_class(module, *row) < 0) return -1;
    }
    return 0;
}

}  // namespace tessamir

PyMODINIT_FUNC PyInit_tessamir(void) {
#ifndef Py_GIL_DISABLED
    // A free-threaded CPython 3.13 loads an abi3 file too, but its objects are
    // laid out differently and it has no global lock: this build would crash
    // there. Its version text says so; reading it and raising the error pass
    // only C strings and the exception type, no object of that interpreter.
    if (std::string_view(Py_GetVersion()).find("free-threading build") != std::string_view::npos) {
        PyErr_SetString(PyExc_ImportError,
                        "this tessamir module is built for CPython with the global interpreter lock "
                        "(abi3); a free-threaded interpreter needs the module built for it");
        return nullptr;
    }
#endif
    PyObject* module = PyModule_Create2(&tessamir::module_def, PYTHON_ABI_VERSION);
    if (module == nullptr) {
        if (!PyErr_Occurred()) {
            PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
        }
        return nullptr;
    }
#ifdef Py_GIL_DISABLED
    // Nothing the module does after its import needs a lock: see enum_type.
    if (PyUnstable_Module_SetGIL(module, Py_MOD_GIL_NOT_USED) < 0) {
        Py_DECREF(module);
        return nullptr;
    }
#endif
    if (tessamir::register_classes(module) < 0) {
        Py_DECREF(module);
        return nullptr;
    }
    return module;
}

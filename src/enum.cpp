// The class protocol shared by every enumeration class.
#include "enum.hpp"

#include <algorithm>

namespace tessamir {

namespace {

constexpr const char no_exception[] = "attempted to fetch exception but none was set";

// Longest part of an unknown text quoted in the error message.
constexpr Py_ssize_t shown_characters = 200;

}  // namespace

PyObject* new_str(std::string_view text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

PyObject* text_str(const EnumClassSpec& cls, Index index) {
    return new_str(cls.texts[index]);
}

namespace detail {

// Binds the single parameter `value` from any arguments; returns a borrowed
// reference or NULL with the TypeError set.
PyObject* bind_value(const EnumClassSpec& cls, PyObject* args, PyObject* kwargs) {
    const Py_ssize_t given = PyTuple_Size(args);
    if (given < 0) return nullptr;
    if (given > 1) {
        PyErr_Format(PyExc_TypeError, "%s.__new__() takes 1 positional arguments but %zd were given",
                     cls.name(), given);
        return nullptr;
    }
    PyObject* value = given == 1 ? PyTuple_GetItem(args, 0) : nullptr;
    if (given == 1 && value == nullptr) return nullptr;
    if (kwargs != nullptr) {
        Py_ssize_t pos = 0;
        PyObject* key = nullptr;
        PyObject* item = nullptr;
        while (PyDict_Next(kwargs, &pos, &key, &item)) {
            const bool is_value = PyUnicode_Check(key) && PyUnicode_CompareWithASCIIString(key, "value") == 0;
            if (!is_value) {
                PyErr_Format(PyExc_TypeError, "%s.__new__() got an unexpected keyword argument '%S'",
                             cls.name(), key);
                return nullptr;
            }
            if (given == 1) {
                PyErr_Format(PyExc_TypeError, "%s.__new__() got multiple values for argument 'value'",
                             cls.name());
                return nullptr;
            }
            value = item;
        }
    }
    if (value == nullptr) {
        PyErr_Format(PyExc_TypeError, "%s.__new__() missing 1 required positional argument: 'value'",
                     cls.name());
    }
    return value;
}

PyObject* not_text(PyObject* value) {
    PyObject* type_name = PyType_GetQualName(Py_TYPE(value));
    if (type_name == nullptr) return nullptr;
    PyErr_Format(PyExc_TypeError, "argument 'value': '%U' object cannot be converted to 'PyString'", type_name);
    Py_DECREF(type_name);
    return nullptr;
}

PyObject* not_a_member(const EnumClassSpec& cls, PyObject* value, Py_ssize_t characters) {
    // An exact str copy of (the start of) the text, so that a str subclass's
    // own __repr__ cannot interfere with the message.
    PyObject* text = PyUnicode_Substring(value, 0, std::min(characters, shown_characters));
    if (text == nullptr) return nullptr;
    PyErr_Format(PyExc_ValueError, "%R%s is not a valid %s", text,
                 characters > shown_characters ? "..." : "", cls.name());
    Py_DECREF(text);
    return nullptr;
}

PyObject* no_instance() {
    if (!PyErr_Occurred()) PyErr_SetString(PyExc_SystemError, no_exception);
    return nullptr;
}

PyObject* compare(PyTypeObject* type, const EnumClassSpec& cls, PyObject* a, PyObject* b, int op) {
    if (Py_TYPE(a) != type || Py_TYPE(b) != type) Py_RETURN_NOTIMPLEMENTED;
    const Index x = member_index(cls, a);
    const Index y = member_index(cls, b);
    bool result = false;
    switch (op) {
        case Py_EQ: result = x == y; break;
        case Py_NE: result = x != y; break;
        case Py_LT: result = cls.rank[x] < cls.rank[y]; break;
        case Py_LE: result = cls.rank[x] <= cls.rank[y]; break;
        case Py_GT: result = cls.rank[x] > cls.rank[y]; break;
        case Py_GE: result = cls.rank[x] >= cls.rank[y]; break;
        default: Py_RETURN_NOTIMPLEMENTED;
    }
    if (result) Py_RETURN_TRUE;
    Py_RETURN_FALSE;
}

PyObject* same(PyObject* self, PyObject*) {
    Py_INCREF(self);
    return self;
}

void dealloc(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    auto free_instance = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_instance(self);
    Py_DECREF(type);
}

PyTypeObject* build(const EnumClassSpec& cls, PyType_Slot* slots, TypeState& state) {
    if (state.building) return state.type;  // a nested request while installing
    if (state.type == nullptr) {
        PyType_Spec type_spec{
            cls.type_name,
            static_cast<int>(cls.layout.basic_size),
            0,
            Py_TPFLAGS_DEFAULT,
            slots,
        };
        PyObject* type = PyType_FromSpec(&type_spec);
        if (type == nullptr) {
            // The interpreter's type builder can fail an allocation without
            // setting an error (3.11 does so when it copies the type name).
            if (!PyErr_Occurred()) PyErr_NoMemory();
            return nullptr;
        }
        state.type = reinterpret_cast<PyTypeObject*>(type);  // kept for the process
    }
    // Install the class attributes still missing. A failure leaves the ones
    // installed so far in place and the next request carries on from there,
    // so no attribute is ever installed twice.
    state.building = true;
    while (state.installed < cls.attributes.size()) {
        const Attribute& attribute = cls.attributes[state.installed];
        PyObject* member = new_member(state.type, cls, attribute.index);
        if (member == nullptr) break;
        const int failed = PyObject_SetAttrString(reinterpret_cast<PyObject*>(state.type), attribute.name, member);
        Py_DECREF(member);
        if (failed) break;
        ++state.installed;
    }
    state.building = false;
    return state.installed == cls.attributes.size() ? state.type : nullptr;
}

}  // namespace detail

}  // namespace tessamir

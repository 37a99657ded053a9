// The class protocol shared by every enumeration class.
#include "enum.hpp"

#include <algorithm>

namespace tessamir {

namespace {

constexpr const char no_exception[] = "attempted to fetch exception but none was set";

// Longest part of an unknown text quoted in the error message.
constexpr Py_ssize_t shown_characters = 200;

PyObject* not_a_member(const EnumClassSpec& spec, PyObject* value, Py_ssize_t characters) {
    // An exact str copy of (the start of) the text, so that a str subclass's
    // own __repr__ cannot interfere with the message.
    PyObject* text = PyUnicode_Substring(value, 0, std::min(characters, shown_characters));
    if (text == nullptr) return nullptr;
    PyErr_Format(PyExc_ValueError, "%R%s is not a valid %s", text,
                 characters > shown_characters ? "..." : "", spec.name());
    Py_DECREF(text);
    return nullptr;
}

// Binds the single parameter `value`; returns a borrowed reference or NULL
// with the TypeError set.
PyObject* bind_value(const EnumClassSpec& spec, PyObject* args, PyObject* kwargs) {
    const Py_ssize_t given = PyTuple_Size(args);
    if (given < 0) return nullptr;
    if (given > 1) {
        PyErr_Format(PyExc_TypeError, "%s.__new__() takes 1 positional arguments but %zd were given",
                     spec.name(), given);
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
                             spec.name(), key);
                return nullptr;
            }
            if (given == 1) {
                PyErr_Format(PyExc_TypeError, "%s.__new__() got multiple values for argument 'value'",
                             spec.name());
                return nullptr;
            }
            value = item;
        }
    }
    if (value == nullptr) {
        PyErr_Format(PyExc_TypeError, "%s.__new__() missing 1 required positional argument: 'value'",
                     spec.name());
    }
    return value;
}

}  // namespace

PyObject* new_member(PyTypeObject* type, const EnumClassSpec& spec, Index index) {
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = (alloc != nullptr ? alloc : PyType_GenericAlloc)(type, 0);
    if (self == nullptr) {
        if (!PyErr_Occurred()) PyErr_SetString(PyExc_SystemError, no_exception);
        return nullptr;
    }
    *(reinterpret_cast<Index*>(reinterpret_cast<char*>(self) + spec.layout.index_offset)) = index;
    if (spec.layout.fill != nullptr) spec.layout.fill(self, index);
    return self;
}

PyObject* new_str(std::string_view text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

PyObject* text_str(const EnumClassSpec& spec, Index index) {
    return new_str(spec.texts[index]);
}

PyObject* member_list(PyTypeObject* type, const EnumClassSpec& spec, std::size_t first, std::size_t count) {
    PyObject* list = PyList_New(static_cast<Py_ssize_t>(count));
    if (list == nullptr) return nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        PyObject* member = new_member(type, spec, static_cast<Index>(first + i));
        if (member == nullptr || PyList_SetItem(list, static_cast<Py_ssize_t>(i), member) < 0) {
            Py_DECREF(list);
            return nullptr;
        }
    }
    return list;
}

namespace detail {

PyObject* construct(PyTypeObject* type, const EnumClassSpec& spec, PyObject* args, PyObject* kwargs) {
    PyObject* value = bind_value(spec, args, kwargs);
    if (value == nullptr) return nullptr;
    if (!PyUnicode_Check(value)) {
        PyObject* type_name = PyType_GetQualName(Py_TYPE(value));
        if (type_name == nullptr) return nullptr;
        PyErr_Format(PyExc_TypeError, "argument 'value': '%U' object cannot be converted to 'PyString'",
                     type_name);
        Py_DECREF(type_name);
        return nullptr;
    }
    // Every character is at least one UTF-8 byte: a text with more characters
    // than the longest member text is rejected before it is encoded.
    const Py_ssize_t characters = PyUnicode_GetLength(value);
    if (characters < 0) return nullptr;
    if (static_cast<std::size_t>(characters) > spec.lookup.max_length) {
        return not_a_member(spec, value, characters);
    }
    Py_ssize_t size = 0;
    const char* bytes = PyUnicode_AsUTF8AndSize(value, &size);
    if (bytes == nullptr) return nullptr;
    const Index index = spec.lookup.find(bytes, static_cast<std::size_t>(size));
    if (index == no_member) return not_a_member(spec, value, characters);
    return new_member(type, spec, index);
}

PyObject* repr(const EnumClassSpec& spec, PyObject* self) {
    // "<Class><<text>>" assembled in place; describe() bounds its length.
    char buffer[256];
    const std::string_view name = spec.name();
    const std::string_view text = spec.texts[member_index(spec, self)];
    char* out = std::copy(name.begin(), name.end(), buffer);
    *out++ = '<';
    out = std::copy(text.begin(), text.end(), out);
    *out++ = '>';
    return PyUnicode_FromStringAndSize(buffer, out - buffer);
}

PyObject* compare(PyTypeObject* type, const EnumClassSpec& spec, PyObject* a, PyObject* b, int op) {
    if (Py_TYPE(a) != type || Py_TYPE(b) != type) Py_RETURN_NOTIMPLEMENTED;
    const Index x = member_index(spec, a);
    const Index y = member_index(spec, b);
    bool result = false;
    switch (op) {
        case Py_EQ: result = x == y; break;
        case Py_NE: result = x != y; break;
        case Py_LT: result = spec.rank[x] < spec.rank[y]; break;
        case Py_LE: result = spec.rank[x] <= spec.rank[y]; break;
        case Py_GT: result = spec.rank[x] > spec.rank[y]; break;
        case Py_GE: result = spec.rank[x] >= spec.rank[y]; break;
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

PyTypeObject* build(const EnumClassSpec& spec, PyType_Slot* slots, TypeState& state) {
    if (state.building) return state.type;  // a nested request while installing
    if (state.type == nullptr) {
        PyType_Spec type_spec{
            spec.type_name,
            static_cast<int>(spec.layout.basic_size),
            0,
            Py_TPFLAGS_DEFAULT,
            slots,
        };
        PyObject* type = PyType_FromSpec(&type_spec);
        if (type == nullptr) return nullptr;
        state.type = reinterpret_cast<PyTypeObject*>(type);  // kept for the process
    }
    // Install the class attributes still missing. A failure leaves the ones
    // installed so far in place and the next request carries on from there,
    // so no attribute is ever installed twice.
    state.building = true;
    while (state.installed < spec.attributes.size()) {
        const Attribute& attribute = spec.attributes[state.installed];
        PyObject* member = new_member(state.type, spec, attribute.index);
        if (member == nullptr) break;
        const int failed = PyObject_SetAttrString(reinterpret_cast<PyObject*>(state.type), attribute.name, member);
        Py_DECREF(member);
        if (failed) break;
        ++state.installed;
    }
    state.building = false;
    return state.installed == spec.attributes.size() ? state.type : nullptr;
}

}  // namespace detail

}  // namespace tessamir

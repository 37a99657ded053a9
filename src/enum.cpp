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
            // The key is read as text only ('%U' copies its characters), so
            // that no method of a str subclass or other object runs here.
            if (!PyUnicode_Check(key)) {
                PyErr_SetString(PyExc_TypeError, "keywords must be strings");
                return nullptr;
            }
            if (PyUnicode_CompareWithASCIIString(key, "value") != 0) {
                PyErr_Format(PyExc_TypeError, "%s.__new__() got an unexpected keyword argument '%U'",
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

PyObject* not_a_member(const EnumClassSpec& cls, PyObject* value) {
    const Py_ssize_t characters = PyUnicode_GetLength(value);
    if (characters < 0) return nullptr;
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

// Pickling. The classes are named builtins.<Class> and the module has no
// functions, so neither a class nor anything of the module's own can be
// pickled by reference. A member therefore reduces to a call of something the
// standard library pickles by name, with texts as arguments:
//
//   a member with a class attribute (every member but Country's XX):
//       (pkgutil.resolve_name, ("tessamir:Country.US",))
//     unpickling imports tessamir and gives the class attribute itself;
//   a member without one:
//       (operator.methodcaller("__class__", "XX"), (<sibling>,))
//     that is type(sibling)("XX"): the class is reached through a new member
//     of it that has a class attribute (the first installed), which pickles
//     by the first rule, and builds the member from its display text.
//
// A pickle thus names only the globals pkgutil.resolve_name and
// operator.methodcaller, and unpickling calls nothing else and evaluates no
// code. Both are imported at each call, never kept: the module holds no state
// beyond its classes.
namespace {

// `module.name`, imported: a new reference, or NULL with an exception set.
PyObject* imported(const char* module, const char* name) {
    PyObject* found = PyImport_ImportModule(module);
    if (found == nullptr) return nullptr;
    PyObject* value = PyObject_GetAttrString(found, name);
    Py_DECREF(found);
    return value;
}

// (callable, (argument,)), taking over both references; NULL with the
// exception set when `argument` is NULL.
PyObject* call_of(PyObject* callable, PyObject* argument) {
    PyObject* call = argument != nullptr ? Py_BuildValue("(O(O))", callable, argument) : nullptr;
    Py_DECREF(callable);
    Py_XDECREF(argument);
    return call;
}

}  // namespace

PyObject* reduce(PyTypeObject* type, const EnumClassSpec& cls, PyObject* self) {
    const Index index = member_index(cls, self);
    const auto attribute = std::find_if(cls.attributes.begin(), cls.attributes.end(),
                                        [index](const Attribute& a) { return a.index == index; });
    if (attribute != cls.attributes.end()) {
        PyObject* resolve_name = imported("pkgutil", "resolve_name");
        if (resolve_name == nullptr) return nullptr;
        return call_of(resolve_name, PyUnicode_FromFormat("tessamir:%s.%s", cls.name(), attribute->name));
    }
    PyObject* methodcaller = imported("operator", "methodcaller");
    if (methodcaller == nullptr) return nullptr;
    const std::string_view text = cls.texts[index];
    PyObject* build = PyObject_CallFunction(methodcaller, "ss#", "__class__", text.data(),
                                            static_cast<Py_ssize_t>(text.size()));
    Py_DECREF(methodcaller);
    if (build == nullptr) return nullptr;
    // describe() makes sure that every class has a class attribute.
    return call_of(build, new_member(type, cls, cls.attributes.front().index));
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

// The enumeration engine: one implementation of the class protocol shared by
// every class of the module. A class supplies only constant data, its
// `EnumClassSpec`; the slot functions below are instantiated per class from
// that description, so each one reaches its class's tables without any
// run-time lookup.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

// The module is built against the 3.11 stable ABI, except for a free-threaded
// interpreter, which has none: there it is built for that version alone.
#ifndef Py_GIL_DISABLED
#if !defined(Py_LIMITED_API) || Py_LIMITED_API != 0x030B0000
#error "the module is built against the 3.11 stable ABI"
#endif
#endif

#include <array>
#include <cstddef>
#include <cstring>
#include <span>
#include <type_traits>

#include "lookup.hpp"

namespace tessamir {

// The instance record of every class but those that describe their own.
struct EnumObject {
    PyObject_HEAD
    Index index;
};
static_assert(std::is_standard_layout_v<EnumObject>, "offsetof needs a standard-layout record");

// How instances of a class are laid out.
struct Layout {
    Py_ssize_t basic_size = sizeof(EnumObject);
    std::size_t index_offset = offsetof(EnumObject, index);
    // Fills the class's extra fields from the index, after the index is set.
    void (*fill)(PyObject* self, Index index) = nullptr;
};

// The constant description of one enumeration class.
struct EnumClassSpec {
    const char* type_name;                 // "builtins.<Class>"
    std::span<const std::string_view> texts;
    std::span<const Attribute> attributes;  // in installation order
    std::span<const PyMethodDef> methods;   // instance methods without arguments
    std::span<const PyGetSetDef> properties;
    TextLookup lookup;
    std::span<const Index> rank;            // byte order of each display text
    Layout layout = {};
    // What str() returns, where it is not the display text.
    std::span<const std::string_view> str_texts = {};

    constexpr const char* name() const { return type_name + 9; }  // after "builtins."
    constexpr std::size_t size() const { return texts.size(); }
};

// Not a constant expression: reaching it while a table is described stops the
// build with this call in the diagnostic.
void invalid_table(const char* why);

// Describes a class from its compile-time table. Refuses to compile a table
// that breaks the invariants every class relies on.
template <const auto& T>
consteval EnumClassSpec describe(const char* type_name,
                                 std::span<const PyMethodDef> methods = {},
                                 std::span<const PyGetSetDef> properties = {},
                                 Layout layout = {},
                                 std::span<const std::string_view> str_texts = {}) {
    static_assert(T.texts_nonempty(), "display texts must not be empty");
    static_assert(T.texts_unique(), "display and extra texts must be unique");
    static_assert(T.aliases_in_range(), "extra texts must name members");
    static_assert(T.attributes_unique(), "one class attribute per member at most");
    static_assert(T.attribute_count > 0, "a member without a class attribute pickles through one with");
    static_assert(T.lookup_complete(), "every text must be found by its hash, and long ones by their words");
    static_assert(T.max_probe <= probe_bound, "no hash seed up to last_seed gives short enough probe sequences");
    constexpr std::string_view prefix = "builtins.";
    const std::string_view full(type_name);
    if (full.substr(0, prefix.size()) != prefix) invalid_table("type names start with builtins.");
    if (!str_texts.empty() && str_texts.size() != T.size) invalid_table("one str text per member");
    return EnumClassSpec{
        type_name,
        std::span<const std::string_view>(T.keys.data(), T.size),
        std::span<const Attribute>(T.attributes.data(), T.attribute_count),
        methods,
        properties,
        T.lookup(),
        std::span<const Index>(T.rank),
        layout,
        str_texts,
    };
}

// ---------------------------------------------------------------------------
// Operations shared by every class (enum.cpp).

// The index of an instance (its class's description says where it lives).
inline Index member_index(const EnumClassSpec& cls, PyObject* self) {
    return *(reinterpret_cast<const Index*>(reinterpret_cast<const char*>(self) + cls.layout.index_offset));
}

namespace detail {
PyObject* no_instance();
}  // namespace detail

// A new instance of `type` with the given index, made by `alloc` (the type's
// allocation slot), or NULL with an exception set.
inline PyObject* new_member(allocfunc alloc, PyTypeObject* type, const EnumClassSpec& cls, Index index) {
    PyObject* self = alloc(type, 0);
    if (self == nullptr) return detail::no_instance();
    *(reinterpret_cast<Index*>(reinterpret_cast<char*>(self) + cls.layout.index_offset)) = index;
    if (cls.layout.fill != nullptr) cls.layout.fill(self, index);
    return self;
}

// The allocation slot of a type (the interpreter's generic one when empty).
inline allocfunc allocator(PyTypeObject* type) {
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    return alloc != nullptr ? alloc : PyType_GenericAlloc;
}

// A new instance of `type` with the given index, or NULL with an exception set.
inline PyObject* new_member(PyTypeObject* type, const EnumClassSpec& cls, Index index) {
    return new_member(allocator(type), type, cls, index);
}

// The same for a class known when compiling, whose fill function (if any) is
// then called directly, where the compiler can inline it.
template <const EnumClassSpec& S>
PyObject* new_member_of(allocfunc alloc, PyTypeObject* type, Index index) {
    PyObject* self = alloc(type, 0);
    if (self == nullptr) return detail::no_instance();
    *(reinterpret_cast<Index*>(reinterpret_cast<char*>(self) + S.layout.index_offset)) = index;
    constexpr auto fill = S.layout.fill;
    if constexpr (fill != nullptr) fill(self, index);
    return self;
}

// Whether a constant text is plain ASCII.
constexpr bool is_ascii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

constexpr bool all_ascii(std::span<const std::string_view> texts) {
    for (const std::string_view& text : texts) {
        if (!is_ascii(text)) return false;
    }
    return true;
}

// A new str from constant UTF-8 text.
PyObject* new_str(std::string_view text);

// A new str from constant ASCII text: the interpreter's ASCII decoder copies
// it without the UTF-8 decoder's set-up.
inline PyObject* ascii_str(std::string_view text) {
    return PyUnicode_DecodeASCII(text.data(), static_cast<Py_ssize_t>(text.size()), nullptr);
}

// A new str from a constant text whose ASCII-ness was decided when compiling.
inline PyObject* new_str(std::string_view text, bool ascii) { return ascii ? ascii_str(text) : new_str(text); }

// The ASCII-ness of each text of a constant table.
template <std::size_t N>
consteval std::array<bool, N> ascii_flags(std::span<const std::string_view> texts) {
    std::array<bool, N> ascii{};
    for (std::size_t i = 0; i < N; ++i) ascii[i] = is_ascii(texts[i]);
    return ascii;
}

// Constant texts made at compile time from pieces of other texts, stored one
// after another.
template <std::size_t N, std::size_t Bytes>
struct JoinedTexts {
    std::array<char, Bytes> bytes{};
    std::array<std::size_t, N> offset{};
    std::array<std::size_t, N> length{};

    constexpr std::string_view operator[](std::size_t i) const { return {bytes.data() + offset[i], length[i]}; }
};

// Up to four pieces of constant text whose concatenation is one text.
struct Pieces {
    std::string_view part[4] = {};
    constexpr std::size_t size() const { return part[0].size() + part[1].size() + part[2].size() + part[3].size(); }
};

// The texts Text(0), ..., Text(N - 1), each given as Pieces.
template <std::size_t N, auto Text>
consteval auto joined_texts() {
    constexpr std::size_t bytes = [] {
        std::size_t total = 0;
        for (std::size_t i = 0; i < N; ++i) total += Text(i).size();
        return total;
    }();
    JoinedTexts<N, bytes> texts{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const Pieces pieces = Text(i);
        texts.offset[i] = at;
        texts.length[i] = pieces.size();
        std::size_t out = at;
        for (const std::string_view part : pieces.part) {
            for (const char c : part) texts.bytes[out++] = c;
        }
        at += pieces.size();
    }
    return texts;
}

// A new list of new instances with indexes first, ..., first + count - 1.
template <const EnumClassSpec& S>
PyObject* member_list(PyTypeObject* type, std::size_t first, std::size_t count) {
    PyObject* list = PyList_New(static_cast<Py_ssize_t>(count));
    if (list == nullptr) return nullptr;
    const allocfunc alloc = allocator(type);  // one slot lookup per list
    for (std::size_t i = 0; i < count; ++i) {
        PyObject* member = new_member_of<S>(alloc, type, static_cast<Index>(first + i));
        if (member == nullptr || PyList_SetItem(list, static_cast<Py_ssize_t>(i), member) < 0) {
            Py_DECREF(list);
            return nullptr;
        }
    }
    return list;
}

namespace detail {
PyObject* bind_value(const EnumClassSpec& cls, PyObject* args, PyObject* kwargs);
PyObject* not_text(PyObject* value);
PyObject* not_a_member(const EnumClassSpec& cls, PyObject* value);
PyObject* compare(PyTypeObject* type, const EnumClassSpec& cls, PyObject* a, PyObject* b, int op);
void dealloc(PyObject* self);
PyObject* same(PyObject* self, PyObject*);
PyObject* reduce(PyTypeObject* type, const EnumClassSpec& cls, PyObject* self);
}  // namespace detail

// A slot array for PyType_FromSpec: the given slots and the end mark.
template <typename... Slot>
std::array<PyType_Slot, sizeof...(Slot) + 1> slot_array(Slot... slots) {
    return {slots..., PyType_Slot{0, nullptr}};
}

// The process-wide state of one class object. The module uses single-phase
// initialisation and keeps no state of its own: each class object is built once
// per process and kept until the process ends, because the classes are
// process-wide (a second import binds the same objects to a new module) and
// every member instance, the class attributes included, references its class.
struct TypeState {
    PyTypeObject* type = nullptr;  // once created, kept for the rest of the process
    std::size_t installed = 0;     // class attributes installed so far
    bool building = false;         // attributes are being installed right now
};

namespace detail {
PyTypeObject* build(const EnumClassSpec& cls, PyType_Slot* slots, TypeState& state);
}  // namespace detail

// ---------------------------------------------------------------------------
// The class object of a description, and the slots it installs.

template <const EnumClassSpec& S>
struct EnumClass {
    static inline TypeState state;

    // C(value): the member whose display text (or extra text) is `value`.
    // Written out here so that the class's own tables are constants to it.
    static PyObject* tp_new(PyTypeObject* t, PyObject* args, PyObject* kwargs) {
        PyObject* value = kwargs != nullptr                ? detail::bind_value(S, args, kwargs)
                          : PyTuple_Size(args) == 1 ? PyTuple_GetItem(args, 0)
                                                    : detail::bind_value(S, args, nullptr);
        if (value == nullptr) return nullptr;
        if (Py_TYPE(value) != &PyUnicode_Type && !PyUnicode_Check(value)) return detail::not_text(value);
        // Every character is at least one UTF-8 byte: a text with more
        // characters than the longest member text is rejected unencoded.
        const Py_ssize_t characters = PyUnicode_GetLength(value);
        if (static_cast<std::size_t>(characters) > S.lookup.max_length) {  // a failure (-1) included
            return characters < 0 ? nullptr : detail::not_a_member(S, value);
        }
        Py_ssize_t size = 0;
        const char* bytes = PyUnicode_AsUTF8AndSize(value, &size);
        if (bytes == nullptr) return nullptr;
        const KeyEntry* key = S.lookup.find<long_text>(bytes, static_cast<std::size_t>(size));
        if (key == nullptr) return detail::not_a_member(S, value);
        return new_member_of<S>(allocator(t), t, key->member);
    }
    TESSAMIR_NOINLINE static const KeyEntry* long_text(const char* bytes, std::size_t size) {
        return S.lookup.probe<5>(bytes, size);
    }
    // What repr() returns, made when compiling, and which texts are ASCII
    // (a class name always is).
    static constexpr auto repr_texts = joined_texts<S.size(), [](std::size_t i) {
        return Pieces{{S.name(), "<", S.texts[i], ">"}};
    }>();
    static constexpr bool texts_ascii = all_ascii(S.texts);
    static constexpr auto str_ascii = ascii_flags<S.size()>(S.str_texts.empty() ? S.texts : S.str_texts);

    static PyObject* tp_str(PyObject* self) {
        const Index index = member_index(S, self);
        if constexpr (S.str_texts.empty() && texts_ascii) {
            return ascii_str(S.texts[index]);
        } else {
            return new_str(S.str_texts.empty() ? S.texts[index] : S.str_texts[index], str_ascii[index]);
        }
    }
    static PyObject* tp_repr(PyObject* self) { return new_str(repr_texts[member_index(S, self)], texts_ascii); }
    static PyObject* tp_richcompare(PyObject* a, PyObject* b, int op) {
        return detail::compare(state.type, S, a, b, op);
    }
    static Py_ssize_t mp_length(PyObject*) { return static_cast<Py_ssize_t>(S.size()); }
    static PyObject* members(PyObject*, PyObject*) { return member_list<S>(state.type, 0, S.size()); }
    static PyObject* reduce(PyObject* self, PyObject*) { return detail::reduce(state.type, S, self); }

    // The class's own methods, then the static `members`, then copying: a
    // member is an immutable value, so a copy of it is the member itself;
    // then pickling (enum.cpp, detail::reduce).
    static constexpr auto method_table = [] {
        std::array<PyMethodDef, S.methods.size() + 5> table{};
        for (std::size_t i = 0; i < S.methods.size(); ++i) table[i] = S.methods[i];
        table[S.methods.size()] = PyMethodDef{"members", members, METH_STATIC | METH_NOARGS, ""};
        table[S.methods.size() + 1] = PyMethodDef{"__copy__", detail::same, METH_NOARGS, ""};
        table[S.methods.size() + 2] = PyMethodDef{"__deepcopy__", detail::same, METH_O, ""};
        table[S.methods.size() + 3] = PyMethodDef{"__reduce__", reduce, METH_NOARGS, ""};
        table[S.methods.size() + 4] = PyMethodDef{nullptr, nullptr, 0, nullptr};
        return table;
    }();
    static constexpr auto property_table = [] {
        std::array<PyGetSetDef, S.properties.size() + 1> table{};
        for (std::size_t i = 0; i < S.properties.size(); ++i) table[i] = S.properties[i];
        table[S.properties.size()] = PyGetSetDef{nullptr, nullptr, nullptr, nullptr, nullptr};
        return table;
    }();

    // The slots of the protocol, then the given extra ones and the end mark.
    template <typename... Extra>
    static auto protocol_slots(Extra... extra) {
        return slot_array(PyType_Slot{Py_tp_base, &PyBaseObject_Type},
                          PyType_Slot{Py_tp_dealloc, reinterpret_cast<void*>(detail::dealloc)},
                          PyType_Slot{Py_tp_methods, const_cast<PyMethodDef*>(method_table.data())},
                          PyType_Slot{Py_tp_new, reinterpret_cast<void*>(tp_new)},
                          PyType_Slot{Py_tp_str, reinterpret_cast<void*>(tp_str)},
                          PyType_Slot{Py_tp_repr, reinterpret_cast<void*>(tp_repr)},
                          PyType_Slot{Py_tp_richcompare, reinterpret_cast<void*>(tp_richcompare)},
                          PyType_Slot{Py_mp_length, reinterpret_cast<void*>(mp_length)}, extra...);
    }
    // The slots of the class: the protocol's, and the property table only
    // for a class that has properties.
    static auto slots() {
        if constexpr (S.properties.empty()) {
            return protocol_slots();
        } else {
            return protocol_slots(PyType_Slot{Py_tp_getset, const_cast<PyGetSetDef*>(property_table.data())});
        }
    }

    static PyTypeObject* build() {
        auto table = slots();
        return detail::build(S, table.data(), state);
    }
};

// The class object of a description: built, with its class attributes, on
// the first request in the process; the same object on every later request.
// A borrowed reference, or NULL with an exception set.
//
// On a free-threaded interpreter this runs with no lock held, and it is the
// one place that relies on what makes that safe. TypeState is written only by
// the build, and a class is built only by the init function: before an import
// has succeeded no class object is reachable from Python code, so no method
// runs, and the importing machinery runs the init function under its lock for
// the module, one at a time (a free-threaded interpreter's sub-interpreters
// refuse single-phase modules, so no other interpreter's import runs beside).
// An import that fails (out of memory) leaves the states partly built, and
// nothing can reach those classes; the next import, from whichever thread,
// carries on under that lock. Once an import has succeeded every state is
// complete and is never written again, and the lock that thread released
// orders those writes before anything another thread reads through the
// module. Everything else the module reads is constant (tables, member
// texts); instances are immutable, their records written only before the
// object is returned.
template <const EnumClassSpec& S>
PyTypeObject* enum_type() {
    const TypeState& state = EnumClass<S>::state;
    if (state.type != nullptr && state.installed == S.attributes.size()) return state.type;
    return EnumClass<S>::build();  // also answers a nested request during the build
}

// A new instance of class S with the given index (the class object is built
// first if need be).
template <const EnumClassSpec& S>
PyObject* new_member(Index index) {
    PyTypeObject* t = enum_type<S>();
    if (t == nullptr) return nullptr;
    return new_member(t, S, index);
}

// A new list of the members first, ..., first + count - 1 of class S.
template <const EnumClassSpec& S>
PyObject* new_member_list(std::size_t first, std::size_t count) {
    PyTypeObject* t = enum_type<S>();
    if (t == nullptr) return nullptr;
    return member_list<S>(t, first, count);
}

// What the module registers of a class: its name, its class object and its
// description. Each class's own source file defines its registration, where
// its tables are evaluated; other files see only the declaration.
struct Registration {
    const char* name;
    PyTypeObject* (*type)();
    const EnumClassSpec* cls;
};

template <const EnumClassSpec& S>
constexpr Registration registration() {
    return Registration{S.name(), &enum_type<S>, &S};
}

}  // namespace tessamir

/* The least the rules of tessamir's classes allow, for the benchmarks only
 * (bench/floor.py builds it into a temporary folder; it is never installed).
 *
 * Its one class does in each slot what every tessamir class must do and
 * nothing else: the constructor binds one str, refuses one longer than the
 * longest member text, encodes it and allocates through the type's
 * Py_tp_alloc slot (deallocation frees through Py_tp_free), but looks nothing
 * up; str, repr and the properties return a new str from constant bytes;
 * link() returns a new member, members() a new list of new members;
 * comparison compares two stored numbers. The constant texts, the longest
 * text and the number of members are those of the tessamir members the
 * benchmarks measure against it (floor_texts.h, written by bench/floor.py).
 */
#define Py_LIMITED_API 0x030B0000
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include "floor_texts.h"

typedef struct {
    PyObject_HEAD
    unsigned char index;
} FloorObject;

static PyTypeObject *floor_type; /* kept for the process, as tessamir keeps its classes */

static PyObject *new_floor(allocfunc alloc, PyTypeObject *type) {
    PyObject *self = alloc(type, 0);
    if (self != NULL) ((FloorObject *)self)->index = 0;
    return self;
}

static allocfunc allocator(PyTypeObject *type) {
    allocfunc alloc = (allocfunc)PyType_GetSlot(type, Py_tp_alloc);
    return alloc != NULL ? alloc : PyType_GenericAlloc;
}

static PyObject *floor_tp_new(PyTypeObject *type, PyObject *args, PyObject *kwargs) {
    if (kwargs != NULL || PyTuple_Size(args) != 1) {
        PyErr_SetString(PyExc_TypeError, "Floor() takes one str");
        return NULL;
    }
    PyObject *value = PyTuple_GetItem(args, 0);
    if (value == NULL) return NULL;
    if (Py_TYPE(value) != &PyUnicode_Type && !PyUnicode_Check(value)) {
        PyErr_SetString(PyExc_TypeError, "Floor() takes one str");
        return NULL;
    }
    /* A text with more characters than the longest member text is refused
     * before it is encoded, as every tessamir class refuses it: an enormous
     * text would otherwise be encoded, and its UTF-8 form kept in it, only to
     * be rejected. */
    const Py_ssize_t characters = PyUnicode_GetLength(value);
    if ((size_t)characters > FLOOR_LONGEST) {
        if (characters >= 0) PyErr_SetString(PyExc_ValueError, "Floor() takes a member's text");
        return NULL;
    }
    Py_ssize_t size = 0;
    if (PyUnicode_AsUTF8AndSize(value, &size) == NULL) return NULL;
    return new_floor(allocator(type), type);
}

static void floor_dealloc(PyObject *self) {
    PyTypeObject *type = Py_TYPE(self);
    freefunc free_instance = (freefunc)PyType_GetSlot(type, Py_tp_free);
    free_instance(self);
    Py_DECREF((PyObject *)type);
}

#define CONSTANT_TEXT(name, bytes) \
    static PyObject *name(PyObject *self) { (void)self; return PyUnicode_DecodeASCII(bytes, sizeof(bytes) - 1, NULL); }
CONSTANT_TEXT(floor_str, FLOOR_STR)
CONSTANT_TEXT(floor_repr, FLOOR_REPR)
CONSTANT_TEXT(name_text, FLOOR_NAME)
CONSTANT_TEXT(flag_text, FLOOR_FLAG)

static PyObject *floor_name(PyObject *self, void *closure) { (void)closure; return name_text(self); }
static PyObject *floor_flag(PyObject *self, void *closure) { (void)closure; return flag_text(self); }

static PyObject *floor_link(PyObject *self, PyObject *unused) {
    (void)self, (void)unused;
    return new_floor(allocator(floor_type), floor_type);
}

static PyObject *floor_members(PyObject *unused_self, PyObject *unused) {
    (void)unused_self, (void)unused;
    PyObject *list = PyList_New(FLOOR_MEMBERS);
    if (list == NULL) return NULL;
    allocfunc alloc = allocator(floor_type);
    for (Py_ssize_t i = 0; i < FLOOR_MEMBERS; ++i) {
        PyObject *member = new_floor(alloc, floor_type);
        if (member == NULL || PyList_SetItem(list, i, member) < 0) {
            Py_DECREF(list);
            return NULL;
        }
    }
    return list;
}

static PyObject *floor_richcompare(PyObject *a, PyObject *b, int op) {
    if (Py_TYPE(a) != floor_type || Py_TYPE(b) != floor_type) Py_RETURN_NOTIMPLEMENTED;
    const unsigned char x = ((FloorObject *)a)->index, y = ((FloorObject *)b)->index;
    int result = 0;
    switch (op) {
        case Py_EQ: result = x == y; break;
        case Py_NE: result = x != y; break;
        case Py_LT: result = x < y; break;
        case Py_LE: result = x <= y; break;
        case Py_GT: result = x > y; break;
        case Py_GE: result = x >= y; break;
        default: Py_RETURN_NOTIMPLEMENTED;
    }
    if (result) Py_RETURN_TRUE;
    Py_RETURN_FALSE;
}

static PyMethodDef floor_methods[] = {
    {"link", floor_link, METH_NOARGS, ""},
    {"members", floor_members, METH_STATIC | METH_NOARGS, ""},
    {NULL, NULL, 0, NULL},
};

static PyGetSetDef floor_properties[] = {
    {"name", floor_name, NULL, "", NULL},
    {"flag", floor_flag, NULL, "", NULL},
    {NULL, NULL, NULL, NULL, NULL},
};

static PyType_Slot floor_slots[] = {
    {Py_tp_new, floor_tp_new},
    {Py_tp_dealloc, floor_dealloc},
    {Py_tp_str, floor_str},
    {Py_tp_repr, floor_repr},
    {Py_tp_richcompare, floor_richcompare},
    {Py_tp_methods, floor_methods},
    {Py_tp_getset, floor_properties},
    {0, NULL},
};

static PyType_Spec floor_spec = {"_tessamir_floor.Floor", sizeof(FloorObject), 0, Py_TPFLAGS_DEFAULT, floor_slots};

static struct PyModuleDef floor_module = {PyModuleDef_HEAD_INIT, "_tessamir_floor", "", 0, NULL, NULL, NULL, NULL, NULL};

PyMODINIT_FUNC PyInit__tessamir_floor(void) {
    PyObject *module = PyModule_Create(&floor_module);
    if (module == NULL) return NULL;
    if (floor_type == NULL) {
        floor_type = (PyTypeObject *)PyType_FromSpec(&floor_spec);
        if (floor_type == NULL) {
            Py_DECREF(module);
            return NULL;
        }
    }
    Py_INCREF((PyObject *)floor_type);
    if (PyModule_AddObject(module, "Floor", (PyObject *)floor_type) < 0) {
        Py_DECREF((PyObject *)floor_type);
        Py_DECREF(module);
        return NULL;
    }
    return module;
}

/* Test helper, built with the stable C interface only: one heap type with
   two dozen methods made by PyType_FromSpec, so that readying it grows the
   type's dictionary through PyDict_SetDefault more than once. The module
   itself is a plain single-phase module without state. */

#define Py_LIMITED_API 0x030b0000
#include <Python.h>

static PyObject *
nothing(PyObject *self, PyObject *unused)
{
    Py_RETURN_NONE;
}

#define METHOD(name) {#name, nothing, METH_NOARGS, NULL}

static PyMethodDef type_methods[] = {
    METHOD(m00), METHOD(m01), METHOD(m02), METHOD(m03), METHOD(m04), METHOD(m05),
    METHOD(m06), METHOD(m07), METHOD(m08), METHOD(m09), METHOD(m10), METHOD(m11),
    METHOD(m12), METHOD(m13), METHOD(m14), METHOD(m15), METHOD(m16), METHOD(m17),
    METHOD(m18), METHOD(m19), METHOD(m20), METHOD(m21), METHOD(m22), METHOD(m23),
    {NULL, NULL, 0, NULL},
};

static PyType_Slot slots[] = {
    {Py_tp_methods, type_methods},
    {0, NULL},
};

static PyType_Spec spec = {"_typefault.Methods", 0, 0, Py_TPFLAGS_DEFAULT, slots};

/* Not a tail call, so that the stack of an allocation inside
   PyType_FromSpec shows where the interpreter was called from. */
static PyObject *
make(PyObject *self, PyObject *unused)
{
    PyObject *type = PyType_FromSpec(&spec);
    if (type == NULL && !PyErr_Occurred())
        PyErr_SetString(PyExc_SystemError, "PyType_FromSpec failed without an exception");
    return type;
}

static PyMethodDef methods[] = {
    {"make", make, METH_NOARGS, NULL},
    {NULL, NULL, 0, NULL},
};

static struct PyModuleDef module = {PyModuleDef_HEAD_INIT, "_typefault", NULL, 0, methods,
                                    NULL, NULL, NULL, NULL};

PyMODINIT_FUNC
PyInit__typefault(void)
{
    return PyModule_Create(&module);
}

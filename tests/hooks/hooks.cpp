// Test-only extension: the module's registration step applied to any object.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace tessamir {
int register_classes(PyObject* module);
}

namespace {

PyObject* register_classes(PyObject*, PyObject* target) {
    if (tessamir::register_classes(target) < 0) return nullptr;
    Py_RETURN_NONE;
}

PyMethodDef methods[] = {
    {"register_classes", register_classes, METH_O, ""},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef module_def = {PyModuleDef_HEAD_INIT, "_tessamir_hooks", "", 0, methods,
                          nullptr, nullptr, nullptr, nullptr};

}  // namespace

PyMODINIT_FUNC PyInit__tessamir_hooks(void) {
    PyObject* module = PyModule_Create(&module_def);
#ifdef Py_GIL_DISABLED
    if (module != nullptr && PyUnstable_Module_SetGIL(module, Py_MOD_GIL_NOT_USED) < 0) {
        Py_DECREF(module);
        return nullptr;
    }
#endif
    return module;
}

/* Test helper: the interpreter's allocators failing as _testcapi.set_nomemory
   makes them fail (allocations start+1 .. stop, or all from start+1 on when
   stop is 0, counted over the raw, mem and object domains), with the return
   addresses of the first failing allocation's stack written to a file
   descriptor as it fails, so that they survive a crash that follows. */

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <dlfcn.h>
#include <execinfo.h>
#include <unistd.h>

#define DEPTH 128

static struct {
    PyMemAllocatorEx raw, mem, obj;
    int installed;
    Py_ssize_t start, stop, count;
    int fd, recorded;
} hook;

static int
fails(void)
{
    hook.count++;
    if (hook.count <= hook.start || (hook.stop > 0 && hook.count > hook.stop))
        return 0;
    if (!hook.recorded) {
        hook.recorded = 1;
        void *frames[DEPTH];
        int depth = backtrace(frames, DEPTH);
        ssize_t size = (ssize_t)(depth * sizeof(void *));
        if (hook.fd >= 0 && write(hook.fd, frames, (size_t)size) != size)
            hook.recorded = 2;
    }
    return 1;
}

static void *
hook_malloc(void *ctx, size_t size)
{
    PyMemAllocatorEx *alloc = ctx;
    return fails() ? NULL : alloc->malloc(alloc->ctx, size);
}

static void *
hook_calloc(void *ctx, size_t count, size_t size)
{
    PyMemAllocatorEx *alloc = ctx;
    return fails() ? NULL : alloc->calloc(alloc->ctx, count, size);
}

static void *
hook_realloc(void *ctx, void *ptr, size_t size)
{
    PyMemAllocatorEx *alloc = ctx;
    return fails() ? NULL : alloc->realloc(alloc->ctx, ptr, size);
}

static void
hook_free(void *ctx, void *ptr)
{
    PyMemAllocatorEx *alloc = ctx;
    alloc->free(alloc->ctx, ptr);
}

static void
install(PyMemAllocatorDomain domain, PyMemAllocatorEx *saved)
{
    PyMemAllocatorEx alloc = {saved, hook_malloc, hook_calloc, hook_realloc, hook_free};
    PyMem_GetAllocator(domain, saved);
    PyMem_SetAllocator(domain, &alloc);
}

static void
uninstall(PyMemAllocatorDomain domain, PyMemAllocatorEx *saved)
{
    PyMem_SetAllocator(domain, saved);
}

/* record(fd): the frames of each attempt's first failing allocation go to fd
   (-1, the default: nowhere). */
static PyObject *
record(PyObject *self, PyObject *arg)
{
    long fd = PyLong_AsLong(arg);
    if (fd == -1 && PyErr_Occurred())
        return NULL;
    hook.fd = (int)fd;
    Py_RETURN_NONE;
}

/* fail(start, stop): allocations start+1 .. stop fail from now on (stop 0:
   every one after start), as with _testcapi.set_nomemory. */
static PyObject *
fail(PyObject *self, PyObject *args)
{
    Py_ssize_t start, stop = 0;
    if (!PyArg_ParseTuple(args, "n|n", &start, &stop))
        return NULL;
    hook.start = start;
    hook.stop = stop;
    hook.count = 0;
    hook.recorded = 0;
    if (!hook.installed) {
        hook.installed = 1;
        install(PYMEM_DOMAIN_RAW, &hook.raw);
        install(PYMEM_DOMAIN_MEM, &hook.mem);
        install(PYMEM_DOMAIN_OBJ, &hook.obj);
    }
    Py_RETURN_NONE;
}

static PyObject *
restore(PyObject *self, PyObject *unused)
{
    if (hook.installed) {
        hook.installed = 0;
        uninstall(PYMEM_DOMAIN_RAW, &hook.raw);
        uninstall(PYMEM_DOMAIN_MEM, &hook.mem);
        uninstall(PYMEM_DOMAIN_OBJ, &hook.obj);
    }
    return PyLong_FromLong(hook.recorded);
}

/* where(address): (object file, offset in it, exported symbol or None,
   offset from that symbol); None for an address in no loaded object. */
static PyObject *
where(PyObject *self, PyObject *arg)
{
    void *address = PyLong_AsVoidPtr(arg);
    if (address == NULL && PyErr_Occurred())
        return NULL;
    Dl_info info;
    if (!dladdr(address, &info) || info.dli_fname == NULL)
        Py_RETURN_NONE;
    char *base = info.dli_fbase;
    if (info.dli_sname == NULL)
        return Py_BuildValue("(snOO)", info.dli_fname, (Py_ssize_t)((char *)address - base),
                             Py_None, Py_None);
    return Py_BuildValue("(snsn)", info.dli_fname, (Py_ssize_t)((char *)address - base),
                         info.dli_sname, (Py_ssize_t)((char *)address - (char *)info.dli_saddr));
}

/* The object file that holds the interpreter's allocator and this helper's. */
static PyObject *
objects(PyObject *self, PyObject *unused)
{
    Dl_info interpreter, helper;
    if (!dladdr((void *)PyObject_Malloc, &interpreter) || !dladdr((void *)fails, &helper)) {
        PyErr_SetString(PyExc_OSError, "dladdr found no object file");
        return NULL;
    }
    return Py_BuildValue("(ss)", interpreter.dli_fname, helper.dli_fname);
}

static PyMethodDef methods[] = {
    {"record", record, METH_O, NULL},
    {"fail", fail, METH_VARARGS, NULL},
    {"restore", restore, METH_NOARGS, NULL},
    {"where", where, METH_O, NULL},
    {"objects", objects, METH_NOARGS, NULL},
    {NULL, NULL, 0, NULL},
};

static struct PyModuleDef module = {PyModuleDef_HEAD_INIT, "_allocsite", NULL, -1, methods,
                                    NULL, NULL, NULL, NULL};

PyMODINIT_FUNC
PyInit__allocsite(void)
{
    /* The unwinder loads its library on first use: not inside an allocator. */
    void *frames[4];
    backtrace(frames, 4);
    hook.fd = -1;
    return PyModule_Create(&module);
}

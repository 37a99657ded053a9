// The seed search behind tools/find_seeds.py, never part of the module: the
// module's sources are compiled with it (and with TESSAMIR_FIND_SEEDS, so that
// a table with a poor seed still compiles) into a throwaway extension.
#include <vector>

#include "../src/enum.hpp"

namespace {

// Seeds tried, and the probe length that ends the search early.
constexpr std::uint64_t last_seed = 256;
constexpr unsigned good_enough = 1;

// seeds(): for each class in registration order, a tuple of its name, its
// recorded seed and that seed's longest probe sequence, and the seed the
// search finds and its longest probe sequence (the first seed from 1 up with
// the shortest one, the search ending at the first seed with at most one).
PyObject* seeds(PyObject*, PyObject*) {
    PyObject* result = PyList_New(0);
    if (result == nullptr) return nullptr;
    for (const tessamir::Registration* row : tessamir::registrations()) {
        const tessamir::TextLookup& lookup = row->cls->lookup;
        std::vector<tessamir::Index> table(std::size_t(1) << lookup.bits);
        unsigned best = ~0u;
        std::uint64_t best_seed = 0;
        for (std::uint64_t seed = 1; seed <= last_seed && best > good_enough; ++seed) {
            const unsigned probe =
                tessamir::fill_slots(table.data(), lookup.bits, lookup.keys.data(), lookup.keys.size(), seed);
            if (probe < best) {
                best = probe;
                best_seed = seed;
            }
        }
        PyObject* item = Py_BuildValue("(sKIKI)", row->name, static_cast<unsigned long long>(lookup.seed),
                                       lookup.max_probe, static_cast<unsigned long long>(best_seed), best);
        if (item == nullptr || PyList_Append(result, item) < 0) {
            Py_XDECREF(item);
            Py_DECREF(result);
            return nullptr;
        }
        Py_DECREF(item);
    }
    return result;
}

PyMethodDef methods[] = {
    {"seeds", seeds, METH_NOARGS, ""},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef module_def = {PyModuleDef_HEAD_INIT, "_tessamir_seeds", "", 0, methods,
                          nullptr, nullptr, nullptr, nullptr};

}  // namespace

PyMODINIT_FUNC PyInit__tessamir_seeds(void) { return PyModule_Create(&module_def); }

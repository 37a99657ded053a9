"""The registration step on module objects it does not create itself.

A test-only extension built from the same sources exposes the step; it keeps
class objects of its own, separate from the installed module's.
"""

import shutil
import subprocess
import sys
import types
from pathlib import Path

import pytest

import tessamir
from conftest import exported_symbols
from surface import counted, refcounts

HOOKS = Path(__file__).parent / "hooks"


# Building the test-only extension compiles every source of the module.
pytestmark = pytest.mark.slow


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    assert result.returncode == 0, f"{' '.join(command)}\n{result.stdout[-3000:]}{result.stderr[-3000:]}"


def generator():
    """CMake's generator: Ninja from the test extra, so that no make is needed;
    on Windows the compiler's own (Ninja needs the compiler's environment set
    up before it runs there)."""
    if sys.platform == "win32":
        return []
    import ninja
    program = shutil.which("ninja", path=ninja.BIN_DIR)
    assert program, f"no ninja in {ninja.BIN_DIR}"
    return ["-G", "Ninja", f"-DCMAKE_MAKE_PROGRAM={program}"]


@pytest.fixture(scope="session")
def hooks(tmp_path_factory):
    """The test-only extension, built in a temporary folder as the module is built."""
    build = tmp_path_factory.mktemp("test-hooks")
    run(["cmake", "-S", str(HOOKS), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
         f"-DPython_EXECUTABLE={sys.executable}", *generator()])
    run(["cmake", "--build", str(build), "-j", "2"])
    sys.path.insert(0, str(build))
    try:
        import _tessamir_hooks
    finally:
        sys.path.remove(str(build))
    return _tessamir_hooks


def test_creates_all_and_binds_the_classes(hooks):
    module = types.ModuleType("m")
    hooks.register_classes(module)
    assert module.__all__ == tessamir.__all__
    for name in module.__all__:
        cls = getattr(module, name)
        assert cls.__name__ == name and cls is not getattr(tessamir, name)
    # A second registration binds the same class objects again.
    other = types.ModuleType("n")
    hooks.register_classes(other)
    assert all(getattr(other, name) is getattr(module, name) for name in module.__all__)


def test_only_the_init_function_is_exported(hooks):
    expected = ["PyInit__tessamir_hooks"]
    if sys.platform == "win32":
        # Built from the same sources, it has the module's init function too,
        # and a DLL exports whatever is declared dllexport, as that one is.
        expected.append("PyInit_tessamir")
    assert sorted(exported_symbols(hooks.__file__)) == expected


def test_appends_to_an_existing_list(hooks):
    module = types.ModuleType("m")
    module.__all__ = ["First"]
    hooks.register_classes(module)
    assert module.__all__ == ["First"] + tessamir.__all__


@pytest.mark.parametrize("value, type_name", [(("x",), "tuple"), ("abc", "str"), (None, "NoneType")])
def test_all_that_is_not_a_list_fails(hooks, value, type_name):
    module = types.ModuleType("m")
    module.__all__ = value
    with pytest.raises(TypeError) as caught:
        hooks.register_classes(module)
    assert str(caught.value) == f"'{type_name}' object cannot be converted to 'PyList'"
    assert not hasattr(module, tessamir.__all__[0])


def test_errors_reading_all_other_than_absence_stop_registration(hooks):
    class Broken:
        @property
        def __all__(self):
            raise RuntimeError("unreadable")

    with pytest.raises(RuntimeError, match="unreadable"):
        hooks.register_classes(Broken())


def test_failure_to_bind_a_class_stops_registration(hooks):
    class Guarded(types.ModuleType):
        def __setattr__(self, name, value):
            if name == tessamir.__all__[1]:
                raise PermissionError(name)
            super().__setattr__(name, value)

    module = Guarded("m")
    with pytest.raises(PermissionError):
        hooks.register_classes(module)
    assert hasattr(module, tessamir.__all__[0])
    assert module.__all__ == tessamir.__all__[:2]
    assert not any(hasattr(module, name) for name in tessamir.__all__[1:])


def test_failure_to_create_all_stops_registration(hooks):
    class Frozen:
        __slots__ = ()

    with pytest.raises(AttributeError):
        hooks.register_classes(Frozen())


def item_counts(items):
    """The reference count of each item of a list, measured the same way for any list."""
    return [sys.getrefcount(item) for item in items]


def test_registration_keeps_no_reference_of_its_own(hooks):
    # The list it creates is held by the module alone, and so are its names.
    created = types.ModuleType("m")
    hooks.register_classes(created)
    probe = types.ModuleType("probe")
    probe.__all__ = [name.encode().decode() for name in created.__all__]
    assert sys.getrefcount(created.__all__) == sys.getrefcount(probe.__all__)
    assert item_counts(created.__all__) == item_counts(probe.__all__)
    # A list it is given, again and again, gains the names and no reference.
    classes = [getattr(created, name) for name in created.__all__]
    all_list = []
    modules = [types.ModuleType(f"m{i}") for i in range(10)]
    for module in modules:
        module.__all__ = all_list
    before, counts = sys.getrefcount(all_list), refcounts(classes)
    for module in modules:
        hooks.register_classes(module)
    del module
    assert sys.getrefcount(all_list) == before
    assert len(all_list) == len(modules) * len(classes)
    assert refcounts(classes) == [count + len(modules) for count in counts]  # one binding per module
    # A free-threaded 3.13 makes a module immortal when it is made after a
    # second thread has run: never freed, it keeps its bindings.
    kept = len(modules) - len(counted(modules))
    modules.clear()
    assert refcounts(classes) == [count + kept for count in counts]


@pytest.mark.parametrize("value", [("x",), "abc", {"x": 1}], ids=["tuple", "str", "dict"])
def test_failed_registration_keeps_no_reference(hooks, value):
    module = types.ModuleType("m")
    module.__all__ = value
    before = sys.getrefcount(value)
    for _ in range(10):
        with pytest.raises(TypeError):
            hooks.register_classes(module)
    assert sys.getrefcount(value) == before

"""The registration step on module objects it does not create itself.

A test-only extension built from the same sources exposes the step; it keeps
class objects of its own, separate from the installed module's.
"""

import hashlib
import subprocess
import sys
import sysconfig
import types
from pathlib import Path

import pytest

import tessamir

HOOKS = Path(__file__).parent / "hooks"


@pytest.fixture(scope="session")
def hooks(tmp_path_factory):
    # A folder per interpreter: the CMake cache names the one it was made for.
    tag = hashlib.sha256(sys.executable.encode()).hexdigest()[:12]
    build = Path(__file__).parents[1] / "build" / "test-hooks" / tag
    configure = ["cmake", "-S", str(HOOKS), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                 f"-DPython_EXECUTABLE={sys.executable}"]
    subprocess.run(configure, check=True, capture_output=True)
    subprocess.run(["cmake", "--build", str(build)], check=True, capture_output=True)
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

# Compiler and linker settings of an extension module built from the sources
# under src/: the module itself and the test-only extension under tests/hooks.
# C++20, warnings as errors, no exceptions or run-time type information where
# the compiler allows it safely, and the init function as the module's only
# exported symbol, on Linux, macOS and Windows alike.
include_guard(GLOBAL)

option(TESSAMIR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer (GCC, Clang)" OFF)

# tessamir_extension(<target> <init function>)
function(tessamir_extension target init)
    target_compile_features(${target} PRIVATE cxx_std_20)
    set_target_properties(${target} PROPERTIES
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)

    # The stable ABI's own file name, whichever interpreter builds the module:
    # <name>.abi3.so (macOS too), <name>.pyd on Windows (Python_add_library's).
    # Not the building interpreter's first abi3 suffix, which some
    # distributions qualify (.abi3-x86_64-linux-gnu.so) so that other
    # interpreters do not load it.
    if(NOT WIN32)
        set_target_properties(${target} PROPERTIES SUFFIX ".abi3${CMAKE_SHARED_MODULE_SUFFIX}")
    endif()

    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # The interpreter's headers come in as system headers (-isystem), whose
        # paths GCC otherwise resolves through symbolic links: Debian's debug
        # headers (python3.14d/Python.h, a link into python3.14/) would then
        # take the release pyconfig.h, and the build would lose Py_DEBUG.
        target_compile_options(${target} PRIVATE -fno-canonical-system-headers)
    endif()

    if(MSVC)
        # The sources are UTF-8. Exceptions stay on (/EHsc): the standard
        # library's headers warn without them, and turning them off there is
        # not a supported configuration. Nothing uses typeid or dynamic_cast.
        target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive- /GR-)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -fno-exceptions -fno-rtti)
    endif()

    # Hidden visibility leaves the init function the only exported symbol of
    # the sources; the linker's list also keeps out whatever runtime code is
    # linked in statically.
    if(APPLE)
        target_link_options(${target} PRIVATE "LINKER:-dead_strip" "LINKER:-exported_symbol,_${init}")
    elseif(WIN32)
        # A DLL exports only what is declared dllexport, as PyMODINIT_FUNC is;
        # MSVC's linker drops unreferenced code in release builds by default.
    elseif(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
        # GNU-compatible ELF linkers: GNU ld, gold, lld, mold.
        set(map "${CMAKE_CURRENT_BINARY_DIR}/${target}.map")
        file(CONFIGURE OUTPUT "${map}" CONTENT "{\n  global: ${init};\n  local: *;\n};\n")
        target_link_options(${target} PRIVATE "LINKER:--version-script=${map}" "LINKER:--gc-sections")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${map}")
    endif()

    if(TESSAMIR_SANITIZE)
        if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
            message(FATAL_ERROR "TESSAMIR_SANITIZE needs GCC or Clang, not ${CMAKE_CXX_COMPILER_ID}")
        endif()
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                 -fno-omit-frame-pointer -g)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

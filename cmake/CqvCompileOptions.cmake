# Compiler settings shared by every target of the project.

# Warnings for the project's own targets (library, tests, examples, benches).
add_library(cqv_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(cqv_warnings INTERFACE -Wall -Wextra -Wpedantic)
    if(CQV_WERROR)
        target_compile_options(cqv_warnings INTERFACE -Werror)
    endif()
elseif(MSVC)
    target_compile_options(cqv_warnings INTERFACE /W4)
    if(CQV_WERROR)
        target_compile_options(cqv_warnings INTERFACE /WX)
    endif()
endif()

# Floating-point expressions are evaluated as written: no fusing of a
# multiply and an add into one instruction, whose single rounding would
# change results from one compiler or machine to the next.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-ffp-contract=off)
endif()

# Sanitizers, and libFuzzer's coverage instrumentation for the fuzz
# targets (clang only), on every target of the build.
if(CQV_SANITIZE OR CQV_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        message(FATAL_ERROR "CQV_SANITIZE and CQV_FUZZ need g++ or clang++")
    endif()
    if(CQV_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "CQV_FUZZ needs clang++ (libFuzzer)")
    endif()
    set(cqv_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    if(CQV_FUZZ)
        # The fuzz targets link libFuzzer itself (-fsanitize=fuzzer); the
        # rest of the build only carries its instrumentation.
        list(APPEND cqv_sanitize_flags -fsanitize=fuzzer-no-link)
    endif()
    add_compile_options(${cqv_sanitize_flags})
    add_link_options(${cqv_sanitize_flags})
    # clang links the sanitizer runtimes into executables only, so a shared
    # library built with them leaves their symbols for the program to
    # provide (g++ links the runtime into the library too).
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(CQV_RUNTIME_IN_PROGRAM ON)
    endif()
endif()

if(CQV_NATIVE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-march=native)
endif()

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

if(CQV_SANITIZE)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        message(FATAL_ERROR "CQV_SANITIZE needs g++ or clang++")
    endif()
    set(cqv_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${cqv_sanitize_flags})
    add_link_options(${cqv_sanitize_flags})
endif()

if(CQV_NATIVE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-march=native)
endif()

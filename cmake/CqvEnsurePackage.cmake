# cqv_ensure_package(<name> DEBIAN <Debian package>... [COMPONENTS <component>...]
#                    [PKG_CONFIG <module>...])
#
# Finds a package the tests or benchmarks need. When it is missing on a
# Debian-like machine, installs the named Debian packages with apt-get (as
# root, or through sudo) and looks again, so that a fresh machine needs no
# preparation. Fails the configuration if the package still cannot be found.
#
# Without PKG_CONFIG the package is looked up with find_package(<name>
# [COMPONENTS ...]) and brings its own imported targets. With PKG_CONFIG the
# package ships no CMake files, only pkg-config modules (FFTW, for one): they
# are looked up with pkg_check_modules and become the imported target
# PkgConfig::<name>; pkg-config itself is installed first when it is missing.
function(cqv_ensure_package name)
    cmake_parse_arguments(ARG "" "" "DEBIAN;COMPONENTS;PKG_CONFIG" ${ARGN})
    if(ARG_PKG_CONFIG)
        if(TARGET PkgConfig::${name})
            return()
        endif()
        # pkg_check_modules needs the variables FindPkgConfig sets, so it is
        # looked for in this scope.
        find_package(PkgConfig QUIET)
        if(NOT PkgConfig_FOUND)
            cqv_apt_install(pkg-config pkgconf)
            find_package(PkgConfig REQUIRED)
        endif()
        pkg_check_modules(${name} QUIET IMPORTED_TARGET GLOBAL ${ARG_PKG_CONFIG})
        if(NOT ${name}_FOUND)
            cqv_apt_install(${name} ${ARG_DEBIAN})
            pkg_check_modules(${name} REQUIRED IMPORTED_TARGET GLOBAL ${ARG_PKG_CONFIG})
        endif()
        return()
    endif()

    set(find_args ${name})
    if(ARG_COMPONENTS)
        list(APPEND find_args COMPONENTS ${ARG_COMPONENTS})
    endif()
    _cqv_probe_package(found ${find_args})
    if(found)
        return()
    endif()
    cqv_apt_install(${name} ${ARG_DEBIAN})
    find_package(${find_args} REQUIRED)
endfunction()

# _cqv_probe_package(<result> <find_package arguments>...)
#
# A quiet find_package in a scope of its own: a failed search leaves defaults
# behind in the scope it ran in (FindBoost sets Boost_USE_DEBUG_RUNTIME, which
# then makes Boost's own package files reject the release libraries), and
# those must not reach the search that follows an installation. The imported
# targets of a successful search belong to the directory and stay visible.
function(_cqv_probe_package result name)
    find_package(${name} ${ARGN} QUIET)
    set(${result} ${${name}_FOUND} PARENT_SCOPE)
endfunction()

# cqv_apt_install(<what is missing> <Debian package>...)
#
# Installs the Debian packages with apt-get, refreshing the package lists
# once if the first attempt fails; a failure ends the configuration.
function(cqv_apt_install what)
    set(packages ${ARGN})
    find_program(CQV_APT_GET apt-get)
    if(NOT CQV_APT_GET OR NOT packages)
        message(FATAL_ERROR "${what} is missing and cannot be installed here; install it and configure again")
    endif()
    set(apt ${CQV_APT_GET})
    execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT uid STREQUAL "0")
        find_program(CQV_SUDO sudo REQUIRED)
        set(apt ${CQV_SUDO} ${CQV_APT_GET})
    endif()
    message(STATUS "${what} not found: installing ${packages}")
    set(ENV{DEBIAN_FRONTEND} noninteractive)
    execute_process(COMMAND ${apt} install -y -q ${packages} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        execute_process(COMMAND ${apt} update -q)
        execute_process(COMMAND ${apt} install -y -q ${packages} RESULT_VARIABLE rc)
    endif()
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "could not install ${packages}")
    endif()
endfunction()

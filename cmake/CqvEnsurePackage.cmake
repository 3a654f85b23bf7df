# cqv_ensure_package(<name> DEBIAN <Debian package>... [COMPONENTS <component>...]
#                    [PKG_CONFIG <module>...])
#
# Finds a package the tests or benchmarks need. When it is missing and
# CQV_INSTALL_MISSING is on (the presets turn it on), installs the named
# Debian packages and looks again, so that a fresh machine needs no
# preparation; with the option off the configuration stops and names the
# packages. Fails the configuration if the package still cannot be found.
#
# Without PKG_CONFIG the package is looked up with find_package(<name>
# [COMPONENTS ...]) and brings its own imported targets. With PKG_CONFIG the
# package ships no CMake files, only pkg-config modules (FFTW, for one): they
# are looked up with pkg_check_modules and become the imported target
# PkgConfig::<name>; pkg-config itself is installed first when it is missing.
# The project's apt helper, shared with the CI scripts.
set(CQV_APT_INSTALL "${CMAKE_CURRENT_LIST_DIR}/apt-install")

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
# With CQV_INSTALL_MISSING on, installs the Debian packages through the
# project's apt helper (cmake/apt-install); a failure ends the configuration.
# With it off (the default of a plain configure), nothing is installed: the
# configuration stops and says what to install.
function(cqv_apt_install what)
    set(packages ${ARGN})
    if(NOT CQV_INSTALL_MISSING)
        message(FATAL_ERROR "${what} is missing. Install the Debian packages ${packages}, "
                            "or configure with -DCQV_INSTALL_MISSING=ON (as the presets do) to have them installed.")
    endif()
    find_program(CQV_APT_GET apt-get)
    if(NOT CQV_APT_GET OR NOT packages)
        message(FATAL_ERROR "${what} is missing and cannot be installed here; install it and configure again")
    endif()
    message(STATUS "${what} not found: installing ${packages}")
    execute_process(COMMAND bash "${CQV_APT_INSTALL}" ${packages} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "could not install ${packages}")
    endif()
endfunction()

# Installation: headers under include/cqv, the library under lib, a CMake
# package (find_package(cqv)) and a pkg-config file (cqv.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS cqvdll
    EXPORT cqvTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Public headers only: *_impl.h and *_internal.h stay inside the library.
install(DIRECTORY cqv/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/cqv
    FILES_MATCHING PATTERN "*.h" PATTERN "*.def"
    PATTERN "*_impl.h" EXCLUDE
    PATTERN "*_internal.h" EXCLUDE)

install(EXPORT cqvTargets
    NAMESPACE cqv::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/cqv)

configure_package_config_file(
    "${PROJECT_SOURCE_DIR}/cmake/cqvConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/cqvConfig.cmake"
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/cqv)
write_basic_package_version_file(
    "${PROJECT_BINARY_DIR}/cqvConfigVersion.cmake"
    COMPATIBILITY SameMinorVersion)
install(FILES
    "${PROJECT_BINARY_DIR}/cqvConfig.cmake"
    "${PROJECT_BINARY_DIR}/cqvConfigVersion.cmake"
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/cqv)

configure_file("${PROJECT_SOURCE_DIR}/cmake/cqv.pc.in" "${PROJECT_BINARY_DIR}/cqv.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/cqv.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Packages of the install tree, made by `cpack` in a build folder: a Debian
# package on Linux (library with its SONAME, headers, CMake package and
# cqv.pc) and a ZIP of the same tree for Windows builds (cqvdll.dll, its
# import library and the headers). The version is the project's, the one
# that also names the shared object and the package files.
set(CPACK_PACKAGE_NAME "cqv")
set(CPACK_PACKAGE_VENDOR "cqv developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "cqv developers <cqv@localhost>")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
# Packages carry the dynamic symbols only, as distributions ship libraries.
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR "ZIP")
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(CPACK_SYSTEM_NAME "win64")
    else()
        set(CPACK_SYSTEM_NAME "win32")
    endif()
else()
    set(CPACK_GENERATOR "DEB")
    set(CPACK_DEBIAN_PACKAGE_NAME "libcqv-dev")
    set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
    set(CPACK_DEBIAN_PACKAGE_SECTION "libdevel")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # The summary is the first line; this is the text below it.
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "The cqvdll shared library with its C++17 headers, its CMake package (find_package(cqv)) and its pkg-config file (cqv.pc).")
    set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
endif()
include(CPack)

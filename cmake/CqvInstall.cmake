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

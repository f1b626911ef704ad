# cmake --install: the plug-in, the stand-ins of the host libraries, their headers, the pstyle
# program with its modules and its sample plot style folder (the catalogues are installed by
# po/), and a package
# configuration so that a host finds it all with find_package(pstyle).
include(CMakePackageConfigHelpers)

set_target_properties(pstyle_lib kesutils kesutils_gui davaz teigha PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(pstyle PROPERTIES INSTALL_RPATH "$ORIGIN/${PSTYLE_LIB_FROM_BIN}")
set_target_properties(pstyle_gui pstyle_plotter PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS pstyle_interface teigha kesutils kesutils_gui davaz pstyle_lib
        EXPORT pstyleTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${PSTYLE_INSTALL_INCLUDEDIR})
install(TARGETS pstyle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program's modules, which it loads from the library folder: not for hosts.
install(TARGETS pstyle_gui pstyle_plotter LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/interface/ DESTINATION ${PSTYLE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")
install(FILES ${PROJECT_SOURCE_DIR}/plotapps/pstyle/lib/pstyle_lib.h
        DESTINATION ${PSTYLE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/plot-styles/ DESTINATION ${PSTYLE_INSTALL_SAMPLEDIR})

set(PSTYLE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/pstyle)
install(EXPORT pstyleTargets NAMESPACE pstyle:: DESTINATION ${PSTYLE_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/pstyleConfig.cmake.in
    ${CMAKE_BINARY_DIR}/pstyleConfig.cmake INSTALL_DESTINATION ${PSTYLE_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/pstyleConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/pstyleConfig.cmake ${CMAKE_BINARY_DIR}/pstyleConfigVersion.cmake
        DESTINATION ${PSTYLE_PACKAGE_DIR})

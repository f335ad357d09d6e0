# Installs the libraries, the public headers, `rivode`, a CMake package and a pkg-config file, so
# a host finds the library with find_package(RivodeRavudaVU) or pkg-config rivoderavudavu.

#
# Components, one a Debian package (cmake/Packaging.cmake): runtime (the shared libraries, the
# protocol modules and whatever else installs without naming a component), dev (headers, the
# unversioned library links, the CMake package, the pkg-config file), rivode (the command, its
# manual page and completion scripts), gui (rivode-gui and the companion library's Qt half).
include(CMakePackageConfigHelpers)

install(TARGETS RivodeRavudaVU DavaraZE RivodePlatform
    EXPORT RivodeRavudaVUTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${RIVODE_PUBLIC_INCLUDE}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT dev)
if(RIVODE_GENERATED_INCLUDE)
    install(DIRECTORY ${RIVODE_GENERATED_INCLUDE}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT dev)
endif()

set(RIVODE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/RivodeRavudaVU)
install(EXPORT RivodeRavudaVUTargets
    NAMESPACE RivodeRavudaVU::
    DESTINATION ${RIVODE_CMAKE_DIR}
    COMPONENT dev)
# The companion library's Qt half, for hosts with a window system (component Qt of the package:
# find_package(RivodeRavudaVU COMPONENTS Qt)). It comes with the GUI host, targets included, so
# the library's package never names a file that is not installed and never pulls in Qt.
if(TARGET DavaraZEQt)
    install(TARGETS DavaraZEQt
        EXPORT RivodeRavudaVUQtTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT gui NAMELINK_COMPONENT gui
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(EXPORT RivodeRavudaVUQtTargets
        NAMESPACE RivodeRavudaVU::
        DESTINATION ${RIVODE_CMAKE_DIR}
        COMPONENT gui)
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/RivodeRavudaVUConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfig.cmake
    INSTALL_DESTINATION ${RIVODE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfigVersion.cmake
    ${CMAKE_CURRENT_LIST_DIR}/RivodeVersionRecord.cmake
    DESTINATION ${RIVODE_CMAKE_DIR}
    COMPONENT dev)

# From the pkg-config folder up to the prefix: "../.." for lib/pkgconfig, one more for a
# multiarch lib/x86_64-linux-gnu/pkgconfig.
file(RELATIVE_PATH RIVODE_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(${CMAKE_CURRENT_LIST_DIR}/rivoderavudavu.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/rivoderavudavu.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/rivoderavudavu.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT dev)

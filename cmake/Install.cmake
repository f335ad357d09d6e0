# Installs the libraries, the public headers, `rivode`, a CMake package and a pkg-config file, so
# a host finds the library with find_package(RivodeRavudaVU) or pkg-config rivoderavudavu.
include(CMakePackageConfigHelpers)

install(TARGETS RivodeRavudaVU DavaraZE RivodePlatform
    EXPORT RivodeRavudaVUTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${RIVODE_PUBLIC_INCLUDE}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(RIVODE_GENERATED_INCLUDE)
    install(DIRECTORY ${RIVODE_GENERATED_INCLUDE}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endif()

set(RIVODE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/RivodeRavudaVU)
install(EXPORT RivodeRavudaVUTargets
    NAMESPACE RivodeRavudaVU::
    DESTINATION ${RIVODE_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/RivodeRavudaVUConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfig.cmake
    INSTALL_DESTINATION ${RIVODE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/RivodeRavudaVUConfigVersion.cmake
    ${CMAKE_CURRENT_LIST_DIR}/RivodeVersionRecord.cmake
    DESTINATION ${RIVODE_CMAKE_DIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/rivoderavudavu.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/rivoderavudavu.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/rivoderavudavu.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

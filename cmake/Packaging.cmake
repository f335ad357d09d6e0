# Debian packages through CPack (scripts/package builds them in Release):
#   librivoderavudavu0      the shared libraries and the protocol modules (component runtime)
#   librivoderavudavu-dev   headers, library links, CMake package, pkg-config file (dev)
#   rivode                  the command, its manual page and completion scripts (rivode)
#   rivode-gui              the Qt host and the companion library's Qt half (gui)
# Dependencies on other Debian packages come from the binaries themselves (dpkg-shlibdeps);
# those between our packages require the same version.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rivoderavudavu)
set(CPACK_PACKAGE_VENDOR "Yarrowby Software, Inc.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Yarrowby Software, Inc. <packages@yarrowby.example>")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Binaries of one package that link the libraries of another find them in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    "${CMAKE_BINARY_DIR};${CMAKE_BINARY_DIR}/davaraze;${CMAKE_BINARY_DIR}/platform")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")

set(rivode_package_components runtime dev rivode)
if(TARGET rivode-gui)
    list(APPEND rivode_package_components gui)
endif()
set(CPACK_COMPONENTS_ALL ${rivode_package_components})

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME librivoderavudavu${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
   "configuration library of the Quillterm and Quillfile clients
RivodeRavudaVU reads, edits and stores what the Quillterm terminal emulator and the
Quillfile file-transfer client make configurable: sessions in folders, application-wide
options, credentials, firewalls, key maps, colors and printer settings, with passwords and
other secrets enciphered.

This package holds the shared libraries, their message tables and the reference protocol
modules.")
# A shlibs file, so that packages built against the library depend on this one. (CPack's own
# postinst and postrm run ldconfig for a package that holds shared libraries.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME librivoderavudavu-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_DEBIAN_DEV_DESCRIPTION
   "configuration library of the Quillterm and Quillfile clients (development files)
The headers of RivodeRavudaVU, its CMake package (find_package(RivodeRavudaVU)) and its
pkg-config file (pkg-config rivoderavudavu), for building host applications.")

set(CPACK_DEBIAN_RIVODE_PACKAGE_NAME rivode)
set(CPACK_DEBIAN_RIVODE_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_RIVODE_DEPENDS runtime)
set(CPACK_DEBIAN_RIVODE_DESCRIPTION
   "command-line access to Quillterm and Quillfile configuration folders
rivode lists, shows and changes the keys and values of a configuration folder, its sessions
and session folders, the application-wide options, key maps and color schemes, and
enciphers and deciphers sensitive values, for people at a terminal and for scripts (--json).
It comes with a manual page and completion for bash and zsh.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME rivode-gui)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_GUI_DEPENDS runtime)
set(CPACK_DEBIAN_GUI_DESCRIPTION
   "graphical editor of Quillterm and Quillfile configuration folders
rivode-gui shows and edits sessions, folders and the application-wide options of a
configuration folder in dialogs.")

# Every package carries the copyright file Debian policy asks for.
foreach(component IN LISTS rivode_package_components)
    string(TOUPPER ${component} upper)
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}"
        COMPONENT ${component})
endforeach()

include(CPack)

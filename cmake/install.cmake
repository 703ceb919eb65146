# What `cmake --install` puts under the prefix, and the Debian package `cpack -G DEB` makes of it.
include(GNUInstallDirs)

install(TARGETS tavik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES doc/tavik.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES doc/tavikrc.sample README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME tavik)
set(CPACK_PACKAGE_VENDOR "Tavik")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "modal text editor and editing engine of the vi family")
set(CPACK_PACKAGE_CONTACT "Tavik developers <tavik@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The runtime libraries (curses, the C++ library) are read off the program by dpkg-shlibdeps
# where it is installed; the list below stands in where it is not.
find_program(TAVIK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TAVIK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libncursesw6, libtinfo6")
endif()
include(CPack)

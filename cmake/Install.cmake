# Installation under the GNU directory layout and the Debian package.
#
#   cmake --install build [--prefix /usr]      (default prefix /usr/local)
#   cd build && cpack -G DEB                    (the package installs under /usr)
#
# An installed program keeps its data in the user's data folder; see
# src/core/app/dataroot.cpp, which recognises the installed layout by the
# desktop entry under share/applications beside bin/.
include(GNUInstallDirs)

install(TARGETS vellumark RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES data/${VELLUMARK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${VELLUMARK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The window icon is the application icon: one drawing, installed scalable.
install(FILES src/ui/resources/icons/vellumark.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VELLUMARK_APP_ID}.svg)

# The manual page, version filled in and compressed as Debian ships them.
configure_file(data/vellumark.1.in ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1 @ONLY)
find_program(GZIP_EXECUTABLE gzip REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1.gz
  COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1
          > ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1
  VERBATIM)
add_custom_target(manpage ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vellumark.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Data the program ships, when the source tree has them: the folder sounds/
# goes to share/vellumark/sounds/ as it is (InstalledDataDir() finds it);
# without the folder nothing is installed and nothing fails.
install(DIRECTORY sounds/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vellumark/sounds
        OPTIONAL PATTERN ".*" EXCLUDE)

# ---- Debian package -------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumark)
set(CPACK_PACKAGE_VENDOR "The Vellumark developers")
set(CPACK_PACKAGE_CONTACT "The Vellumark developers <vellumark@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop organiser for day notes, projects, lists and decisions")
set(CPACK_PACKAGE_DESCRIPTION "Vellumark keeps one person's day notes, project notebooks, \
lists and decisions in one window, as plain text files in a folder of the user's own.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary (dpkg-shlibdeps); the rest is what Qt
# loads at run time: the GStreamer elements that play wave files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
# Arial's metric twin, Wayland support and the opener for files and folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland, xdg-utils")
include(CPack)

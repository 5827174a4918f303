# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package. In a build folder, `cpack -G DEB` makes tavoro_<version>_<arch>.deb, which
# installs both programs under /usr with their desktop entries, icons, manual pages, the AppStream
# metainfo and, in /usr/share/doc/tavoro, the copyright file and the changelog.

# Only Linux builds with the programs have something to package.
if(NOT (UNIX AND NOT APPLE) OR NOT TAVORO_GUI)
  return()
endif()

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/TavoroProgram.cmake) # tavoro_gzip()

# Debian wants both files in the package's documentation folder, the changelog compressed.
set(TAVORO_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tavoro)
tavoro_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${TAVORO_PACKAGE_DOCDIR})

set(TAVORO_PACKAGE_MAINTAINER "Tavoro developers <tavoro@example.org>"
  CACHE STRING "The Debian package's Maintainer field: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavoro)
set(CPACK_PACKAGE_VENDOR "The Tavoro developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TAVORO_PACKAGE_MAINTAINER}")
# The package installs where the desktop looks: /usr/bin, /usr/share/applications, ...
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Release binaries carry no symbols; a debugger gets them from the build folder.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tavoro_1.0.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVORO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The first line is the synopsis, the rest the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "large-print four-function desk calculator
An easy to see (and use) calculator for us old blind guys.
.
Tavoro is a desk calculator for people with poor eyesight: huge, brightly
coloured keys, a big display for the running total, a second one for the
number being typed and a label for the pending operator. It adds, subtracts,
multiplies and divides strictly left to right, like an adding machine, and
writes each step on a paper-style tape that can be shown, hidden and emptied.
Screen readers reach every key, display and the tape by name (AT-SPI).
.
Two programs are included, tavoro3 (Tavoro 3) and tavoro2 (Tavoro 2); they
calculate identically and differ in their start-up window.")
# The libraries the programs link (Qt 6, libcanberra, GLib and the C++ runtime) come from
# dpkg-shlibdeps; the windows' look is measured in the Liberation and DejaVu fonts, which nothing
# links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core")
# The beep is the sound theme's bell, played through the sound server: libcanberra reaches
# PulseAudio, or PipeWire in its place, through libcanberra-pulse, and finds the bell in the
# freedesktop theme (the fallback of every theme). Without them the programs ring the toolkit's
# bell, which Wayland and many X11 desktops leave silent; apt installs recommended packages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcanberra-pulse, sound-theme-freedesktop")
# Owner root and the usual modes for the control files, as dpkg-deb builds them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

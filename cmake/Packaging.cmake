# Installation and the Debian package (`cpack` in the build folder makes build/lumora_*.deb).
# Installed, the programs live in /usr/bin and the shipped data folder in /usr/share/lumora; the
# program then keeps its data in the user's folder, seeded from the shipped one (core/Files).
include(GNUInstallDirs)
install(TARGETS lumora-cli lumora-feed RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET lumora)
  install(TARGETS lumora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lumora)
# The scheme folder fa/ and the export folder txt/ ship empty.
install(DIRECTORY ${LUMORA_RUNTIME_DIR}/data/fa ${LUMORA_RUNTIME_DIR}/data/txt DESTINATION ${CMAKE_INSTALL_DATADIR}/lumora)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/io.github.lumora.Lumora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lumora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The release date is the date of this version's entry in CHANGELOG.md: a version without one is
# not a release anybody can read about, so configuring stops.
string(REPLACE "." "\\." _version_pattern ${PROJECT_VERSION})
file(STRINGS ${CMAKE_SOURCE_DIR}/CHANGELOG.md _entry REGEX "^## \\[${_version_pattern}\\] - [0-9]+-[0-9]+-[0-9]+")
if(NOT _entry MATCHES "([0-9]+-[0-9]+-[0-9]+)")
  message(FATAL_ERROR "CHANGELOG.md has no entry \"## [${PROJECT_VERSION}] - YYYY-MM-DD\" for the version in CMakeLists.txt")
endif()
set(LUMORA_RELEASE_DATE ${CMAKE_MATCH_1})
set(_generated ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/packaging/io.github.lumora.Lumora.metainfo.xml.in
               ${_generated}/io.github.lumora.Lumora.metainfo.xml @ONLY)
install(FILES ${_generated}/io.github.lumora.Lumora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

if(WIN32)
  lumora_windows_resource(lumora-cli "Lumora command-line tool")
  lumora_windows_resource(lumora-feed "Lumora local draw feed")
  if(TARGET lumora)
    lumora_windows_resource(lumora "Lumora")
  endif()
else()
  # Manual pages, the copyright file and the changelog the Debian package carries.
  set(_docs)
  foreach(_page lumora lumora-cli lumora-feed)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/man/${_page}.1.in ${_generated}/man/${_page}.1 @ONLY)
    add_custom_command(OUTPUT ${_generated}/man/${_page}.1.gz
      COMMAND gzip -9nf -k ${_generated}/man/${_page}.1
      DEPENDS ${_generated}/man/${_page}.1 VERBATIM)
    list(APPEND _docs ${_generated}/man/${_page}.1.gz)
    install(FILES ${_generated}/man/${_page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/copyright.in ${_generated}/debian/copyright @ONLY)
  add_custom_command(OUTPUT ${_generated}/debian/changelog.gz
    COMMAND bash ${CMAKE_SOURCE_DIR}/packaging/debian-changelog.sh ${CMAKE_SOURCE_DIR}/CHANGELOG.md lumora
            ${LUMORA_CONTACT} ${_generated}/debian/changelog
    COMMAND gzip -9nf ${_generated}/debian/changelog
    DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/packaging/debian-changelog.sh VERBATIM)
  list(APPEND _docs ${_generated}/debian/changelog.gz)
  add_custom_target(lumora_package_docs ALL DEPENDS ${_docs})
  install(FILES ${_generated}/debian/copyright ${_generated}/debian/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumora)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VENDOR "${LUMORA_PUBLISHER}")
set(CPACK_PACKAGE_CONTACT "${LUMORA_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Plans, trend curves and betting help for a five-digit draw")
set(CPACK_PACKAGE_DESCRIPTION "Lumora is a desktop assistant for players of a high-frequency
five-digit numbers draw. It keeps the latest 120 draws, fetched from a
draw-feed service or typed in by hand, turns trend lines drawn with the
mouse into pools of three-digit numbers, intersects them into a plan for
the next draw, judges and books every plan, ranks the digits, filters
numbers, manages the capital of progressive betting and keeps a journal
of everything it did.
.
The package holds the desktop program lumora, the command-line tool
lumora-cli (feed checks, backtests, parameter sweeps, journal export) and
lumora-feed, a local draw-feed service for trying the program out.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Chinese texts need a CJK font (the libraries themselves come from shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
include(CPack)

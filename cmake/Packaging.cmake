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
install(FILES ${CMAKE_SOURCE_DIR}/packaging/io.github.lumora.Lumora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lumora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VENDOR "Lumora")
set(CPACK_PACKAGE_CONTACT "Lumora maintainers <lumora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Plans, trend curves and betting help for a five-digit draw")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Chinese texts need a CJK font (the libraries themselves come from shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
include(CPack)

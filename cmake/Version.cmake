# The program's version: project(VERSION) in the top CMakeLists.txt, and the commit the build was
# made from. The commit is read at build time, not configure time, so that a rebuild after a new
# commit names the new one; only the small lumora_version library recompiles when it changes.
#   LUMORA_VERSION_FILE  the generated source (build folder)
#   lumora_version       the library every program links for its --version and About text
# Who publishes the packages: the Debian maintainer field, the installer's publisher, the version
# resource of the Windows programs.
set(LUMORA_PUBLISHER "Lumora developers")
set(LUMORA_CONTACT "Lumora developers <devel@lumora-project.org>")
set(LUMORA_COPYRIGHT_YEARS 2026)

set(LUMORA_VERSION_FILE ${CMAKE_BINARY_DIR}/generated/VersionInfo.cpp)
add_custom_target(lumora_version_stamp
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUTPUT=${LUMORA_VERSION_FILE}
          -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/VersionStamp.cmake
  BYPRODUCTS ${LUMORA_VERSION_FILE}
  COMMENT "Stamping the version and commit"
  VERBATIM)
add_library(lumora_version STATIC ${LUMORA_VERSION_FILE})
add_dependencies(lumora_version lumora_version_stamp)
# It defines what core/Version.h declares.
target_link_libraries(lumora_version PUBLIC lumora_core)

# The same for the packaging scripts (scripts/windows.sh, scripts/release.sh): sourced by bash.
file(WRITE ${CMAKE_BINARY_DIR}/generated/release.env
     "LUMORA_VERSION='${PROJECT_VERSION}'\nLUMORA_PUBLISHER='${LUMORA_PUBLISHER}'\n")

# Windows builds of the same tree: cross-built on Debian with mingw-w64 (cmake/mingw-w64.cmake for
# the engine, the command-line programs and their tests; Qt's qt.toolchain.cmake of the Qt for
# Windows that scripts/windows/qt.sh builds when the shell is built too), or built on Windows.
# Every program is linked statically: nothing but Windows' own DLLs beside it.
if(NOT WIN32)
  return()
endif()

add_link_options(-static)
# Wide-character Win32 calls by default; the few ANSI calls say so by name.
add_compile_definitions(UNICODE _UNICODE)

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  # ctest runs the .exe tests under Wine on a private virtual screen.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/win32/wine-run.sh)
endif()
# The Wine prefix the tests of this build share (they take turns).
set(LUMORA_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)

# lumora_googletest(): GoogleTest for the cross build. No mingw package of it exists, so it is
# built here from the sources Debian's libgtest-dev ships, with the cross compiler.
macro(lumora_googletest)
  if(NOT TARGET GTest::gtest)
    set(LUMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources built for Windows")
    if(NOT EXISTS ${LUMORA_GTEST_SOURCE}/CMakeLists.txt)
      message(FATAL_ERROR "GoogleTest sources not found in ${LUMORA_GTEST_SOURCE} (apt-get install libgtest-dev libgmock-dev)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${LUMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endmacro()

# SQLite: a cross build has no system SQLite to find. scripts/windows/sqlite.sh builds a static
# one from Debian's source; LUMORA_SQLITE_DIR names its folder, and find_package(SQLite3) then
# finds it there (SQLite::SQLite3).
set(LUMORA_SQLITE_DIR "" CACHE PATH "Static SQLite for Windows (include/, lib/libsqlite3.a)")
if(LUMORA_SQLITE_DIR)
  set(SQLite3_INCLUDE_DIR ${LUMORA_SQLITE_DIR}/include CACHE PATH "" FORCE)
  set(SQLite3_LIBRARY ${LUMORA_SQLITE_DIR}/lib/libsqlite3.a CACHE FILEPATH "" FORCE)
endif()

# lumora_windows_resource(TARGET DESCRIPTION): the program's version resource and icon, shown in
# Explorer's properties and by the installed-programs list (packaging/windows-version.rc.in).
# packaging/lumora.ico holds packaging/lumora.svg at 16 to 256 pixels (rsvg-convert, then
# ImageMagick's convert of the PNGs into one .ico).
enable_language(RC)
function(lumora_windows_resource target description)
  set(LUMORA_RC_NAME ${target})
  set(LUMORA_RC_DESCRIPTION "${description}")
  set(LUMORA_RC_ICON ${CMAKE_SOURCE_DIR}/packaging/lumora.ico)
  # Four numbers: 0.1 is 0,1,0,0.
  set(_v ${PROJECT_VERSION}.0.0.0)
  string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+" _v ${_v})
  string(REPLACE "." "," LUMORA_RC_VERSION_COMMAS ${_v})
  set(_rc ${CMAKE_BINARY_DIR}/generated/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows-version.rc.in ${_rc} @ONLY)
  target_sources(${target} PRIVATE ${_rc})
endfunction()

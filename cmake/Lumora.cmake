# lumora_include_root(TARGET DIR [EXCEPT SUBFOLDER...]): TARGET and whoever links it see src/DIR,
# and nothing else of src/, through an include folder of the build tree,
# build/include/TARGET/DIR -> src/DIR. Headers keep their "DIR/Name.h" spelling. A library so sees
# its own folder and the folders of the libraries it links (transitively), never a higher layer's:
# an include of a folder the library does not link fails to compile (tests/layering checks that).
# Subfolders named after EXCEPT are libraries of their own (the desktop backends in output/): the
# folder is then linked entry by entry without them, and they get their own include folders.
function(lumora_include_root target dir)
  cmake_parse_arguments(R "" "" "EXCEPT" ${ARGN})
  set(_root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(_parent ${_root}/${dir} DIRECTORY)
  file(MAKE_DIRECTORY ${_parent})
  if(NOT R_EXCEPT)
    if(IS_DIRECTORY ${_root}/${dir} AND NOT IS_SYMLINK ${_root}/${dir})
      message(FATAL_ERROR "${_root}/${dir} is left from an older layout: remove ${_root}")
    endif()
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${dir} ${_root}/${dir} SYMBOLIC)
  else()
    if(IS_SYMLINK ${_root}/${dir})
      file(REMOVE ${_root}/${dir})
    endif()
    file(MAKE_DIRECTORY ${_root}/${dir})
    # A new file in the folder re-runs the configuration, which links it.
    file(GLOB _entries LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/src/${dir}
         ${CMAKE_SOURCE_DIR}/src/${dir}/*)
    foreach(_entry ${_entries})
      if(NOT _entry IN_LIST R_EXCEPT)
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${dir}/${_entry} ${_root}/${dir}/${_entry} SYMBOLIC)
      endif()
    endforeach()
  endif()
  target_include_directories(${target} PUBLIC ${_root})
endfunction()

# lumora_library(NAME DIR [DEPS ...] [EXCEPT SUBFOLDER...]): a static library of every source in
# src/DIR, seeing only src/DIR (without the EXCEPT subfolders) and the folders of its DEPS.
# Sources are globbed so a new file in a subsystem folder needs no CMake edit.
function(lumora_library name dir)
  cmake_parse_arguments(L "" "" "EXCEPT" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
  add_library(${name} STATIC ${_src})
  lumora_include_root(${name} ${dir} EXCEPT ${L_EXCEPT})
  if(L_UNPARSED_ARGUMENTS)
    target_link_libraries(${name} PUBLIC ${L_UNPARSED_ARGUMENTS})
  endif()
endfunction()

# lumora_test_code(TARGET): test code is compiled lightly (-O1, line tables only): it is the
# template-heavy half of the build and runs briefly, while the libraries it tests keep the build's
# own optimisation. Halves the compile time of a test file.
function(lumora_test_code target)
  if(NOT MSVC)
    target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O1> $<$<CONFIG:RelWithDebInfo>:-g1>)
  endif()
endfunction()

# lumora_test(NAME SOURCES... [LIBS ...] [GUI] [SERIAL] [ENV k=v ...])
# One GoogleTest executable registered with ctest; GUI tests run on Qt's offscreen platform.
function(lumora_test name)
  cmake_parse_arguments(T "GUI;SERIAL" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  # The engine's folders come from the libraries a test links.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  lumora_test_code(${name})
  add_test(NAME ${name} COMMAND ${name})
  set(_env "LUMORA_DATA=${CMAKE_BINARY_DIR}/bin/data" "LUMORA_BIN=${CMAKE_BINARY_DIR}/bin"
           "LUMORA_SOURCE=${CMAKE_SOURCE_DIR}" ${T_ENV})
  if(LUMORA_WINEPREFIX)
    list(APPEND _env "WINEPREFIX=${LUMORA_WINEPREFIX}")
  endif()
  if(T_GUI)
    list(APPEND _env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 600)
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# lumora_httplib: cpp-httplib for lumora-feed, lumora-cli and the end-to-end tests.
# Native builds find Debian's through pkg-config (a split header and its shared library). Windows
# builds use the upstream single header (header-only) that scripts/windows/httplib.sh takes from
# Debian's source package, named by LUMORA_HTTPLIB_DIR, and link Winsock.
function(lumora_httplib)
  if(TARGET lumora_httplib)
    return()
  endif()
  find_package(Threads REQUIRED)
  add_library(lumora_httplib INTERFACE)
  if(WIN32)
    set(LUMORA_HTTPLIB_DIR "" CACHE PATH "Folder with cpp-httplib's single header httplib.h")
    if(NOT EXISTS "${LUMORA_HTTPLIB_DIR}/httplib.h")
      message(FATAL_ERROR "LUMORA_HTTPLIB_DIR must name a folder with the header-only httplib.h "
                          "(bash scripts/windows/httplib.sh prints one)")
    endif()
    target_include_directories(lumora_httplib SYSTEM INTERFACE ${LUMORA_HTTPLIB_DIR})
    target_link_libraries(lumora_httplib INTERFACE ws2_32 Threads::Threads)
  else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
    target_link_libraries(lumora_httplib INTERFACE PkgConfig::HTTPLIB Threads::Threads)
  endif()
endfunction()

# lumora_library(NAME DIR [DEPS ...]): a static library of every source in src/DIR.
# Sources are globbed so a new file in a subsystem folder needs no CMake edit.
function(lumora_library name dir)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# lumora_test(NAME SOURCES... [LIBS ...] [GUI] [SERIAL] [ENV k=v ...])
# One GoogleTest executable registered with ctest; GUI tests run on Qt's offscreen platform.
function(lumora_test name)
  cmake_parse_arguments(T "GUI;SERIAL" "" "SOURCES;LIBS;ENV" ${ARGN})
  # Every test program runs with strict control names (tests/support/StrictControlNames.cpp).
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/StrictControlNames.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_test(NAME ${name} COMMAND ${name})
  set(_env "LUMORA_DATA=${CMAKE_BINARY_DIR}/bin/data" "LUMORA_BIN=${CMAKE_BINARY_DIR}/bin"
           "LUMORA_SOURCE=${CMAKE_SOURCE_DIR}" ${T_ENV})
  if(T_GUI)
    list(APPEND _env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 600)
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

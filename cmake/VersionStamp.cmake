# cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P VersionStamp.cmake
# Writes OUTPUT with the version and the commit of SOURCE_DIR; the file is rewritten only when its
# text changes, so an unchanged commit compiles nothing. Outside a git checkout of this very tree
# (a source archive, or one unpacked inside another repository) the commit is "unknown".
set(_commit unknown)
find_program(_git git)
if(_git)
  execute_process(COMMAND ${_git} -C ${SOURCE_DIR} rev-parse --show-toplevel
                  OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _rc ERROR_QUIET)
  if(_rc EQUAL 0)
    file(REAL_PATH "${_top}" _top)
    file(REAL_PATH "${SOURCE_DIR}" _src)
  endif()
  if(_rc EQUAL 0 AND _top STREQUAL _src)
    execute_process(COMMAND ${_git} -C ${SOURCE_DIR} rev-parse --short=10 HEAD
                    OUTPUT_VARIABLE _hash OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _rc ERROR_QUIET)
    if(_rc EQUAL 0 AND _hash)
      set(_commit ${_hash})
      # Tracked files changed since the commit: the build is not that commit.
      execute_process(COMMAND ${_git} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
                      OUTPUT_VARIABLE _changes RESULT_VARIABLE _rc ERROR_QUIET)
      if(_rc EQUAL 0 AND NOT _changes STREQUAL "")
        string(APPEND _commit "-modified")
      endif()
    endif()
  endif()
endif()

set(_text "// Generated at build time by cmake/VersionStamp.cmake.
#include \"core/Version.h\"

namespace lumora {
const char* const kVersion = \"${VERSION}\";
const char* const kCommit = \"${_commit}\";
}  // namespace lumora
")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
else()
  set(_old "")
endif()
if(NOT _old STREQUAL _text)
  file(WRITE ${OUTPUT} "${_text}")
endif()

# Writes the version of this build into OUTPUT (a C++ source): the project's
# version and, when the sources are a git checkout, the commit they are at
# ("-dirty" when they differ from it). Run at every build, so the commit is
# never stale; the file is rewritten only when the text changes.
# Arguments: SOURCE_DIR, OUTPUT, VERSION.
set(commit "")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT} describe --always --dirty --abbrev=10 --match "no-tags-wanted"
                  WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(commit "")
  endif()
endif()
set(text "// Written by cmake/WriteVersion.cmake at build time.\n#include \"frontend/BuildVersion.h\"\n\nconst char* BuildVersion() { return \"${VERSION}\"; }\nconst char* BuildCommit() { return \"${commit}\"; }\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT "${old}" STREQUAL "${text}")
  file(WRITE "${OUTPUT}" "${text}")
endif()

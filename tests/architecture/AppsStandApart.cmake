cmake_minimum_required(VERSION 3.25)
# The two programs share the library under them, never each other: nothing under apps/designer
# includes a header of apps/cli or links its library, and apps/cli includes nothing of
# apps/designer. Run with -DSOURCE_DIR=<project> -DDESIGNER_LINKS=<the designer's libraries>.
function(headers_of folder out)
  file(GLOB headers RELATIVE ${folder} ${folder}/*.h)
  set(${out} ${headers} PARENT_SCOPE)
endfunction()

# Fails when a source under `from` includes by its bare name a header that only `to` holds.
function(check_includes from to)
  headers_of(${SOURCE_DIR}/${from} own)
  headers_of(${SOURCE_DIR}/${to} foreign)
  list(REMOVE_ITEM foreign ${own})
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${from}/*.cpp ${SOURCE_DIR}/${from}/*.h)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      get_filename_component(name "${included}" NAME)
      if(included MATCHES "^(\\.\\./)*apps/|/${to}/" OR (included STREQUAL name AND name IN_LIST foreign))
        message(SEND_ERROR "${source} includes ${included} of ${to}")
      endif()
    endforeach()
  endforeach()
endfunction()

check_includes(apps/designer apps/cli)
check_includes(apps/cli apps/designer)
if(DESIGNER_LINKS MATCHES "quarn_cli_commands")
  message(SEND_ERROR "the designer links the command-line tool's library: ${DESIGNER_LINKS}")
endif()

# Runs the designer with --version and with --help where no display can be reached. --version
# prints what the command-line tool prints for its --version; --help prints the usage with the
# options a user needs and without those of tests and pictures. Both exit with 0.
# Usage: cmake -DDESIGNER=<program> -DCLI=<program> -P DesignerWithoutDisplay.cmake
function(run_without_display option)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${DESIGNER} ${option}
    RESULT_VARIABLE exit_code OUTPUT_VARIABLE printed ERROR_VARIABLE errors)
  if(NOT exit_code EQUAL 0)
    message(FATAL_ERROR "subsysmgr-designer ${option} exited with ${exit_code}: ${errors}")
  endif()
  set(printed "${printed}" PARENT_SCOPE)
endfunction()

run_without_display(--version)
execute_process(COMMAND ${CLI} --version OUTPUT_VARIABLE expected)
if(expected STREQUAL "" OR NOT printed STREQUAL expected)
  message(FATAL_ERROR "subsysmgr-designer --version printed '${printed}', subsysmgr '${expected}'")
endif()

run_without_display(--help)
if(NOT printed MATCHES "^Usage: [^\n]*subsysmgr-designer \\[options\\]\n")
  message(FATAL_ERROR "subsysmgr-designer --help does not start with its usage: '${printed}'")
endif()
foreach(option IN ITEMS --db --lang --version --find)
  if(NOT printed MATCHES "${option}")
    message(FATAL_ERROR "subsysmgr-designer --help does not list ${option}: '${printed}'")
  endif()
endforeach()
foreach(option IN ITEMS --screenshot --quit-after-paint)
  if(printed MATCHES "${option}")
    message(FATAL_ERROR "subsysmgr-designer --help lists ${option}, which only pictures need")
  endif()
endforeach()

# Runs the designer with --version where no display can be reached and expects what the
# command-line tool prints for its --version, and exit code 0.
# Usage: cmake -DDESIGNER=<program> -DCLI=<program> -P DesignerVersion.cmake
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${DESIGNER} --version
  RESULT_VARIABLE exit_code OUTPUT_VARIABLE printed ERROR_VARIABLE errors)
execute_process(COMMAND ${CLI} --version OUTPUT_VARIABLE expected)
if(NOT exit_code EQUAL 0)
  message(FATAL_ERROR "subsysmgr-designer --version exited with ${exit_code}: ${errors}")
endif()
if(expected STREQUAL "" OR NOT printed STREQUAL expected)
  message(FATAL_ERROR "subsysmgr-designer --version printed '${printed}', subsysmgr '${expected}'")
endif()

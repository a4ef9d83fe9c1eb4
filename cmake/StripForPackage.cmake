# Run by CPack on the files it is about to package (CPACK_PRE_BUILD_SCRIPTS), before it moves
# the debug information of the programs and the component library into the -dbgsym package.
# Our static libraries are no file CPack strips: their debug information, which would be most
# of the package, goes (a user who debugs into them builds from source). The compiler's notes
# of its version (.comment) go from every file: nothing reads them.
file(GLOB_RECURSE archives "${CPACK_TEMPORARY_DIRECTORY}/*/libquarn_*.a")
foreach(archive IN LISTS archives)
  execute_process(COMMAND ${CPACK_QUARN_STRIP} --strip-debug --remove-section=.comment ${archive}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB_RECURSE binaries "${CPACK_TEMPORARY_DIRECTORY}/*/bin/*"
     "${CPACK_TEMPORARY_DIRECTORY}/*/libquarn_*.so.*")
foreach(binary IN LISTS binaries)
  if(NOT IS_SYMLINK ${binary})
    execute_process(COMMAND ${CPACK_QUARN_OBJCOPY} --remove-section=.comment ${binary}
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

# Run by CPack on the packages it made (CPACK_POST_BUILD_SCRIPTS): puts right what CPack 3.25
# gets wrong in the -dbgsym package. Its md5sums name the files by their path in the build
# folder, so `dpkg --verify` finds none of them; its debug files are executable; and it lacks
# the link of its documentation folder to the main package's, which holds the copyright.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "-dbgsym_[^/]*\\.ddeb$")
    continue()
  endif()
  string(REGEX REPLACE "^.*/([^/]*)-dbgsym_[^/]*$" "\\1" main_package ${package})
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE debug_files RELATIVE ${tree} ${tree}/usr/lib/debug/*.debug)
  execute_process(COMMAND chmod 0644 ${debug_files} WORKING_DIRECTORY ${tree}
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND md5sum ${debug_files} WORKING_DIRECTORY ${tree}
    OUTPUT_FILE ${tree}/DEBIAN/md5sums COMMAND_ERROR_IS_FATAL ANY)
  file(MAKE_DIRECTORY ${tree}/usr/share/doc)
  file(CREATE_LINK ${main_package} ${tree}/usr/share/doc/${main_package}-dbgsym SYMBOLIC)
  # Fast compression: the package is large and made in every CI run.
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -z6 --build ${tree} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()

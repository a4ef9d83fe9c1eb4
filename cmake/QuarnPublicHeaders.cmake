# The public headers: what the installed package offers under <prefix>/include/quarn. A user
# puts only <prefix>/include on its include path and writes <quarn/model/SubSysGroup.h>, so the
# public headers include each other as "quarn/model/SubSysGroup.h". The build offers the same
# names under <build>/include/quarn, as links to the sources, and each layer's targets see its
# part of them (cmake/QuarnLayers.cmake); the rest of the tree keeps including
# "model/SubSysGroup.h", and internal headers never appear under quarn/.
#
#   quarn_public_headers(<header under src/> ...)  links them into <build>/include, remembers them
#   quarn_add_header_check(<target>)                compiles each one alone
#   quarn_install_public_headers()                  installs them

set(QUARN_PUBLIC_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)

# The name under include/ of a header given by its path under src/: "model/X.h" becomes
# "quarn/model/X.h"; the umbrella header src/quarn/subsysmgr.h keeps its name.
function(quarn_public_header_name header out)
  if(header MATCHES "^quarn/")
    set(${out} ${header} PARENT_SCOPE)
  else()
    set(${out} quarn/${header} PARENT_SCOPE)
  endif()
endfunction()

function(quarn_public_headers)
  # Made anew at every configure, so a header taken off the list is gone from the build too.
  file(REMOVE_RECURSE ${QUARN_PUBLIC_INCLUDE_DIR})
  foreach(header IN LISTS ARGN)
    quarn_public_header_name(${header} name)
    get_filename_component(folder ${QUARN_PUBLIC_INCLUDE_DIR}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${header} ${QUARN_PUBLIC_INCLUDE_DIR}/${name}
      SYMBOLIC)
  endforeach()
  set_property(GLOBAL PROPERTY QUARN_PUBLIC_HEADERS ${ARGN})
endfunction()

# An object library of one generated source per public header that includes it, twice (for its
# include guard), with nothing but <build>/include and Qt on the include path: a header that
# needs another one included first, or that includes an internal header, fails the build.
function(quarn_add_header_check target)
  get_property(headers GLOBAL PROPERTY QUARN_PUBLIC_HEADERS)
  set(sources)
  foreach(header IN LISTS headers)
    quarn_public_header_name(${header} name)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include <${name}>\n#include <${name}>\n")
    list(APPEND sources ${source})
  endforeach()
  add_library(${target} OBJECT ${sources})
  # Each header alone, never several to a unit.
  set_target_properties(${target} PROPERTIES UNITY_BUILD OFF)
  target_include_directories(${target} PRIVATE ${QUARN_PUBLIC_INCLUDE_DIR})
  target_link_libraries(${target} PRIVATE Qt6::Widgets)
  quarn_set_warnings(${target})
endfunction()

function(quarn_install_public_headers)
  get_property(headers GLOBAL PROPERTY QUARN_PUBLIC_HEADERS)
  foreach(header IN LISTS headers)
    quarn_public_header_name(${header} name)
    get_filename_component(folder ${name} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/src/${header}
      DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${folder})
  endforeach()
endfunction()

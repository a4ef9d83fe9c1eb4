# The layers of src/: each folder is a target that links only the layers under it and sees only
# their headers, so an include that climbs fails to build (tests/layers proves it). A layer's
# include root is <build>/layers/<layer>, holding two links: <layer> to src/<layer>, for
# "model/SubSysGroup.h", and quarn/<layer> to its public headers under <build>/include, for
# "quarn/model/SubSysGroup.h". A target's include path is its own root and those of the layers it
# links, never src/ or all of <build>/include.
#
#   quarn_add_layer(<layer> <source> ...)           the static library quarn_<layer> (Quarn::<layer>)
#   quarn_layer_include_root(<target> <layer>)      gives <target> the include root of src/<layer>

set(QUARN_LAYER_INCLUDE_DIR ${PROJECT_BINARY_DIR}/layers)

function(quarn_layer_include_root target layer)
  set(root ${QUARN_LAYER_INCLUDE_DIR}/${layer})
  file(MAKE_DIRECTORY ${root}/quarn)
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  file(CREATE_LINK ${QUARN_PUBLIC_INCLUDE_DIR}/quarn/${layer} ${root}/quarn/${layer} SYMBOLIC)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
endfunction()

# Position-independent, as the component library links the layers into a shared library; C++20
# for the layer's users, as its headers need it.
function(quarn_add_layer layer)
  add_library(quarn_${layer} STATIC ${ARGN})
  add_library(Quarn::${layer} ALIAS quarn_${layer})
  quarn_layer_include_root(quarn_${layer} ${layer})
  target_compile_features(quarn_${layer} PUBLIC cxx_std_20)
  set_target_properties(quarn_${layer} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  quarn_set_warnings(quarn_${layer})
endfunction()

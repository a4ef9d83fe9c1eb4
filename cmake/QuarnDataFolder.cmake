# The suite's data: translation catalogs, help pages, the schema and demo data, and the release
# file of the delivered tree (made by the build, tools/make_release). Installed in
# <prefix>/share/quarn, where the suite library looks for it beside the file it was loaded from
# (src/suite/DataPaths.cpp). The build folder holds the same share/quarn as links to the
# sources, so programs run from the build find it the same way and no binary carries a path of
# this machine.

set(QUARN_DATA_SUBDIR share/quarn)
set(QUARN_RELEASE_DIR ${PROJECT_BINARY_DIR}/release)
file(MAKE_DIRECTORY ${QUARN_RELEASE_DIR})
# Pairs of a folder under share/quarn and the source folder it comes from.
set(QUARN_DATA_FOLDERS
  catalogs ${PROJECT_SOURCE_DIR}/resources/catalogs
  help ${PROJECT_SOURCE_DIR}/resources/help
  sql ${PROJECT_SOURCE_DIR}/src/suite/store/sql
  release ${QUARN_RELEASE_DIR})

function(quarn_link_data_folder)
  set(pairs ${QUARN_DATA_FOLDERS})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/${QUARN_DATA_SUBDIR})
  while(pairs)
    list(POP_FRONT pairs name source)
    file(CREATE_LINK ${source} ${PROJECT_BINARY_DIR}/${QUARN_DATA_SUBDIR}/${name} SYMBOLIC)
  endwhile()
endfunction()

function(quarn_install_data_folder)
  set(pairs ${QUARN_DATA_FOLDERS})
  while(pairs)
    list(POP_FRONT pairs name source)
    install(DIRECTORY ${source}/ DESTINATION ${QUARN_DATA_SUBDIR}/${name})
  endwhile()
endfunction()

# The Debian package. `cpack -G DEB` in the build folder (scripts/package builds and packages)
# makes subsysmgr_<version>_<architecture>.deb of everything `cmake --install` puts under /usr,
# its programs and component library stripped, and subsysmgr-dbgsym_... with their debug
# symbols. Besides the install rules of the layers and apps, this file installs what a desktop
# and Debian expect of a program:
#   share/man/man1/        manual pages made from the programs' own --help and --version by
#                          help2man at build time, so they cannot drift from the programs
#   share/metainfo/        the designer's AppStream metadata (packaging/)
#   share/doc/subsysmgr/   copyright (packaging/) and the changelog made from CHANGELOG.md
# The programs link no library of ours, so they need no RPATH: unpacked anywhere, they find
# their data beside them (share/quarn, cmake/QuarnDataFolder.cmake).
include(GNUInstallDirs)

set(QUARN_DEB_PACKAGE subsysmgr)
set(QUARN_APPSTREAM_ID org.quarn.subsysmgr_designer)
set(QUARN_PACKAGE_MAINTAINER "QuarnClassSubSysMgr maintainers <maintainers@quarn.example>"
  CACHE STRING "Name and address of the Debian package's maintainer")
set(QUARN_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${QUARN_DEB_PACKAGE})

# The newest release in CHANGELOG.md must be this version: it gives the release date that the
# metadata and the manual pages carry.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md releases REGEX "^## \\[[0-9]" ENCODING UTF-8)
list(GET releases 0 newest)
string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
if(NOT newest MATCHES "^## \\[${version_pattern}\\] - ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])")
  message(FATAL_ERROR "CHANGELOG.md's newest release is '${newest}', but the project's version "
                      "is ${PROJECT_VERSION}: add its entry as '## [${PROJECT_VERSION}] - YYYY-MM-DD'")
endif()
set(QUARN_RELEASE_DATE ${CMAKE_MATCH_1})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)

# Manual pages. Not in a sanitizer build, whose programs report their leaks at exit.
find_program(QUARN_HELP2MAN help2man)
if(QUARN_HELP2MAN AND NOT QUARN_USE_SANITIZERS)
  # The release's date on the pages instead of the day of the build.
  execute_process(COMMAND date -u -d ${QUARN_RELEASE_DATE} +%s
    OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(manpages)
  foreach(entry IN ITEMS
      "subsysmgr|maintain the subsystem groups and subsystems of the functional tree"
      "subsysmgr-designer|the functional tree of a suite database with its editors")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    # The program is run by its name from the PATH, so that the page's usage names no folder of
    # this machine, and without a display, as on a build server.
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
              --unset=QT_QPA_PLATFORM "PATH=$<TARGET_FILE_DIR:${program}>:$ENV{PATH}"
              LC_ALL=C.UTF-8 SOURCE_DATE_EPOCH=${release_epoch}
              ${QUARN_HELP2MAN} --no-info --section=1 "--name=${summary}" --output=${page}
              ${program}
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      COMMENT "Writing the manual page of ${program}"
      VERBATIM)
    list(APPEND manpages ${page}.gz)
  endforeach()
  add_custom_target(quarn_manpages ALL DEPENDS ${manpages})
  install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOT QUARN_USE_SANITIZERS)
  message(STATUS "help2man not found: no manual pages (scripts/packages.txt lists it)")
endif()

configure_file(${PROJECT_SOURCE_DIR}/packaging/subsysmgr-designer.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/packaging/${QUARN_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUARN_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUTPUT=${changelog}
          -DPACKAGE=${QUARN_DEB_PACKAGE} "-DMAINTAINER=${QUARN_PACKAGE_MAINTAINER}"
          -P ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  COMMAND gzip -9nf ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  VERBATIM)
add_custom_target(quarn_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog}.gz
  DESTINATION ${QUARN_DOC_DIR})
# What lintian reports of the package and we accept, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${QUARN_DEB_PACKAGE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUARN_DEB_PACKAGE})
set(CPACK_PACKAGE_VENDOR Quarn)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "maintain the subsystem groups and subsystems of an ERP functional tree")
set(CPACK_PACKAGE_DESCRIPTION
  "The two top levels of an ERP suite's functional tree, the subsystem groups
and the subsystems under them, with names in simplified Chinese, traditional
Chinese and English, kept in an SQLite file or a PostgreSQL database.

subsysmgr-designer shows the tree with each subsystem's business objects and
changes it with the group and subsystem editors; subsysmgr lists, changes,
exports and imports it from the command line. Every change goes through the
same rules and numbered messages, and the database logs who changed what.

The package also holds the libraries and headers of the business objects, the
editors and the store as a CMake package, and the component library.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUARN_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds what the programs link; libpq is loaded only when a PostgreSQL database
# is named (src/suite/store/LibPq.cpp), so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libpq5)
# Qt's own texts of the dialogs in Chinese, and the glyphs to show Chinese names.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The component library: its shlibs entry, and the loader's cache renewed by a trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)
# The programs and the component library are stripped as their debug information goes into
# the -dbgsym package, which CPack makes only of a component install (all in one package here).
# CPACK_STRIP_FILES stays off: stripped before, they would leave it nothing to take.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# What CPack leaves: the static libraries' debug information, the compiler's notes.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/StripForPackage.cmake)
set(CPACK_QUARN_STRIP ${CMAKE_STRIP})
set(CPACK_QUARN_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebugSymbolsPackage.cmake)
include(CPack)

# What `cmake --install` puts under the prefix:
#   lib/                      the static libraries core, suite and ui, the component library
#   lib/cmake/QuarnClassSubSysMgr/   the package: find_package(QuarnClassSubSysMgr) gives the
#                             imported targets QuarnClassSubSysMgr::core, ::suite and ::ui
#   include/quarn/            the headers, which include each other as "model/SubSysGroup.h",
#                             and the umbrella header <quarn/subsysmgr.h>
#   bin/                      the apps
#   share/quarn/              catalogs, help pages and the schema and demo SQL, where the apps
#                             look for them (suite/DataPaths.cpp: <exe>/../share/quarn)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUARN_PACKAGE QuarnClassSubSysMgr)
set(QUARN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/${QUARN_PACKAGE})
# DataPaths.cpp looks exactly here, whatever CMAKE_INSTALL_DATADIR says.
set(QUARN_INSTALL_DATADIR share/quarn)

foreach(library IN ITEMS core suite ui)
  target_include_directories(quarn_${library} INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/quarn>)
  set_target_properties(quarn_${library} PROPERTIES EXPORT_NAME ${library})
endforeach()
install(TARGETS quarn_core quarn_suite quarn_ui EXPORT ${QUARN_PACKAGE}Targets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS quarn_subsysmgr_component
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

install(DIRECTORY
    ${PROJECT_SOURCE_DIR}/src/component
    ${PROJECT_SOURCE_DIR}/src/foundation
    ${PROJECT_SOURCE_DIR}/src/host
    ${PROJECT_SOURCE_DIR}/src/model
    ${PROJECT_SOURCE_DIR}/src/runtime
    ${PROJECT_SOURCE_DIR}/src/suite
    ${PROJECT_SOURCE_DIR}/src/ui
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quarn
  FILES_MATCHING PATTERN "*.h"
  PATTERN "sql" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/src/quarn/subsysmgr.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quarn)

install(EXPORT ${QUARN_PACKAGE}Targets
  NAMESPACE ${QUARN_PACKAGE}::
  DESTINATION ${QUARN_INSTALL_CMAKEDIR})
configure_package_config_file(
  ${PROJECT_SOURCE_DIR}/cmake/${QUARN_PACKAGE}Config.cmake.in
  ${PROJECT_BINARY_DIR}/${QUARN_PACKAGE}Config.cmake
  INSTALL_DESTINATION ${QUARN_INSTALL_CMAKEDIR})
# Before 1.0 a minor version may change the interface.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/${QUARN_PACKAGE}ConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
    ${PROJECT_BINARY_DIR}/${QUARN_PACKAGE}Config.cmake
    ${PROJECT_BINARY_DIR}/${QUARN_PACKAGE}ConfigVersion.cmake
    ${PROJECT_SOURCE_DIR}/cmake/QuarnSociTargets.cmake
  DESTINATION ${QUARN_INSTALL_CMAKEDIR})

foreach(app IN ITEMS subsysmgr subsysmgr-designer)
  if(TARGET ${app})
    install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(DIRECTORY
    ${PROJECT_SOURCE_DIR}/resources/catalogs
    ${PROJECT_SOURCE_DIR}/resources/help
  DESTINATION ${QUARN_INSTALL_DATADIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/suite/store/sql/
  DESTINATION ${QUARN_INSTALL_DATADIR}/sql
  FILES_MATCHING PATTERN "*.sql")

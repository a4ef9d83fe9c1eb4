# What `cmake --install` puts under the prefix:
#   lib/                      the static libraries of the layers (foundation, host, runtime, model,
#                             suite, ui), the component library
#   lib/cmake/QuarnClassSubSysMgr/   the package: find_package(QuarnClassSubSysMgr) gives the
#                             imported targets QuarnClassSubSysMgr::core (the four layers under
#                             the suite), ::suite and ::ui, and one per layer
#   include/quarn/            the public headers only (cmake/QuarnPublicHeaders.cmake), with the
#                             umbrella header <quarn/subsysmgr.h>; users need only include/
#   bin/                      the apps
#   share/quarn/              catalogs, help pages and the schema and demo SQL
#                             (cmake/QuarnDataFolder.cmake)
# Nothing installed names a path of this machine: the libraries find share/quarn from where
# they are loaded, and the package finds itself from where its files are.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUARN_PACKAGE QuarnClassSubSysMgr)
set(QUARN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/${QUARN_PACKAGE})

# core links the four layers under the suite; the package carries each of them.
set(libraries)
foreach(library IN ITEMS foundation host runtime model core suite ui)
  target_include_directories(quarn_${library} INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  set_target_properties(quarn_${library} PROPERTIES EXPORT_NAME ${library})
  list(APPEND libraries quarn_${library})
endforeach()
install(TARGETS ${libraries} EXPORT ${QUARN_PACKAGE}Targets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS quarn_subsysmgr_component
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
quarn_install_public_headers()

# While the suite library is static, the package's users link its private dependencies too.
get_target_property(suite_type quarn_suite TYPE)
if(suite_type STREQUAL "STATIC_LIBRARY")
  set(QUARN_STATIC_LIBRARIES TRUE)
else()
  set(QUARN_STATIC_LIBRARIES FALSE)
endif()
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
  DESTINATION ${QUARN_INSTALL_CMAKEDIR})

foreach(app IN ITEMS subsysmgr subsysmgr-designer)
  if(TARGET ${app})
    install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

quarn_install_data_folder()

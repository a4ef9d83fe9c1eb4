# Debian's SOCI ships neither a CMake package nor a .pc file: import its libraries ourselves.
# The build includes this, and so does the installed package, whose static suite library links
# them. Needs the targets SQLite::SQLite3 and PostgreSQL::PostgreSQL.
if(NOT TARGET Soci::core)
  find_path(SOCI_INCLUDE_DIR soci/soci.h REQUIRED)
  foreach(backend core sqlite3 postgresql)
    find_library(SOCI_${backend}_LIBRARY soci_${backend} REQUIRED)
    add_library(Soci::${backend} UNKNOWN IMPORTED)
    set_target_properties(Soci::${backend} PROPERTIES
      IMPORTED_LOCATION "${SOCI_${backend}_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${SOCI_INCLUDE_DIR}")
  endforeach()
  set_property(TARGET Soci::sqlite3 APPEND PROPERTY
    INTERFACE_LINK_LIBRARIES Soci::core SQLite::SQLite3)
  set_property(TARGET Soci::postgresql APPEND PROPERTY
    INTERFACE_LINK_LIBRARIES Soci::core PostgreSQL::PostgreSQL)
endif()

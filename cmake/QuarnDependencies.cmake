# Packages of the libraries and tests.
find_package(utf8cpp REQUIRED)
find_package(spdlog REQUIRED)
find_package(nlohmann_json 3.11 REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(PostgreSQL REQUIRED)
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Test)
if(QUARN_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()

# Debian's SOCI ships neither a CMake package nor a .pc file: import its libraries ourselves.
find_path(SOCI_INCLUDE_DIR soci/soci.h REQUIRED)
foreach(backend core sqlite3 postgresql)
  find_library(SOCI_${backend}_LIBRARY soci_${backend} REQUIRED)
  add_library(Soci::${backend} UNKNOWN IMPORTED)
  set_target_properties(Soci::${backend} PROPERTIES
    IMPORTED_LOCATION "${SOCI_${backend}_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${SOCI_INCLUDE_DIR}")
endforeach()
set_property(TARGET Soci::sqlite3 APPEND PROPERTY INTERFACE_LINK_LIBRARIES Soci::core SQLite::SQLite3)
set_property(TARGET Soci::postgresql APPEND PROPERTY INTERFACE_LINK_LIBRARIES Soci::core PostgreSQL::PostgreSQL)

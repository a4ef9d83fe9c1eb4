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

include(${CMAKE_CURRENT_LIST_DIR}/QuarnSociTargets.cmake)

# Packages of the core library. Later layers add theirs where they are used.
find_package(utf8cpp REQUIRED)
if(QUARN_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()

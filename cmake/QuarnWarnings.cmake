# Strict warnings for our own targets; third-party headers come in as SYSTEM includes.
function(quarn_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wswitch-enum -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual
    # GCC 12 reports std::variant alternatives moved into a vector as maybe uninitialized.
    $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
  if(QUARN_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

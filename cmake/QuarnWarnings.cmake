# Strict settings for our own targets, all PRIVATE so that users of the installed package keep
# theirs: warnings (third-party headers come in as SYSTEM includes), and Qt's explicit text
# handling, which only affects targets that use Qt.
function(quarn_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wswitch-enum -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual
    # GCC 12 reports std::variant alternatives moved into a vector as maybe uninitialized.
    $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_FOREACH)
  if(QUARN_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The hardening Debian builds its packages with (dpkg-buildflags with hardening=+all), for every
# target: checked buffer functions in optimized builds (the checks need the optimizer, and the
# sanitizers check more), and relocations resolved at start and then made read-only. GCC on
# Debian already builds position-independent programs with stack protection.
if(NOT QUARN_USE_SANITIZERS)
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)

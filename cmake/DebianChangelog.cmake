# Writes the Debian package's changelog from CHANGELOG.md: one entry per released version
# ("## [X.Y.Z] - YYYY-MM-DD"), its "- " items as "  * " items, its "### " headings as lines of
# their own; the unreleased part is left out. The caller compresses it.
# Usage: cmake -DCHANGELOG=<CHANGELOG.md> -DOUTPUT=<file> -DPACKAGE=<name>
#              -DMAINTAINER=<"Name <address>"> -P DebianChangelog.cmake

# A date as the changelog's trailer wants it (RFC 5322), at midnight UTC.
function(rfc5322_date year month day out)
  string(REGEX REPLACE "^0" "" month "${month}")
  string(REGEX REPLACE "^0" "" day "${day}")
  # The day of the week by Sakamoto's method; 0 is Sunday.
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday_name)
  list(GET months ${index} month_name)
  if(day LESS 10)
    set(day 0${day})
  endif()
  set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

file(STRINGS "${CHANGELOG}" lines ENCODING UTF-8)
set(text "")
set(trailer "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## \\[([0-9][^]]*)\\] - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])")
    rfc5322_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} date)
    string(APPEND text "${trailer}${PACKAGE} (${CMAKE_MATCH_1}) unstable; urgency=medium\n")
    set(trailer "\n -- ${MAINTAINER}  ${date}\n\n")
  elseif(line MATCHES "^## ")
    # An unreleased part, or the end of the released ones.
    string(APPEND text "${trailer}")
    set(trailer "")
  elseif(trailer STREQUAL "")
    # Before the first release or in an unreleased part.
  elseif(line MATCHES "^### (.*)")
    string(APPEND text "\n  ${CMAKE_MATCH_1}:\n")
  elseif(line MATCHES "^- (.*)")
    string(APPEND text "  * ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^  (.*)")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
string(APPEND text "${trailer}")
string(REGEX REPLACE "\n\n+$" "\n" text "${text}")
if(text STREQUAL "")
  message(FATAL_ERROR "${CHANGELOG} names no released version (## [X.Y.Z] - YYYY-MM-DD)")
endif()
file(WRITE "${OUTPUT}" "${text}")

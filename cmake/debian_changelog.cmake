# Writes CHANGELOG.md as a Debian changelog, the form a native package's changelog.gz must
# have: an entry for each "## VERSION (YYYY-MM-DD)" heading, its "- " items (and their
# indented continuation lines) as the entry's items, signed by the maintainer on that date.
#
# The newest entry must be the project's version: a release is never packed without its entry.
#
# usage: cmake -DSOURCE=CHANGELOG.md -DOUTPUT=changelog -DVERSION=1.1.0
#              -DMAINTAINER="Name <address>" -P debian_changelog.cmake
cmake_minimum_required(VERSION 3.20)
include("${CMAKE_CURRENT_LIST_DIR}/take_line.cmake")
file(READ "${SOURCE}" markdown)

# The day of the week of a date (0 is Sunday), by Sakamoto's method.
function(weekday_of year month day result)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday
       "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(${result} ${weekday} PARENT_SCOPE)
endfunction()

function(signature_of year month day minute result)
  set(days Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  math(EXPR month_index "${month} - 1")
  list(GET months ${month_index} month_name)
  math(EXPR month_number "${month}")
  math(EXPR day_number "${day}")
  weekday_of(${year} ${month_number} ${day_number} weekday)
  list(GET days ${weekday} day_name)
  set(${result} "\n -- ${MAINTAINER}  ${day_name}, ${day} ${month_name} ${year} 00:${minute}:00 +0000\n"
      PARENT_SCOPE)
endfunction()

# Debian wants each entry newer than the one before. Entries of one day are signed a minute
# apart, the oldest at midnight: an entry's minute is the number of older entries of its day.
set(heading "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
string(REGEX MATCHALL "\n## [^\n]+" headings "\n${markdown}")
set(older_dates "")
foreach(line IN LISTS headings)
  string(STRIP "${line}" line)
  if(line MATCHES "${heading}")
    list(APPEND older_dates "${CMAKE_MATCH_2}${CMAKE_MATCH_3}${CMAKE_MATCH_4}")
  endif()
endforeach()

set(text "")
set(signature "")
while(NOT markdown STREQUAL "")
  take_line(markdown line)
  if(line MATCHES "${heading}")
    if(NOT text STREQUAL "")
      string(APPEND text "${signature}\n")
    elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
      message(FATAL_ERROR "${SOURCE}: the newest entry is ${CMAKE_MATCH_1}, not ${VERSION}")
    endif()
    string(APPEND text "korvela (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
    set(date "${CMAKE_MATCH_2}${CMAKE_MATCH_3}${CMAKE_MATCH_4}")
    list(REMOVE_AT older_dates 0)
    set(same_day ${older_dates})
    list(FILTER same_day INCLUDE REGEX "^${date}$")
    list(LENGTH same_day minute)
    if(minute LESS 10)
      set(minute "0${minute}")
    endif()
    signature_of(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} ${minute} signature)
  elseif(line MATCHES "^- (.*)$")
    string(APPEND text "  * ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^  (.*)$")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  endif()
endwhile()
if(text STREQUAL "")
  message(FATAL_ERROR "${SOURCE}: no \"## VERSION (YYYY-MM-DD)\" entries")
endif()
file(WRITE "${OUTPUT}" "${text}${signature}")

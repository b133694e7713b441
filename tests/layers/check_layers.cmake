# Reads the floors of the product's folders from docs/ARCHITECTURE.md (the numbered list under
# "## Floors", ground floor first) and every #include of the product code, and fails on an
# include that reaches a higher floor, on a folder of code that has no floor, and on a floor
# that names no folder. With every include looking down, no two folders can include each other.
#
# usage: cmake -DROOT=<checkout> -P check_layers.cmake
cmake_minimum_required(VERSION 3.20)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

file(STRINGS "${ROOT}/docs/ARCHITECTURE.md" guide)
set(floors)
set(in_floors FALSE)
foreach(line IN LISTS guide)
  if(line MATCHES "^## ")
    set(in_floors FALSE)
    if(line STREQUAL "## Floors")
      set(in_floors TRUE)
    endif()
  elseif(in_floors AND line MATCHES "^[0-9]+\\. `([a-z_]+)/`")
    list(APPEND floors ${CMAKE_MATCH_1})
  endif()
endforeach()
list(LENGTH floors floor_count)
if(floor_count LESS 2)
  message(FATAL_ERROR "docs/ARCHITECTURE.md lists no floors under \"## Floors\"")
endif()

set(problems)
foreach(folder IN LISTS floors)
  if(NOT IS_DIRECTORY "${ROOT}/${folder}")
    list(APPEND problems "floor ${folder}/ has no folder")
  endif()
endforeach()

# Every folder of product code stands on a floor; tests, tools and docs stand outside.
set(outside tests bench scripts cmake docs build dist)
file(GLOB entries RELATIVE "${ROOT}" "${ROOT}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${ROOT}/${entry}" AND NOT entry MATCHES "^\\." AND NOT entry IN_LIST outside
     AND NOT entry IN_LIST floors)
    file(GLOB_RECURSE sources "${ROOT}/${entry}/*.cpp" "${ROOT}/${entry}/*.h" "${ROOT}/${entry}/*.rc")
    if(sources)
      list(APPEND problems "${entry}/ holds code but stands on no floor")
    endif()
  endif()
endforeach()

set(checked 0)
foreach(folder IN LISTS floors)
  list(FIND floors ${folder} own)
  file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h"
       "${ROOT}/${folder}/*.rc")
  foreach(source IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z_]+/")
    foreach(include IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z_]+)/.*" "\\1" target "${include}")
      list(FIND floors ${target} other)
      if(other GREATER own)
        list(APPEND problems "${source} includes ${target}/, a floor above ${folder}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The folders do not stand on their floors (${floors}):\n  ${text}")
endif()
string(REPLACE ";" " < " order "${floors}")
message(STATUS "${checked} files of ${floor_count} floors include only downwards: ${order}")

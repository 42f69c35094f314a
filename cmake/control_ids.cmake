# Writes the ids of a resource header, and of the headers it includes, as shell assignments for
# the scripts that drive the programs' windows: NAME=NUMBER, one a line.
# Usage: cmake -DROOT=<source tree> -DHEADER=<header, relative to ROOT> -DOUT=<file> -P ...
function(kd_read_ids header)
  if(NOT EXISTS ${ROOT}/${header})
    message(FATAL_ERROR "control_ids: ${header} not found")
  endif()
  file(STRINGS ${ROOT}/${header} lines)
  foreach(line ${lines})
    if(line MATCHES "^#include \"([^\"]+)\"")
      kd_read_ids(${CMAKE_MATCH_1})
    elseif(line MATCHES "^#define[ \t]+([A-Z_][A-Z0-9_]*)[ \t]+(-?[0-9]+)[ \t]*$")
      set_property(GLOBAL APPEND PROPERTY KD_IDS "${CMAKE_MATCH_1}=${CMAKE_MATCH_2}")
    endif()
  endforeach()
endfunction()

kd_read_ids(${HEADER})
get_property(ids GLOBAL PROPERTY KD_IDS)
list(REMOVE_DUPLICATES ids)
string(REPLACE ";" "\n" body "${ids}")
file(WRITE ${OUT} "# Generated from ${HEADER}; do not edit.\n${body}\n")

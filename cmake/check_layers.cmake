# Refuses an include that runs against the layers: platform <- link <- shell <- samples <- feed,
# and shell <- cleaning, firmware; link <- trace, which no other layer of the core includes. The
# tool libraries are given seats by the programs, so they never include the application object or
# the main window.
# Usage: cmake -DROOT=<source tree> -P check_layers.cmake
if(NOT ROOT)
  message(FATAL_ERROR "check_layers: ROOT not set")
endif()

set(KD_LAYER_folders platform link trace shell cleaning firmware samples feed)
set(KD_LAYER_platform platform)
set(KD_LAYER_link platform link)
set(KD_LAYER_trace platform link trace)
set(KD_LAYER_shell platform link shell)
set(KD_LAYER_cleaning platform link shell cleaning)
set(KD_LAYER_firmware platform link shell firmware)
set(KD_LAYER_samples platform link shell samples)
set(KD_LAYER_feed platform link shell samples feed)
set(KD_TOOL_LIBRARIES cleaning firmware samples feed)
set(KD_PROGRAM_SIDE_HEADERS shell/tool_app.h shell/main_window.h)

set(faults "")
set(seat_faults "")
foreach(folder ${KD_LAYER_folders})
  file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  list(FIND KD_TOOL_LIBRARIES ${folder} tool_library)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line ${includes})
      file(RELATIVE_PATH shown ${ROOT} ${file})
      string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*$" "\\1" target "${line}")
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
      list(FIND KD_LAYER_${folder} ${target} allowed)
      list(FIND KD_PROGRAM_SIDE_HEADERS ${header} program_side)
      if(allowed EQUAL -1)
        string(APPEND faults "  ${shown}: ${line}\n")
      elseif(NOT tool_library EQUAL -1 AND NOT program_side EQUAL -1)
        string(APPEND seat_faults "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layers (platform <- link <- shell <- samples <- "
                      "feed; shell <- cleaning, firmware; link <- trace):\n${faults}")
endif()
if(seat_faults)
  message(FATAL_ERROR "A tool library reaches the application object; give it a seat "
                      "instead:\n${seat_faults}")
endif()

# Refuses an include that runs against the layers: platform <- link <- shell <- cleaning,
# firmware, feed. Usage: cmake -DROOT=<source tree> -P check_layers.cmake
if(NOT ROOT)
  message(FATAL_ERROR "check_layers: ROOT not set")
endif()

set(KD_LAYER_folders platform link shell cleaning firmware feed)
set(KD_LAYER_platform platform)
set(KD_LAYER_link platform link)
set(KD_LAYER_shell platform link shell)
set(KD_LAYER_cleaning platform link shell cleaning)
set(KD_LAYER_firmware platform link shell firmware)
set(KD_LAYER_feed platform link shell feed)

set(faults "")
foreach(folder ${KD_LAYER_folders})
  file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*$" "\\1" target "${line}")
      list(FIND KD_LAYER_${folder} ${target} allowed)
      if(allowed EQUAL -1)
        file(RELATIVE_PATH shown ${ROOT} ${file})
        string(APPEND faults "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layers (platform <- link <- shell <- cleaning, "
                      "firmware, feed):\n${faults}")
endif()

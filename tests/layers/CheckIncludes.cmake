# cmake -DTESS_SOURCE_DIR=... [-DTESS_LAYERS_FILE=...] -P CheckIncludes.cmake
# Every project header that a layer's file includes ("folder/...") belongs to that layer
# or to one under it, and the game's layers include of platform/ only its interfaces.
# Prints each file that breaks a rule and fails when there is one.

cmake_minimum_required(VERSION 3.25)

if(NOT TESS_LAYERS_FILE)
  set(TESS_LAYERS_FILE ${TESS_SOURCE_DIR}/cmake/TessLayers.cmake)
endif()
include(${TESS_LAYERS_FILE})

set(faults 0)
foreach(layer IN LISTS TESS_LAYER_TARGETS)
  tess_layers_below(${layer} below)
  file(GLOB_RECURSE files RELATIVE ${TESS_SOURCE_DIR}
       ${TESS_SOURCE_DIR}/${TESS_LAYER_FOLDER_${layer}}/*.h
       ${TESS_SOURCE_DIR}/${TESS_LAYER_FOLDER_${layer}}/*.cpp
       ${TESS_SOURCE_DIR}/${TESS_LAYER_FOLDER_${layer}}/*.c)
  foreach(file IN LISTS files)
    tess_layer_of(${file} owner)
    if(NOT owner STREQUAL layer)
      continue() # a folder inside this one that is a layer of its own (core/app)
    endif()
    file(STRINGS ${TESS_SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
      if(included MATCHES "^(tests|tools|benchmarks|fuzz)/")
        message("${file}: includes ${included}, which no layer may include")
        math(EXPR faults "${faults} + 1")
        continue()
      endif()
      tess_layer_of(${included} target)
      if(NOT target OR target STREQUAL layer)
        continue() # the file's own layer, or a header of no layer
      endif()
      if(NOT target IN_LIST below)
        message("${file}: includes ${included} of ${target}, which is not under ${layer}")
        math(EXPR faults "${faults} + 1")
      elseif(TESS_LAYER_GAME_${layer} AND target STREQUAL "tess_platform")
        string(REGEX REPLACE "^platform/" "" name "${included}")
        if(NOT name IN_LIST TESS_PLATFORM_INTERFACES)
          message("${file}: includes ${included}, which is not one of the platform's interfaces "
                  "(TESS_PLATFORM_INTERFACES in cmake/TessLayers.cmake)")
          math(EXPR faults "${faults} + 1")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the layers")
endif()
message("The includes of every layer go down the stack")

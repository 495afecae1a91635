# The layers of the project, lowest first: one target per folder, each standing on the
# one named BELOW it (and so on everything under that). A layer links only layers under
# it, and its files include headers only of their own folder and of the layers under it.
# The root CMakeLists checks the links at every configure (tess_check_layer_links); the
# test layers.includes checks the includes of every file (tests/layers/CheckIncludes.cmake).
#
# GAME marks the game's own layers: they reach the platform only through its interfaces
# (TESS_PLATFORM_INTERFACES below), never through a back-end or SDL. The application
# shell makes the back-ends and so may include any platform header; only tess_platform
# compiles against SDL's headers (every other project target gets headers of SDL's names
# that stop the build; see tess_sdl_barrier in TessProject.cmake).
#
# Included by the project and by scripts run with cmake -P; it only sets variables.

macro(tess_layer target folder)
  cmake_parse_arguments(_L "GAME" "BELOW" "" ${ARGN})
  list(APPEND TESS_LAYER_TARGETS ${target})
  set(TESS_LAYER_FOLDER_${target} ${folder})
  set(TESS_LAYER_BELOW_${target} ${_L_BELOW})
  set(TESS_LAYER_GAME_${target} ${_L_GAME})
endmacro()

set(TESS_LAYER_TARGETS "")
tess_layer(tess_utility      utility/source)
tess_layer(tess_core         core          BELOW tess_utility)
tess_layer(tess_platform     platform      BELOW tess_core)
tess_layer(tess_presentation presentation  BELOW tess_platform GAME)
tess_layer(tess_world        world         BELOW tess_presentation GAME)
tess_layer(tess_ships        ships         BELOW tess_world GAME)
tess_layer(tess_frontend     frontend      BELOW tess_ships GAME)
tess_layer(tess_app          core/app      BELOW tess_frontend)
# The unpacker stands on the utility library alone.
tess_layer(tess_kestrup      kestrup       BELOW tess_utility)

# What the game's layers may include of platform/: the renderer, its vertices and input
# rings, input and key codes, audio and its streams, the TGA loader, debug output.
set(TESS_PLATFORM_INTERFACES
  Renderer.h ScreenVertex.h VertexBuffer.h InputRing.h
  CoreInput.h input/DikCodes.h
  AudioSystem.h AudioStream.h
  Tga.h DebugOutput.h)

# Every layer under `target` (not itself), nearest first.
function(tess_layers_below target out)
  set(result "")
  set(layer ${TESS_LAYER_BELOW_${target}})
  while(layer)
    list(APPEND result ${layer})
    set(layer ${TESS_LAYER_BELOW_${layer}})
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The layer whose folder holds `path` (relative to the source root): the longest folder
# that starts the path, so core/app/ belongs to tess_app and core/ to tess_core. Empty
# for files of no layer (tools, tests, benchmarks, fuzz).
function(tess_layer_of path out)
  set(best "")
  set(bestLength 0)
  foreach(layer IN LISTS TESS_LAYER_TARGETS)
    set(folder "${TESS_LAYER_FOLDER_${layer}}/")
    string(LENGTH "${folder}" length)
    string(SUBSTRING "${path}" 0 ${length} start)
    if(start STREQUAL folder AND length GREATER bestLength)
      set(best ${layer})
      set(bestLength ${length})
    endif()
  endforeach()
  set(${out} ${best} PARENT_SCOPE)
endfunction()

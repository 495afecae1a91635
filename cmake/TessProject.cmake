# Shared settings and helpers for every target of the project.

set(TESS_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)

if(TESS_SANITIZE)
  add_compile_options(-fsanitize=${TESS_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TESS_SANITIZE})
endif()

# Fuzzing needs clang's coverage hooks in every library the harnesses reach.
if(TESS_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESS_BUILD_FUZZERS needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/TessLayers.cmake)

# The SDL barrier: a folder of headers named as SDL's own (each header of the SDL2
# package, as <NAME> and as <SDL2/NAME>) whose only line stops the build with a message.
# Put in front of a target's include path it keeps SDL out of that target's files even
# though the system's include folder reaches SDL's headers too.
function(tess_make_sdl_barrier)
  set(dir ${PROJECT_BINARY_DIR}/sdl-barrier)
  set(message "SDL is seen by the platform layer alone: use its interfaces (CRenderer, CCoreInput, CAudioSystem, the TGA loader)")
  foreach(include IN LISTS SDL2_INCLUDE_DIRS)
    file(GLOB headers RELATIVE ${include} ${include}/*.h)
    foreach(header IN LISTS headers)
      file(CONFIGURE OUTPUT ${dir}/${header} CONTENT "#error \"${message}\"\n")
      file(CONFIGURE OUTPUT ${dir}/SDL2/${header} CONTENT "#error \"${message}\"\n")
    endforeach()
  endforeach()
  set(TESS_SDL_BARRIER_DIR ${dir} PARENT_SCOPE)
endfunction()

# How every file of a layer but the platform's is compiled: warnings on, and the SDL
# barrier in front of the include path.
function(tess_layer_compile_settings target)
  target_compile_options(${target} PRIVATE ${TESS_WARNINGS})
  target_include_directories(${target} BEFORE PRIVATE ${TESS_SDL_BARRIER_DIR})
endfunction()

# tess_library(NAME [SEES_SDL] [EXCLUDE_DIRS d...] [PUBLIC libs...] [PRIVATE libs...])
# Builds every .cpp below the current folder (recursively) into a static library. New
# files join the build without editing any list, so parallel work never fights over one.
# Only a library marked SEES_SDL (the platform) may include SDL's headers; every other
# one has the SDL barrier in front of its include path.
function(tess_library name)
  cmake_parse_arguments(T "SEES_SDL" "" "EXCLUDE_DIRS;PUBLIC;PRIVATE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(ex IN LISTS T_EXCLUDE_DIRS)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${ex}/")
  endforeach()
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(T_SEES_SDL)
      target_compile_options(${name} PRIVATE ${TESS_WARNINGS})
    else()
      tess_layer_compile_settings(${name})
    endif()
    target_link_libraries(${name} PUBLIC ${T_PUBLIC} PRIVATE ${T_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${T_PUBLIC} ${T_PRIVATE})
  endif()
endfunction()

# Every link between the project's libraries goes down the stack of TessLayers.cmake:
# a layer that links itself to a layer above it (or beside it) stops the configure, so
# the build graph can hold no cycle.
function(tess_check_layer_links)
  foreach(layer IN LISTS TESS_LAYER_TARGETS)
    if(NOT TARGET ${layer})
      continue()
    endif()
    tess_layers_below(${layer} allowed)
    get_target_property(type ${layer} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${layer} LINK_LIBRARIES)
    endif()
    get_target_property(interfaceLinks ${layer} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interfaceLinks)
      string(REGEX MATCHALL "tess_[A-Za-z0-9_]+" names "${link}")
      foreach(used IN LISTS names)
        if(NOT used IN_LIST allowed)
          message(FATAL_ERROR "${layer} links ${used}, which is not a layer under it (cmake/TessLayers.cmake)")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()

# tess_program(NAME SOURCES... LIBS ...): a program, behind the SDL barrier too.
function(tess_program name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tess_layer_compile_settings(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
endfunction()

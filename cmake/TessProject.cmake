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

# tess_library(NAME DIR [EXCLUDE_DIRS d...] [PUBLIC libs...] [PRIVATE libs...])
# Builds every .cpp below DIR (recursively) into a static library. New files join
# the build without editing any list, so parallel work never fights over one.
function(tess_library name)
  cmake_parse_arguments(T "" "" "EXCLUDE_DIRS;PUBLIC;PRIVATE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(ex IN LISTS T_EXCLUDE_DIRS)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${ex}/")
  endforeach()
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_compile_options(${name} PRIVATE ${TESS_WARNINGS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${T_PUBLIC} PRIVATE ${T_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${T_PUBLIC} ${T_PRIVATE})
  endif()
endfunction()

# tess_program(NAME SOURCES... LIBS ...)
function(tess_program name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${TESS_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
endfunction()

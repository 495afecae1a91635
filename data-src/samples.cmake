# Sample definitions of sprites, tiled pictures, paths and bodies: copied into the
# program folder's "data/samples/" (their sprites travel in the resource pack).
set(samples_src ${CMAKE_CURRENT_SOURCE_DIR}/samples)
foreach(name planet scout)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/samples/${name}.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${samples_src}/${name}.txt ${TESS_DATA_DIR}/data/samples/${name}.txt
    DEPENDS ${samples_src}/${name}.txt
    COMMENT "Sample definition ${name}.txt" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/samples/${name}.txt)
endforeach()

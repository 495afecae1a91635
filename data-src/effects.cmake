# The effects: "data\effect.txt" lists the effect files under "data/effects/", copied
# as they are.
set(effects_src ${CMAKE_CURRENT_SOURCE_DIR}/effects)
file(GLOB effect_files CONFIGURE_DEPENDS ${effects_src}/*.txt)
foreach(file IN LISTS effect_files)
  get_filename_component(name ${file} NAME)
  if(name STREQUAL "effect.txt")
    set(out ${TESS_DATA_DIR}/data/effect.txt)
  else()
    set(out ${TESS_DATA_DIR}/data/effects/${name})
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${out}
    DEPENDS ${file}
    COMMENT "Effects ${name}" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${out})
endforeach()

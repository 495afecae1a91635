# Level files "data\init%i.txt": the LEVEL section and the sections other parts
# read (asteroid kinds, starfield, the front end's backdrop), copied as they are.
file(GLOB level_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/levels/*.txt)
foreach(level IN LISTS level_files)
  get_filename_component(name ${level} NAME)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${level} ${TESS_DATA_DIR}/data/${name}
    DEPENDS ${level}
    COMMENT "Level file ${name}" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/${name})
endforeach()

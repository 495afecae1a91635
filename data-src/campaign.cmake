# The campaign's pictures: the white texture of the research progress lines.
add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/targas/smallwhite.tga
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/targas
  COMMAND $<TARGET_FILE:tesstool> tga shape ${TESS_DATA_DIR}/data/targas/smallwhite.tga
          ${CMAKE_CURRENT_SOURCE_DIR}/campaign/smallwhite.shape
  DEPENDS tesstool ${CMAKE_CURRENT_SOURCE_DIR}/campaign/smallwhite.shape
  COMMENT "Drawing the campaign's white texture" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/targas/smallwhite.tga)

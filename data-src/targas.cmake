# The screenshot stamp, drawn by tesstool.
add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/targas/ShotAd.tga
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/targas
  COMMAND $<TARGET_FILE:tesstool> tga stamp ${TESS_DATA_DIR}/data/targas/ShotAd.tga
  DEPENDS tesstool
  COMMENT "Drawing the screenshot stamp")
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/targas/ShotAd.tga)

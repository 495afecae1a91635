# The string table, compiled from our own UTF-8 source.
set(strings_src ${CMAKE_CURRENT_SOURCE_DIR}/strings/Tessavar_Strings.txt)
set(strings_out ${TESS_DATA_DIR}/data/Tessavar_Strings.tbl)
add_custom_command(OUTPUT ${strings_out}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data
  COMMAND $<TARGET_FILE:tesstool> strings build ${strings_src} ${strings_out}
  DEPENDS tesstool ${strings_src}
  COMMENT "String table Tessavar_Strings.tbl" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${strings_out})

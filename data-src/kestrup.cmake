# The resource pack road, as an installer runs it: data files placed under
# ${TESS_RESPACK_DIR}/data by the other parts of the sample data (each listed in
# TESS_RESPACK_FILES) are packed into "TessavarSprites.pak" by tesstool, and
# kestrup unpacks that into the patch pack "tessavar.001" of the program folder,
# which the game mounts after "Tessavar.000".
set(TESS_RESPACK_DIR ${CMAKE_BINARY_DIR}/respack)
set(TESS_RESPACK_FILES "")

# Declared once every part has listed its files (the parts are included in name order).
function(tess_kestrup_road)
  set(work ${TESS_RESPACK_DIR}/install)
  file(MAKE_DIRECTORY ${work})
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/tessavar.001
    COMMAND ${CMAKE_COMMAND} -E rm -f ${work}/TessavarSprites.pak ${work}/tessavar.001
    COMMAND $<TARGET_FILE:tesstool> respack create ${work}/TessavarSprites.pak ${TESS_RESPACK_DIR}/data
    COMMAND ${CMAKE_COMMAND} -E env KESTRUP_HEADLESS=1 $<TARGET_FILE:kestrup>
    COMMAND ${CMAKE_COMMAND} -E copy ${work}/tessavar.001 ${TESS_DATA_DIR}/tessavar.001
    WORKING_DIRECTORY ${work}
    DEPENDS tesstool kestrup ${TESS_RESPACK_FILES}
    COMMENT "Unpacking the sample resource pack into tessavar.001" VERBATIM)
  set(outputs ${TESS_DATA_DIR}/tessavar.001)
  # Patch packs are used only beside a main pack; an empty one serves until the
  # sample data has a main pack of its own.
  list(FIND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/Tessavar.000 made)
  if(made EQUAL -1)
    add_custom_command(OUTPUT ${TESS_DATA_DIR}/Tessavar.000
      COMMAND ${CMAKE_COMMAND} -E touch ${TESS_DATA_DIR}/Tessavar.000
      COMMENT "Empty main pack" VERBATIM)
    list(APPEND outputs ${TESS_DATA_DIR}/Tessavar.000)
  endif()
  add_custom_target(respack_data ALL DEPENDS ${outputs})
endfunction()
cmake_language(DEFER CALL tess_kestrup_road)

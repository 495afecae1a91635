# The front end's layouts (screens and popups), copied into the program folder's
# "data/frontend/", and its pictures, drawn from shape sources: the loading picture
# and the exit warning's sixteen quotes, which ship in the resource pack as the other
# sprites do.
file(GLOB frontend_layouts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/frontend/*.txt)
foreach(layout IN LISTS frontend_layouts)
  get_filename_component(name ${layout} NAME)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/frontend/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${layout} ${TESS_DATA_DIR}/data/frontend/${name}
    DEPENDS ${layout}
    COMMENT "Layout frontend/${name}" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/frontend/${name})
endforeach()
# The gravity drive's medals and stars, dull and earned.
foreach(picture medal1 medal2 medal3 medalFront1 medalFront2 medalFront3 star starFront)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/frontend/fame/${picture}.tga
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/frontend/fame
    COMMAND $<TARGET_FILE:tesstool> tga shape ${TESS_DATA_DIR}/data/frontend/fame/${picture}.tga
            ${CMAKE_CURRENT_SOURCE_DIR}/frontend/fame/${picture}.shape
    DEPENDS tesstool ${CMAKE_CURRENT_SOURCE_DIR}/frontend/fame/${picture}.shape
    COMMENT "Picture frontend/fame/${picture}.tga" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/frontend/fame/${picture}.tga)
endforeach()
# The station screen's popup.
add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/frontend/station/modifysweapon.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/frontend/station
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/frontend/station/modifysweapon.txt
          ${TESS_DATA_DIR}/data/frontend/station/modifysweapon.txt
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/frontend/station/modifysweapon.txt
  COMMENT "Layout frontend/station/modifysweapon.txt" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/frontend/station/modifysweapon.txt)

set(frontend_pictures ${CMAKE_CURRENT_SOURCE_DIR}/frontend/pictures)
file(MAKE_DIRECTORY ${TESS_RESPACK_DIR}/data/frontend)
add_custom_command(OUTPUT ${TESS_RESPACK_DIR}/data/frontend/loading.spr
  COMMAND $<TARGET_FILE:tesstool> sprite build ${TESS_RESPACK_DIR}/data/frontend/loading.spr --format 2 --page 128
          ${frontend_pictures}/loading.shape
  DEPENDS tesstool ${frontend_pictures}/loading.shape
  COMMENT "Sprite frontend/loading.spr" VERBATIM)
add_custom_command(OUTPUT ${TESS_RESPACK_DIR}/data/frontend/quotes/quotes.spr
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_RESPACK_DIR}/data/frontend/quotes
  COMMAND $<TARGET_FILE:tesstool> sprite build ${TESS_RESPACK_DIR}/data/frontend/quotes/quotes.spr --format 2 --page 512
          --font ${TESS_DEJAVU_SANS} ${frontend_pictures}/quotes.shape
  DEPENDS tesstool ${frontend_pictures}/quotes.shape ${TESS_DEJAVU_SANS}
  COMMENT "Sprite frontend/quotes/quotes.spr" VERBATIM)
list(APPEND TESS_RESPACK_FILES ${TESS_RESPACK_DIR}/data/frontend/loading.spr
     ${TESS_RESPACK_DIR}/data/frontend/quotes/quotes.spr)

# The game flow's sounds: the alarm of a hit, the major alarm and the station's
# chatter (looped), as tones.
tess_tone_sounds(${TESS_DATA_DIR}/data/sfx "Game flow sound"
  misc/alarm:990:0.25:0.3 misc/majorAlarm:660:0.6:0.35 station/electrobabble:1760:0.5:0.08)

# The zones and the warps: "data\game1.txt" (the campaign's zones, their maps, enemy
# groups and bosses) and the station warp's black square.
file(MAKE_DIRECTORY ${sprite_out}/particles)
tess_sprite(particles/blacksquare 0 --page 8)
list(APPEND TESS_RESPACK_FILES ${sprite_out}/particles/blacksquare.spr)

set(zones_file ${CMAKE_CURRENT_SOURCE_DIR}/zones/game1.txt)
add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/game1.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${zones_file} ${TESS_DATA_DIR}/data/game1.txt
  DEPENDS ${zones_file}
  COMMENT "Zones game1.txt" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/game1.txt)

# The zones and the warps: "data\game1.txt" (the campaign's zones, their maps, enemy
# groups and bosses) and the station warp's black square.
file(MAKE_DIRECTORY ${sprite_out}/particles)
tess_sprite(particles/blacksquare 2 --page 8)
list(APPEND TESS_RESPACK_FILES ${sprite_out}/particles/blacksquare.spr)

set(zones_file ${CMAKE_CURRENT_SOURCE_DIR}/zones/game1.txt)
add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/game1.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${zones_file} ${TESS_DATA_DIR}/data/game1.txt
  DEPENDS ${zones_file}
  COMMENT "Zones game1.txt" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/game1.txt)

# The galaxy map's pictures: node icons, markers and link dots, the groups' icons,
# the rock gauges' icon, each zone's map under its nodes and its picture in the galaxy.
file(MAKE_DIRECTORY ${sprite_out}/maps)
tess_sprite(maps/mapicons 2 --page 64)
tess_sprite(maps/mapiconsb 2 --page 32)
tess_sprite(particles/particles2x 2 --page 8)
tess_sprite(maps/zonemaps 0 --page 512)
tess_sprite(maps/zonepictures 2 --page 256)
list(APPEND TESS_RESPACK_FILES ${sprite_out}/maps/mapicons.spr ${sprite_out}/maps/mapiconsb.spr
     ${sprite_out}/particles/particles2x.spr ${sprite_out}/maps/zonemaps.spr ${sprite_out}/maps/zonepictures.spr)

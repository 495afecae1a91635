# The station: its definition (loose text as data/station.txt) and its sprites drawn
# from shape sources and shipped through the resource pack.
set(station_src ${CMAKE_CURRENT_SOURCE_DIR}/station)
set(station_sprite_out ${TESS_RESPACK_DIR}/data/station)
file(MAKE_DIRECTORY ${station_sprite_out})

add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/station.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${station_src}/station.txt ${TESS_DATA_DIR}/data/station.txt
  DEPENDS ${station_src}/station.txt
  COMMENT "Station station.txt" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/station.txt)

# name, pixel format, page side
foreach(sprite station:2:512 door:2:64 turret:2:64 vacuum:2:64 flame:2:64)
  string(REPLACE ":" ";" parts ${sprite})
  list(GET parts 0 name)
  list(GET parts 1 format)
  list(GET parts 2 page)
  add_custom_command(OUTPUT ${station_sprite_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${station_sprite_out}/${name}.spr --format ${format} --page ${page}
            ${station_src}/${name}.shape
    DEPENDS tesstool ${station_src}/${name}.shape
    COMMENT "Sprite station/${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${station_sprite_out}/${name}.spr)
endforeach()

# The station's hum, looped round it in flight, and the rush of its warp tunnel, as tones.
tess_tone_sounds(${TESS_DATA_DIR}/data/sfx "Station sound" station/ambient:55:2.0:0.12 station/tunnel:220:1.2:0.3)

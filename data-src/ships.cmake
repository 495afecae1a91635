# The player's ships: the component and design files (loose text under data/) and
# their sprites, drawn from shape sources and shipped through the resource pack.
set(ships_src ${CMAKE_CURRENT_SOURCE_DIR}/ships)
set(ships_sprite_out ${TESS_RESPACK_DIR}/data/ships)
file(MAKE_DIRECTORY ${ships_sprite_out})

foreach(text shipComponents playerShips quickShip survivalShips)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/${text}.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${ships_src}/${text}.txt ${TESS_DATA_DIR}/data/${text}.txt
    DEPENDS ${ships_src}/${text}.txt
    COMMENT "Ship data ${text}.txt" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/${text}.txt)
endforeach()

# name, pixel format, page side
foreach(sprite hullPod:2:128 hullSparrow:2:256 hullDart:2:256 hullBulwark:2:512 flame:1:64 drone:2:64 shots:1:64)
  string(REPLACE ":" ";" parts ${sprite})
  list(GET parts 0 name)
  list(GET parts 1 format)
  list(GET parts 2 page)
  add_custom_command(OUTPUT ${ships_sprite_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${ships_sprite_out}/${name}.spr --format ${format} --page ${page}
            ${ships_src}/${name}.shape
    DEPENDS tesstool ${ships_src}/${name}.shape
    COMMENT "Sprite ${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${ships_sprite_out}/${name}.spr)
endforeach()

# The ships' fixed sounds as tones: a gem into the hold, the beam refused by a full
# hold, and the boost.
tess_tone_sounds(${TESS_DATA_DIR}/data/sfx "Ship sound"
  tractorbeam/suckOk:1320:0.08:0.25 tractorbeam/nosuck:220:0.15:0.25 engines/engineBoost:110:0.4:0.3)

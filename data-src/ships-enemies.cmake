# The enemies: their definition files (loose text under data/enemies/), their sprites
# drawn from shape sources and shipped through the resource pack, and the sounds of
# their effects, made by the build.
set(enemies_src ${CMAKE_CURRENT_SOURCE_DIR}/enemies)
set(enemies_sprite_out ${TESS_RESPACK_DIR}/data/enemies)
set(enemies_sounds ${TESS_DATA_DIR}/data/sounds/enemies)
file(MAKE_DIRECTORY ${enemies_sprite_out} ${enemies_sounds} ${TESS_DATA_DIR}/data/enemies)

foreach(text drone fighter worm queen carrier barge bossstar bossmagma bossrain bosstron bossdisc)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/enemies/${text}.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${enemies_src}/${text}.txt ${TESS_DATA_DIR}/data/enemies/${text}.txt
    DEPENDS ${enemies_src}/${text}.txt
    COMMENT "Enemy ${text}.txt" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/enemies/${text}.txt)
endforeach()

# name, pixel format, page side
foreach(sprite drone:2:128 fighter:2:256 worm:2:64 turret:2:128 carrier:2:128 carrierdoor:2:64 barge:2:128 bargetank:2:64 bossparts:2:128 discblade:2:128 bossdisc:2:256
               bossstar:2:256 bossmagma:2:256 bossrain:2:256 bosstron:2:256 flame:2:128)
  string(REPLACE ":" ";" parts ${sprite})
  list(GET parts 0 name)
  list(GET parts 1 format)
  list(GET parts 2 page)
  add_custom_command(OUTPUT ${enemies_sprite_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${enemies_sprite_out}/${name}.spr --format ${format} --page ${page}
            ${enemies_src}/${name}.shape
    DEPENDS tesstool ${enemies_src}/${name}.shape
    COMMENT "Sprite enemies/${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${enemies_sprite_out}/${name}.spr)
endforeach()

# name and what tesstool sound makes of it: blasts of noise, a falling shot, a pop,
# a squelch, the tron boss's rising warning and the disc boss's gun hum.
foreach(sound "blast:noise 22050 0.9 0.7" "pop:noise 22050 0.35 0.5" "shot:sweep 22050 1500 520 0.14 0.35"
              "squelch:sweep 22050 260 90 0.3 0.5" "warning:sweep 22050 300 1400 0.9 0.5"
              "hum:sweep 22050 110 120 0.6 0.3")
  string(REPLACE ":" ";" parts "${sound}")
  list(GET parts 0 name)
  list(GET parts 1 how)
  separate_arguments(how)
  list(GET how 0 kind)
  list(REMOVE_AT how 0)
  add_custom_command(OUTPUT ${enemies_sounds}/${name}.wav
    COMMAND $<TARGET_FILE:tesstool> sound ${kind} ${enemies_sounds}/${name}.wav ${how}
    DEPENDS tesstool
    COMMENT "Sound enemies/${name}.wav" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${enemies_sounds}/${name}.wav)
endforeach()

# The effects: "data\effect.txt" lists the effect files under "data/effects/" (copied
# as they are); their particle sprites are drawn from shape sources and travel in the
# resource pack (this file sorts after kestrup.cmake, which sets up that road); the
# lasers' textures are TGA files drawn from shapes; the sounds are synthesised.
set(effects_src ${CMAKE_CURRENT_SOURCE_DIR}/effects)
file(GLOB effect_files CONFIGURE_DEPENDS ${effects_src}/*.txt)
foreach(file IN LISTS effect_files)
  get_filename_component(name ${file} NAME)
  if(name STREQUAL "effect.txt")
    set(out ${TESS_DATA_DIR}/data/effect.txt)
  else()
    set(out ${TESS_DATA_DIR}/data/effects/${name})
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${out}
    DEPENDS ${file}
    COMMENT "Effects ${name}" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${out})
endforeach()

# Particle sprites: name, pixel format (1 additive, 2 alpha blended), page side.
set(effects_sprite_out ${TESS_RESPACK_DIR}/data/effects)
file(MAKE_DIRECTORY ${effects_sprite_out})
foreach(sprite fx:1:64 smoke:2:64 fireball:1:128)
  string(REPLACE ":" ";" parts ${sprite})
  list(GET parts 0 name)
  list(GET parts 1 format)
  list(GET parts 2 page)
  add_custom_command(OUTPUT ${effects_sprite_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${effects_sprite_out}/${name}.spr --format ${format} --page ${page}
            ${effects_src}/${name}.shape
    DEPENDS tesstool ${effects_src}/${name}.shape
    COMMENT "Sprite effects/${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${effects_sprite_out}/${name}.spr)
endforeach()

# Beam textures: across the beam's width left to right, the same all along it.
file(GLOB beam_shapes CONFIGURE_DEPENDS ${effects_src}/*.beam)
foreach(shape IN LISTS beam_shapes)
  get_filename_component(name ${shape} NAME_WE)
  set(out ${TESS_DATA_DIR}/data/effects/${name}.tga)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/effects
    COMMAND $<TARGET_FILE:tesstool> tga shape ${out} ${shape}
    DEPENDS tesstool ${shape}
    COMMENT "Texture effects/${name}.tga" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${out})
endforeach()

# Sounds, 22050 Hz mono: NAME KIND ARGUMENTS... (kind tone: HZ SECONDS LEVEL; noise:
# SECONDS LEVEL; sweep: FROM_HZ TO_HZ SECONDS LEVEL).
set(effect_sounds
  "pulse sweep 1400 500 0.09 0.45"
  "laser sweep 2200 700 0.18 0.4"
  "lance sweep 900 200 0.5 0.5"
  "charge sweep 200 1100 0.6 0.3"
  "missile sweep 180 520 0.35 0.4"
  "zap noise 0.18 0.5"
  "boom noise 0.9 0.9"
  "smallboom noise 0.4 0.7"
  "spark noise 0.07 0.4"
  "engine tone 70 0.5 0.25"
  "shield sweep 600 900 0.2 0.35"
  "sparkle sweep 2400 3200 0.12 0.2"
  "gravity tone 140 0.5 0.2"
  "warp sweep 120 1500 0.9 0.45"
  "drop tone 300 0.08 0.4")
foreach(entry IN LISTS effect_sounds)
  separate_arguments(args UNIX_COMMAND "${entry}")
  list(POP_FRONT args name kind)
  set(out ${TESS_DATA_DIR}/data/sounds/${name}.wav)
  if(kind STREQUAL "tone")
    set(command tone ${out} 22050 1 16 ${args})
  else()
    set(command ${kind} ${out} 22050 ${args})
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/sounds
    COMMAND $<TARGET_FILE:tesstool> sound ${command}
    DEPENDS tesstool
    COMMENT "Sound sounds/${name}.wav" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${out})
endforeach()

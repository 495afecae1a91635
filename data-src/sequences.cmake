# Full-screen sequences: each folder under animations/ holds a readable source
# NAME.txt that tesstool compiles into data/animations/FOLDER/NAME.cas, with the
# pictures and sounds it names made beside it. Pictures ship in the resource pack
# like the other sprites: this file's name sorts after kestrup.cmake, which sets
# up that road.
set(anim_src ${CMAKE_CURRENT_SOURCE_DIR}/animations)

# tess_animation(FOLDER NAME DEPENDS...): the sequence data/animations/FOLDER/NAME.cas.
function(tess_animation folder name)
  set(out ${TESS_DATA_DIR}/data/animations/${folder})
  add_custom_command(OUTPUT ${out}/${name}.cas
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND $<TARGET_FILE:tesstool> cas build ${anim_src}/${folder}/${name}.txt ${out}/${name}.cas
    DEPENDS tesstool ${anim_src}/${folder}/${name}.txt
    COMMENT "Sequence ${folder}/${name}.cas" VERBATIM)
  set(TESS_DATA_OUTPUTS ${TESS_DATA_OUTPUTS} ${out}/${name}.cas ${ARGN} PARENT_SCOPE)
endfunction()

# tess_animation_sprite(FOLDER NAME FORMAT ARGS...): a sprite drawn from FOLDER/NAME.shape.
function(tess_animation_sprite folder name format)
  set(out ${TESS_RESPACK_DIR}/data/animations/${folder})
  file(MAKE_DIRECTORY ${out})
  add_custom_command(OUTPUT ${out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${out}/${name}.spr --format ${format} ${ARGN}
            ${anim_src}/${folder}/${name}.shape
    DEPENDS tesstool ${anim_src}/${folder}/${name}.shape
    COMMENT "Sprite animations/${folder}/${name}.spr" VERBATIM)
  set(TESS_RESPACK_FILES ${TESS_RESPACK_FILES} ${out}/${name}.spr PARENT_SCOPE)
endfunction()

# The start-up logo: the emblem, its chime and the sequence.
tess_animation_sprite(logo logo 2 --page 256)
set(logo_wav ${TESS_DATA_DIR}/data/animations/logo/logo.wav)
add_custom_command(OUTPUT ${logo_wav}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/animations/logo
  COMMAND $<TARGET_FILE:tesstool> sound tone ${logo_wav} 22050 1 16 880 0.35 0.3
  DEPENDS tesstool
  COMMENT "Sound animations/logo/logo.wav" VERBATIM)
tess_animation(logo logo ${logo_wav})

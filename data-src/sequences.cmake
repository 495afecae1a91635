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

# tess_sequence(SRCFOLDER NAME OUTFOLDER DEPENDS...): the sequence OUTFOLDER/NAME.cas
# (a path under the program folder) from animations/SRCFOLDER/NAME.txt.
function(tess_sequence folder name outfolder)
  set(out ${TESS_DATA_DIR}/${outfolder})
  add_custom_command(OUTPUT ${out}/${name}.cas
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND $<TARGET_FILE:tesstool> cas build ${anim_src}/${folder}/${name}.txt ${out}/${name}.cas
    DEPENDS tesstool ${anim_src}/${folder}/${name}.txt
    COMMENT "Sequence ${outfolder}/${name}.cas" VERBATIM)
  set(TESS_DATA_OUTPUTS ${TESS_DATA_OUTPUTS} ${out}/${name}.cas ${ARGN} PARENT_SCOPE)
endfunction()

# The intro with its chord, the outro, the five drive sections and the endings.
tess_animation_sprite(intro planet 2 --page 256)
set(intro_wav ${TESS_DATA_DIR}/data/animations/intro/intro.wav)
add_custom_command(OUTPUT ${intro_wav}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/animations/intro
  COMMAND $<TARGET_FILE:tesstool> sound tone ${intro_wav} 22050 1 16 110 4.0 0.5
  DEPENDS tesstool
  COMMENT "Sound animations/intro/intro.wav" VERBATIM)
tess_animation(intro intro ${intro_wav})
tess_animation_sprite(drivesections jump 2 --page 256)
tess_animation(outro outro)
foreach(n 1 2 3 4 5)
  tess_animation(drivesections dsec_0${n})
endforeach()
tess_animation_sprite(LostInSpace wreck 2 --page 256)
foreach(ending IA-win LostInSpace ImASurvivor StationDestroyed)
  tess_animation(LostInSpace ${ending})
endforeach()

# The front end's backdrops: the main menu's still and the hub's turning station.
tess_sequence(main start data/frontend/main)
tess_sequence(bridge bridge data/frontend/bridge)

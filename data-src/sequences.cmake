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

# tess_sequence_sprite(SRCFOLDER NAME OUTFOLDER FORMAT ARGS...): the sprite OUTFOLDER/NAME.spr
# (a path in the resource pack) drawn from animations/SRCFOLDER/NAME.shape.
macro(tess_sequence_sprite folder name outfolder format)
  file(MAKE_DIRECTORY ${TESS_RESPACK_DIR}/${outfolder})
  add_custom_command(OUTPUT ${TESS_RESPACK_DIR}/${outfolder}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${TESS_RESPACK_DIR}/${outfolder}/${name}.spr --format ${format}
            ${ARGN} ${anim_src}/${folder}/${name}.shape
    DEPENDS tesstool ${anim_src}/${folder}/${name}.shape
    COMMENT "Sprite ${outfolder}/${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${TESS_RESPACK_DIR}/${outfolder}/${name}.spr)
endmacro()

# tess_animation_sprite(FOLDER NAME FORMAT ARGS...): a sprite drawn from FOLDER/NAME.shape.
macro(tess_animation_sprite folder name format)
  tess_sequence_sprite(${folder} ${name} data/animations/${folder} ${format} ${ARGN})
endmacro()

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

# The pilot record's pictures, one for each number of zones reached (0 to 5; the hall
# of fame shows the first): the belt's chart, its zones lit and the pilot's mark.
tess_animation_sprite(drivesections fame 0 --page 1024 --font ${TESS_DEJAVU_SANS})
tess_animation_sprite(drivesections famelit 2 --page 256)
tess_animation_sprite(drivesections famemark 2 --page 32)
foreach(n 0 1 2 3 4 5)
  tess_animation(drivesections fame_${n})
endforeach()

# The backdrops of the zone map, research, hangar and ship construction, save and load,
# and station screens: each a full-screen picture with a few lights of its own.
foreach(backdrop warpmap:grid_bdrp:grid:2 randd:randd_bdrp:lab:0 shipconstruct:starbay_bdrp:bay:0
                 saveLoad:Cryo_bdrp:cryo:0 station:station_bdrp:station:0)
  string(REPLACE ":" ";" parts ${backdrop})
  list(GET parts 0 folder)
  list(GET parts 1 sequence)
  list(GET parts 2 picture)
  list(GET parts 3 format)
  tess_sequence_sprite(backdrops ${picture} data/frontend/${folder}/backdrop ${format} --page 1024)
  tess_sequence(backdrops ${sequence} data/frontend/${folder}/backdrop)
endforeach()
tess_sequence_sprite(backdrops scan data/frontend/warpmap/backdrop 2 --page 1024)
tess_animation_sprite(backdrops glow 2 --page 64)

# The music: tunes of our own, written as small sources in music/ and synthesised
# by tesstool into 22050 Hz mono Ogg Vorbis files in "data/music/", where the game
# looks for them first (the front end's credits.ogg, the flight's game1.ogg to
# game5.ogg and boss.ogg).
set(music_src ${CMAKE_CURRENT_SOURCE_DIR}/music)
foreach(name credits game1 game2 game3 game4 game5 boss)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/music/${name}.ogg
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/music
    COMMAND $<TARGET_FILE:tesstool> music build ${music_src}/${name}.txt ${TESS_DATA_DIR}/data/music/${name}.ogg
    DEPENDS tesstool ${music_src}/${name}.txt
    COMMENT "Music data/music/${name}.ogg" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/music/${name}.ogg)
endforeach()

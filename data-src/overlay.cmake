# What the game draws over the flight: the HUD's layout "data/hud.txt" (loose) and
# its sprites, drawn from shape sources and shipped through the resource pack.
set(hud_src ${CMAKE_CURRENT_SOURCE_DIR}/hud)
set(hud_sprite_out ${TESS_RESPACK_DIR}/data/sprites/hud)
file(MAKE_DIRECTORY ${hud_sprite_out})

add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/hud.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${hud_src}/hud.txt ${TESS_DATA_DIR}/data/hud.txt
  DEPENDS ${hud_src}/hud.txt
  COMMENT "HUD layout hud.txt" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/hud.txt)

# name, pixel format, page side
foreach(sprite hudIcons:2:64 radar:2:128 blip:2:16 stationIcons:2:64)
  string(REPLACE ":" ";" parts ${sprite})
  list(GET parts 0 name)
  list(GET parts 1 format)
  list(GET parts 2 page)
  add_custom_command(OUTPUT ${hud_sprite_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${hud_sprite_out}/${name}.spr --format ${format} --page ${page}
            ${hud_src}/${name}.shape
    DEPENDS tesstool ${hud_src}/${name}.shape
    COMMENT "Sprite ${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${hud_sprite_out}/${name}.spr)
endforeach()

# Text pages: the typed pages of "data/chat/" and their pictures, drawn from shape sources.
set(chat_src ${CMAKE_CURRENT_SOURCE_DIR}/chat)
file(GLOB chat_pages CONFIGURE_DEPENDS ${chat_src}/*.txt)
foreach(page IN LISTS chat_pages)
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/chat/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${page} ${TESS_DATA_DIR}/data/chat/${name}
    DEPENDS ${page}
    COMMENT "Text page ${name}" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/chat/${name})
endforeach()
foreach(picture station ship)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/chat/${picture}.tga
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESS_DATA_DIR}/data/chat
    COMMAND $<TARGET_FILE:tesstool> tga shape ${TESS_DATA_DIR}/data/chat/${picture}.tga ${chat_src}/${picture}.shape
    DEPENDS tesstool ${chat_src}/${picture}.shape
    COMMENT "Picture ${picture}.tga" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/chat/${picture}.tga)
endforeach()

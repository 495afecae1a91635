# The GUI's bitmap fonts, baked by tesstool from the DejaVu fonts (Debian's
# fonts-dejavu-core) into data/gui/, and the default skin that names them.
find_file(TESS_DEJAVU_SANS DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH)
find_file(TESS_DEJAVU_SANS_BOLD DejaVuSans-Bold.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH)
find_file(TESS_DEJAVU_MONO DejaVuSansMono.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH)
if(NOT TESS_DEJAVU_SANS OR NOT TESS_DEJAVU_SANS_BOLD OR NOT TESS_DEJAVU_MONO)
  message(FATAL_ERROR "The DejaVu fonts are missing: install fonts-dejavu-core (./tess.sh does)")
endif()

set(gui_out ${TESS_DATA_DIR}/data/gui)
file(MAKE_DIRECTORY ${gui_out})

# tess_font(NAME TTF PIXELS): NAME000.tga and NAME.txt.
function(tess_font name ttf pixels)
  add_custom_command(OUTPUT ${gui_out}/${name}000.tga ${gui_out}/${name}.txt
    COMMAND $<TARGET_FILE:tesstool> font bake ${gui_out} ${name} ${ttf} ${pixels}
    DEPENDS tesstool ${ttf}
    COMMENT "Font ${name}" VERBATIM)
  set(TESS_DATA_OUTPUTS ${TESS_DATA_OUTPUTS} ${gui_out}/${name}000.tga ${gui_out}/${name}.txt PARENT_SCOPE)
endfunction()

tess_font(system_font ${TESS_DEJAVU_MONO} 12)
tess_font(gui_small ${TESS_DEJAVU_SANS} 10)
tess_font(gui_normal ${TESS_DEJAVU_SANS} 12)
tess_font(gui_large ${TESS_DEJAVU_SANS} 16)
tess_font(gui_title ${TESS_DEJAVU_SANS_BOLD} 24)

# The skin's pieces are drawn from shapes for the sizes its source gives.
add_custom_command(OUTPUT ${gui_out}/defaultSkin.skin ${gui_out}/defaultSkin.tga
  COMMAND $<TARGET_FILE:tesstool> skin draw ${CMAKE_CURRENT_SOURCE_DIR}/gui/defaultSkin.skin ${gui_out}
  DEPENDS tesstool ${CMAKE_CURRENT_SOURCE_DIR}/gui/defaultSkin.skin
  COMMENT "Default skin" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${gui_out}/defaultSkin.skin ${gui_out}/defaultSkin.tga)

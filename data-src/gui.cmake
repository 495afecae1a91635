# The GUI's default sounds (short tones), the demonstration layout with every control
# class and its picture. The skin and the fonts are in fonts.cmake.
set(gui_sounds ${TESS_DATA_DIR}/data/sounds/gui)
file(MAKE_DIRECTORY ${gui_sounds})

# tess_gui_sound(NAME HZ SECONDS LEVEL): data/sounds/gui/NAME.wav, 22050 Hz mono.
function(tess_gui_sound name hz seconds level)
  add_custom_command(OUTPUT ${gui_sounds}/${name}.wav
    COMMAND $<TARGET_FILE:tesstool> sound tone ${gui_sounds}/${name}.wav 22050 1 16 ${hz} ${seconds} ${level}
    DEPENDS tesstool
    COMMENT "GUI sound ${name}" VERBATIM)
  set(TESS_DATA_OUTPUTS ${TESS_DATA_OUTPUTS} ${gui_sounds}/${name}.wav PARENT_SCOPE)
endfunction()

tess_gui_sound(select 880 0.07 0.25)
tess_gui_sound(backout 440 0.09 0.25)
tess_gui_sound(incdec 1320 0.03 0.2)
tess_gui_sound(navigate 660 0.03 0.2)
tess_gui_sound(alert 523 0.3 0.3)

set(gui_layouts ${TESS_DATA_DIR}/data/gui/layouts)
file(MAKE_DIRECTORY ${gui_layouts})
add_custom_command(OUTPUT ${gui_layouts}/demo.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/gui/demo.txt ${gui_layouts}/demo.txt
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gui/demo.txt
  COMMENT "GUI demonstration layout" VERBATIM)
add_custom_command(OUTPUT ${gui_layouts}/demo_picture.tga
  COMMAND $<TARGET_FILE:tesstool> tga stamp ${gui_layouts}/demo_picture.tga
  DEPENDS tesstool
  COMMENT "GUI demonstration picture" VERBATIM)
list(APPEND TESS_DATA_OUTPUTS ${gui_layouts}/demo.txt ${gui_layouts}/demo_picture.tga)

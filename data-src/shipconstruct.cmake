# The ship-construction screen's pictures, drawn from shape sources and shipped in the
# resource pack: the grid's frames and icons by footprint (one-cell icons in the order
# of the components' iconFrame) and the hulls under the grid; and its popup layout.
set(construct_src ${CMAKE_CURRENT_SOURCE_DIR}/frontend/shipconstruct)
set(construct_out ${TESS_RESPACK_DIR}/data/frontend/shipconstruct)
file(MAKE_DIRECTORY ${construct_out}/icons)

# name, page side
foreach(sprite icons/frame16x16:64 icons/frame16x32:64 icons/frame32x16:64 icons/frame32x32:64
               icons/icons16x16:128 icons/icons16x32:64 icons/icons32x16:64 icons/icons32x32:64 hulls:1024)
  string(REPLACE ":" ";" parts ${sprite})
  list(GET parts 0 name)
  list(GET parts 1 page)
  get_filename_component(shape ${name} NAME)
  add_custom_command(OUTPUT ${construct_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${construct_out}/${name}.spr --format 2 --page ${page}
            ${construct_src}/${shape}.shape
    DEPENDS tesstool ${construct_src}/${shape}.shape
    COMMENT "Sprite frontend/shipconstruct/${name}.spr" VERBATIM)
  list(APPEND TESS_RESPACK_FILES ${construct_out}/${name}.spr)
endforeach()

file(GLOB construct_layouts CONFIGURE_DEPENDS ${construct_src}/*.txt)
foreach(layout IN LISTS construct_layouts)
  get_filename_component(name ${layout} NAME)
  add_custom_command(OUTPUT ${TESS_DATA_DIR}/data/frontend/shipconstruct/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${layout} ${TESS_DATA_DIR}/data/frontend/shipconstruct/${name}
    DEPENDS ${layout}
    COMMENT "Layout frontend/shipconstruct/${name}" VERBATIM)
  list(APPEND TESS_DATA_OUTPUTS ${TESS_DATA_DIR}/data/frontend/shipconstruct/${name})
endforeach()

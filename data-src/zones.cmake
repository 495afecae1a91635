# The zones and the warps: "data\game1.txt" (the campaign's zones, their maps, enemy
# groups and bosses) and the station warp's black square.
file(MAKE_DIRECTORY ${sprite_out}/particles)
tess_sprite(particles/blacksquare 0 --page 8)
list(APPEND TESS_RESPACK_FILES ${sprite_out}/particles/blacksquare.spr)

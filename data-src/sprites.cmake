# Sprite files drawn from shape sources: the ship (alpha blended, JPEG-2000 pages),
# an asteroid (alpha tested) and additive particles. They ship as an installer
# ships them: in the resource pack that kestrup unpacks into "tessavar.001"
# (data-src/kestrup.cmake).
set(sprite_src ${CMAKE_CURRENT_SOURCE_DIR}/sprites)
set(sprite_out ${TESS_RESPACK_DIR}/data/sprites)
file(MAKE_DIRECTORY ${sprite_out})

function(tess_sprite name format)
  add_custom_command(OUTPUT ${sprite_out}/${name}.spr
    COMMAND $<TARGET_FILE:tesstool> sprite build ${sprite_out}/${name}.spr --format ${format} ${ARGN}
            ${sprite_src}/${name}.shape
    DEPENDS tesstool ${sprite_src}/${name}.shape
    COMMENT "Sprite ${name}.spr" VERBATIM)
endfunction()

tess_sprite(ship 2 --jp2 --page 128)
tess_sprite(asteroid 3 --page 128)
tess_sprite(particles 1 --page 64)
list(APPEND TESS_RESPACK_FILES ${sprite_out}/ship.spr ${sprite_out}/asteroid.spr ${sprite_out}/particles.spr)
# A scout in 8 headings with blinking pods, and a planet of 2 x 2 tiles.
tess_sprite(scout 2 --page 128)
tess_sprite(pods 2 --page 32)
tess_sprite(planet 2 --page 128)
list(APPEND TESS_RESPACK_FILES ${sprite_out}/scout.spr ${sprite_out}/pods.spr ${sprite_out}/planet.spr)
# Asteroids: rocks of three sizes and the explosive rock (alpha tested), gems of each
# kind (alpha blended); the backdrop's stars, the front end's nebula tile (added to
# what lies behind) and the zone backdrop, one frame a zone and node kind (opaque).
foreach(rock rockSmall rockMedium rockExplosive)
  tess_sprite(${rock} 3 --page 256)
endforeach()
tess_sprite(rockLarge 3 --page 512)
foreach(gem gemNormal gemNormalLarge gemRare gemRareLarge gemVeryRare gemVeryRareLarge)
  tess_sprite(${gem} 2 --page 128)
endforeach()
tess_sprite(stars 1 --page 32)
tess_sprite(nebula 1 --page 256)
file(MAKE_DIRECTORY ${sprite_out}/bgelements)
tess_sprite(bgelements/backdrops 0 --page 512)
foreach(name rockSmall rockMedium rockLarge rockExplosive gemNormal gemNormalLarge gemRare gemRareLarge
             gemVeryRare gemVeryRareLarge stars nebula bgelements/backdrops)
  list(APPEND TESS_RESPACK_FILES ${sprite_out}/${name}.spr)
endforeach()

# Turns every built-in asset into a byte array compiled into the program.
#   assets/models/<Name>.txt   model texts, looked up by <Name>
#   assets/bitmaps/<Name>.bmp  bitmaps, looked up by <Name>
#   waves made by tools/wavegen at build time, looked up by their bank name
add_executable(quadrovolt_embed tools/embed.cpp)

set(ASSET_GEN_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${ASSET_GEN_DIR}/waves)

file(GLOB MODEL_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/models/*.txt)
file(GLOB BITMAP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/bitmaps/*.bmp)
set(ASSET_FILES ${MODEL_FILES} ${BITMAP_FILES})

# The sixteen waves of the sound bank, synthesised from source.
set(WAVE_NAMES PlayerShoot GruntHit BoidHit SnakeHit SnakeDestroyed GravitarHit
    GravitarDestroyed PodHit PodDestroyed PodChildHit PodChildDestroyed PlayerHit
    NewLevel GravitarSpawned Intro GraviBomb)
set(WAVE_FILES "")
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/wavegen/wavegen.cpp)
  file(GLOB WAVEGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/wavegen/*.cpp)
  add_executable(quadrovolt_wavegen ${WAVEGEN_SOURCES})
  foreach(w ${WAVE_NAMES})
    list(APPEND WAVE_FILES ${ASSET_GEN_DIR}/waves/${w}.wav)
  endforeach()
  add_custom_command(
    OUTPUT ${WAVE_FILES}
    COMMAND quadrovolt_wavegen ${ASSET_GEN_DIR}/waves
    DEPENDS quadrovolt_wavegen
    COMMENT "Synthesising the sound bank")
  list(APPEND ASSET_FILES ${WAVE_FILES})
endif()

set(ASSET_CPP ${ASSET_GEN_DIR}/EmbeddedAssets.cpp)
add_custom_command(
  OUTPUT ${ASSET_CPP}
  COMMAND quadrovolt_embed ${ASSET_CPP} ${ASSET_FILES}
  DEPENDS quadrovolt_embed ${ASSET_FILES}
  COMMENT "Embedding assets")
add_custom_target(quadrovolt_assets DEPENDS ${ASSET_CPP})

set(QUADROVOLT_ASSET_SOURCES ${ASSET_CPP})
set(QUADROVOLT_ASSET_INCLUDE ${ASSET_GEN_DIR})

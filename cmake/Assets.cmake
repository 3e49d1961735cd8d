# Turns every built-in asset into a byte array compiled into the program.
#   assets/models/<Name>.txt   model texts, looked up by <Name>
#   assets/bitmaps/<Name>.bmp  bitmaps, looked up by <Name>
#   waves made by the synthesiser (sound/synth) at build time through
#   tools/wavegen, looked up by their bank name
#   (unless they are synthesised when the game starts: see QUADROVOLT_WAVES_AT_LOAD)
add_executable(quadrovolt_embed tools/embed.cpp)
target_link_libraries(quadrovolt_embed PRIVATE quadrovolt_command_line)

set(ASSET_GEN_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${ASSET_GEN_DIR}/waves)

file(GLOB MODEL_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/models/*.txt)
file(GLOB BITMAP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/bitmaps/*.bmp)
set(ASSET_FILES ${MODEL_FILES} ${BITMAP_FILES})

# The sixteen waves of the sound bank, synthesised from source: at build time
# into files that are embedded (the desktop), or when the game starts, by the
# same code linked into the game (the web page, where it saves the download
# 2.5 MB of music). The sound bank asks BuiltInWaveBytes() either way.
if(EMSCRIPTEN)
  set(QUADROVOLT_WAVES_AT_LOAD_DEFAULT ON)
else()
  set(QUADROVOLT_WAVES_AT_LOAD_DEFAULT OFF)
endif()
option(QUADROVOLT_WAVES_AT_LOAD "Synthesise the sound bank's waves when the game starts instead of embedding them"
       ${QUADROVOLT_WAVES_AT_LOAD_DEFAULT})
# The waves' names, in the bank's order, from the one list the sound bank and
# the synthesiser are made from.
set(BANK_WAVES_HEADER ${CMAKE_SOURCE_DIR}/sound/BankWaves.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${BANK_WAVES_HEADER})
file(READ ${BANK_WAVES_HEADER} BANK_WAVES_TEXT)
string(REGEX MATCHALL "\n[ \t]*X\\([A-Za-z]+," BANK_WAVE_ENTRIES "${BANK_WAVES_TEXT}")
set(WAVE_NAMES "")
foreach(entry ${BANK_WAVE_ENTRIES})
  string(REGEX REPLACE "^[ \t\n]*X\\(([A-Za-z]+),$" "\\1" name "${entry}")
  list(APPEND WAVE_NAMES ${name})
endforeach()
list(LENGTH WAVE_NAMES WAVE_COUNT)
if(NOT WAVE_COUNT EQUAL 16)
  message(FATAL_ERROR "sound/BankWaves.h lists ${WAVE_COUNT} waves, the bank has 16")
endif()

# The synthesiser ships in the game (the page makes its waves with it) and
# serves the build-time wave generator, a thin command over it.
add_library(quadrovolt_wavesynth STATIC
  sound/synth/Synth.cpp sound/synth/Effects.cpp sound/synth/IntroTune.cpp
  sound/synth/WaveFile.cpp sound/synth/WaveBank.cpp)
target_include_directories(quadrovolt_wavesynth PUBLIC ${CMAKE_SOURCE_DIR})
set(QUADROVOLT_ASSET_LIBRARIES quadrovolt_wavesynth)
set(WAVE_FILES "")
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/wavegen/wavegen.cpp)
  add_executable(quadrovolt_wavegen tools/wavegen/wavegen.cpp)
  target_link_libraries(quadrovolt_wavegen PRIVATE quadrovolt_wavesynth quadrovolt_command_line)
  foreach(w ${WAVE_NAMES})
    list(APPEND WAVE_FILES ${ASSET_GEN_DIR}/waves/${w}.wav)
  endforeach()
  add_custom_command(
    OUTPUT ${WAVE_FILES}
    COMMAND quadrovolt_wavegen ${ASSET_GEN_DIR}/waves
    DEPENDS quadrovolt_wavegen
    COMMENT "Synthesising the sound bank")
  if(NOT QUADROVOLT_WAVES_AT_LOAD)
    list(APPEND ASSET_FILES ${WAVE_FILES})
  endif()
elseif(NOT QUADROVOLT_WAVES_AT_LOAD)
  message(FATAL_ERROR "Embedding the waves needs the wave generator, tools/wavegen/wavegen.cpp")
endif()
if(QUADROVOLT_WAVES_AT_LOAD)
  set(WAVE_SOURCE ${CMAKE_SOURCE_DIR}/assets/SynthesisedWaves.cpp)
else()
  set(WAVE_SOURCE ${CMAKE_SOURCE_DIR}/assets/EmbeddedWaves.cpp)
endif()

set(ASSET_CPP ${ASSET_GEN_DIR}/EmbeddedAssets.cpp)
add_custom_command(
  OUTPUT ${ASSET_CPP}
  COMMAND quadrovolt_embed ${ASSET_CPP} ${ASSET_FILES}
  DEPENDS quadrovolt_embed ${ASSET_FILES}
  COMMENT "Embedding assets")
add_custom_target(quadrovolt_assets DEPENDS ${ASSET_CPP})

set(QUADROVOLT_ASSET_SOURCES ${ASSET_CPP} ${WAVE_SOURCE})
set(QUADROVOLT_ASSET_INCLUDE ${ASSET_GEN_DIR})

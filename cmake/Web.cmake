# The web page: the game built for WebAssembly with emscripten, drawn with
# WebGL 2, into a folder of static files (index.html, .js, .wasm) that any web
# server can serve. scripts/build-web.sh configures and builds it.
#
# Included before any target is made, so the toolchain's settings reach every
# target; the page itself is defined at the end of the directory, once the core
# library exists. In a native build only the tests of the page's own logic are
# made (they need no browser).

if(EMSCRIPTEN)
  # node 20 refuses the emulator flag emcmake puts in; the build-time tools
  # (asset embedding, wave synthesis) and the headless runner run under node
  # without it. Its fetch would hide the file system the tools use.
  find_program(QUADROVOLT_NODE node REQUIRED)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR OR CMAKE_CROSSCOMPILING_EMULATOR MATCHES "experimental-wasm-threads")
    set(CMAKE_CROSSCOMPILING_EMULATOR "${QUADROVOLT_NODE};--no-experimental-fetch"
        CACHE FILEPATH "Runs the WebAssembly build tools" FORCE)
  endif()
  # The sound and file layers report faults with exceptions; emscripten only
  # catches them when asked.
  add_compile_options(-fexceptions)
  add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
endif()

function(quadrovolt_web_targets)
  if(EMSCRIPTEN)
    # Tools run under node read and write the real files they are given.
    foreach(tool quadrovolt_embed quadrovolt_wavegen quadrovolt_headless quadrovolt_catalogue_dump)
      if(TARGET ${tool})
        target_link_options(${tool} PRIVATE -sNODERAWFS=1)
      endif()
    endforeach()

    if(NOT QUADROVOLT_WEB)
      return()
    endif()
    set(web_dir ${CMAKE_BINARY_DIR}/web)
    file(GLOB web_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/*.cpp)
    add_executable(quadrovolt_web ${web_sources} ${CMAKE_SOURCE_DIR}/platform/Gles3BatchSink.cpp
                                  ${CMAKE_SOURCE_DIR}/platform/Gles3Shaders.cpp
                                  ${CMAKE_SOURCE_DIR}/platform/GLCalls.cpp
                                  ${CMAKE_SOURCE_DIR}/platform/GLCommonSink.cpp)
    target_link_libraries(quadrovolt_web PRIVATE quadrovolt_core)
    set(shell ${CMAKE_SOURCE_DIR}/platform/web/shell.html)
    target_link_options(quadrovolt_web PRIVATE
      -sUSE_WEBGL2=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
      -lidbfs.js -sFORCE_FILESYSTEM=1
      -sEXPORTED_FUNCTIONS=_main,_malloc,_free
      -sEXPORTED_RUNTIME_METHODS=UTF8ToString
      -sMINIFY_HTML=0 --shell-file ${shell})
    set_target_properties(quadrovolt_web PROPERTIES
      OUTPUT_NAME index SUFFIX ".html" RUNTIME_OUTPUT_DIRECTORY ${web_dir} LINK_DEPENDS ${shell})
    # Installable and playable offline: the manifest, the game's icons and
    # the worker that caches the page's files, beside them.
    set(icons ${CMAKE_SOURCE_DIR}/dist/icons/org.quadrovolt.Quadrovolt)
    add_custom_command(TARGET quadrovolt_web POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/platform/web/manifest.webmanifest
              ${CMAKE_SOURCE_DIR}/platform/web/sw.js ${CMAKE_SOURCE_DIR}/platform/web/board.js ${web_dir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${icons}-128.png ${web_dir}/icon-128.png
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${icons}-256.png ${web_dir}/icon-256.png
      VERBATIM)
  elseif(QUADROVOLT_BUILD_TESTS)
    # The page's own rules (pace, keys, options, samples), tested natively.
    file(GLOB web_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/web/*.cpp)
    if(web_test_sources)
      add_executable(quadrovolt_web_tests ${web_test_sources} ${CMAKE_SOURCE_DIR}/platform/web/WebKeys.cpp
                                          ${CMAKE_SOURCE_DIR}/platform/web/PageOptions.cpp
                                          ${CMAKE_SOURCE_DIR}/platform/web/WaveSamples.cpp
                                          ${CMAKE_SOURCE_DIR}/platform/web/PageReplays.cpp
                                          ${CMAKE_SOURCE_DIR}/platform/web/TouchSticks.cpp)
      target_link_libraries(quadrovolt_web_tests PRIVATE quadrovolt_harness GTest::gtest GTest::gtest_main)
      gtest_discover_tests(quadrovolt_web_tests DISCOVERY_TIMEOUT 60)
    endif()
  endif()
endfunction()
cmake_language(DEFER CALL quadrovolt_web_targets)

# Every test, registered here. The gtest binaries are discovered case by case,
# so a new TEST runs without editing a list; the scripts that check whole
# programs follow. xvfb-run's choice of a free display is not safe in
# parallel: whatever starts an X server holds the x_server lock.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
find_program(XVFB_RUN xvfb-run)
set(TESTS ${CMAKE_SOURCE_DIR}/tests)

# The game's rules, through the windowless game and on its own.
file(GLOB_RECURSE TEST_SOURCES CONFIGURE_DEPENDS ${TESTS}/unit/*.cpp)
add_executable(quadrovolt_tests ${TEST_SOURCES})
target_link_libraries(quadrovolt_tests PRIVATE quadrovolt_harness quadrovolt_pilot quadrovolt_command_line GTest::gtest
                                               GTest::gtest_main)
gtest_discover_tests(quadrovolt_tests DISCOVERY_TIMEOUT 60)

# Counts heap allocations over long stretches of play: its own binary, since
# it replaces the global operator new.
file(GLOB ALLOC_TEST_SOURCES CONFIGURE_DEPENDS ${TESTS}/alloc/*.cpp)
add_executable(quadrovolt_alloc_tests ${ALLOC_TEST_SOURCES})
target_link_libraries(quadrovolt_alloc_tests PRIVATE quadrovolt_harness GTest::gtest GTest::gtest_main)
if(QUADROVOLT_SANITIZE)
  # The counter's own operator new and delete, inlined into the sanitizer's
  # checks, look mismatched to gcc; they are a matched pair.
  target_compile_options(quadrovolt_alloc_tests PRIVATE -Wno-mismatched-new-delete)
endif()
gtest_discover_tests(quadrovolt_alloc_tests DISCOVERY_TIMEOUT 60)

# The whole game, no window: a few thousand frames from several start levels
# with the bullets and bombs flying, every entity checked each frame.
foreach(level 1 6 13 20 30 40)
  add_test(NAME Headless.PlaysFromLevel${level}
           COMMAND quadrovolt_headless --frames 3000 --level ${level} --bullets 3 --bombs --seed ${level})
endforeach()
add_test(NAME Headless.MortalShipThroughGameOver COMMAND quadrovolt_headless --frames 4000 --level 4 --mortal --seed 9)
# A bad command line, a replay of other rules and a file the replay cannot go
# to are each refused with their reason.
add_test(NAME Headless.RefusesWhatItCannotDoAsAsked
         COMMAND ${TESTS}/tools/headless_refusals.sh $<TARGET_FILE:quadrovolt_headless> ${TESTS}/replays/guard.rpl)
# Two runs at once share no file and leave nothing in TMPDIR (a game over saves).
add_test(NAME Headless.KeepsItsFilesToItself
         COMMAND ${TESTS}/tools/own_folder.sh $<TARGET_FILE:quadrovolt_headless> --frames 2000 --level 4 --mortal)

# Determinism guard: the committed replay must still come out as committed.
# A change meant to alter play rewrites the expected line with
# tests/replays/guard.sh build/quadrovolt_headless --update
add_test(NAME Replay.CommittedGameStillPlaysTheSame
         COMMAND ${TESTS}/replays/guard.sh $<TARGET_FILE:quadrovolt_headless>)
# The same from every start level: a short committed game each, and the test
# names every level whose line changed. A change meant to alter play records
# those games anew with tests/replays/levels.sh build/quadrovolt_headless --rerecord L...
add_test(NAME Replay.EveryStartLevelStillPlaysTheSame
         COMMAND ${TESTS}/replays/levels.sh $<TARGET_FILE:quadrovolt_headless>)
# Record then replay from a few start levels: the same final line.
foreach(level 1 20 40)
  add_test(NAME Replay.RecordThenReplayFromLevel${level}
           COMMAND ${TESTS}/replays/roundtrip.sh $<TARGET_FILE:quadrovolt_headless> --frames 5000 --level ${level}
                   --bullets 3 --bombs --seed ${level})
endforeach()

# The whole level script on a fixed seed, kept in tests/data and compared row
# for row; quadrovolt_catalogue_dump without --check writes it again.
add_test(NAME LevelScript.MatchesTheKeptDump
         COMMAND quadrovolt_catalogue_dump --check ${TESTS}/data/level_script.txt)

# The soak on a few start levels; scripts/soak.sh runs all forty. Only in the
# sanitizer build, where it is worth its minutes.
if(QUADROVOLT_SANITIZE)
  foreach(level 3 17 30)
    add_test(NAME Soak.FiveLevelsFromLevel${level}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/soak.sh $<TARGET_FILE:quadrovolt_headless> ${level})
  endforeach()
endif()

# Every tool answers --help with its usage and exit 0, and refuses an unknown
# option with exit 2 without making a file.
set(HELP_TOOLS)
foreach(tool quadrovolt_headless quadrovolt_bench_effects quadrovolt_catalogue_dump quadrovolt_embed
             quadrovolt_snapshot quadrovolt_bench_render quadrovolt_textsheet quadrovolt_wavegen quadrovolt-scores
             quadrovolt_record_ticketed quadrovolt_edit_replay)
  if(TARGET ${tool})
    list(APPEND HELP_TOOLS $<TARGET_FILE:${tool}>)
  endif()
endforeach()
add_test(NAME CommandLine.EveryToolAnswersHelp COMMAND ${TESTS}/install/check_tool_help.sh ${HELP_TOOLS})

# The score board's service: its rules and store (unit tests, the referee
# started as the built service), then the whole service over HTTP on
# SQLite and on a PostgreSQL server the script starts itself.
if(TARGET quadrovolt-scores)
  file(GLOB SCORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/server/tests/unit/*.cpp)
  add_executable(quadrovolt_scores_tests ${SCORE_TEST_SOURCES})
  target_link_libraries(quadrovolt_scores_tests PRIVATE quadrovolt_scores_lib quadrovolt_ticketed_game GTest::gtest
                                                        GTest::gtest_main)
  target_compile_definitions(quadrovolt_scores_tests
                             PRIVATE QUADROVOLT_SCORES_PROGRAM="$<TARGET_FILE:quadrovolt-scores>")
  add_dependencies(quadrovolt_scores_tests quadrovolt-scores)
  gtest_discover_tests(quadrovolt_scores_tests DISCOVERY_TIMEOUT 60)
  foreach(backend Sqlite Postgres)
    foreach(suite Api Faults)
      add_test(NAME ScoreService.${suite}On${backend}
               COMMAND ${CMAKE_SOURCE_DIR}/server/tests/run_scores_tests.sh ${suite} ${backend} ${CMAKE_BINARY_DIR})
      set_tests_properties(ScoreService.${suite}On${backend} PROPERTIES TIMEOUT 300)
    endforeach()
  endforeach()
endif()

if(NOT QUADROVOLT_BUILD_GAME)
  return()
endif()

# The SDL backends themselves (sound device on SDL's dummy driver, pads).
file(GLOB PLATFORM_TEST_SOURCES CONFIGURE_DEPENDS ${TESTS}/platform/*.cpp)
add_executable(quadrovolt_platform_tests ${PLATFORM_TEST_SOURCES})
target_link_libraries(quadrovolt_platform_tests PRIVATE quadrovolt_platform quadrovolt_harness GTest::gtest
                                                        GTest::gtest_main)
gtest_discover_tests(quadrovolt_platform_tests DISCOVERY_TIMEOUT 60)

# Checks on real pixels: each case runs in an X server of its own, and passes
# only when that one case ran and passed.
file(GLOB PIXEL_TEST_SOURCES CONFIGURE_DEPENDS ${TESTS}/pixel/*.cpp)
add_executable(quadrovolt_pixel_tests ${PIXEL_TEST_SOURCES})
target_link_libraries(quadrovolt_pixel_tests PRIVATE quadrovolt_platform quadrovolt_snapshot_game GTest::gtest
                                                     GTest::gtest_main)
# The GL backends draw the same picture of four levels.
add_executable(quadrovolt_picture_tests ${TESTS}/picture/backendPictureTest.cpp)
target_link_libraries(quadrovolt_picture_tests PRIVATE quadrovolt_platform quadrovolt_snapshot_game GTest::gtest
                                                       GTest::gtest_main)
if(NOT XVFB_RUN)
  message(STATUS "xvfb-run not found: the checks on real pixels and windows are not registered")
  return()
endif()
set_target_properties(quadrovolt_pixel_tests PROPERTIES CROSSCOMPILING_EMULATOR ${TESTS}/pixel/in_x_server.sh)
gtest_discover_tests(quadrovolt_pixel_tests DISCOVERY_TIMEOUT 60
                     PROPERTIES RESOURCE_LOCK x_server PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\.")
add_test(NAME BackendPicture.EveryBackendDrawsTheSamePicture
         COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24 -noreset" $<TARGET_FILE:quadrovolt_picture_tests>)
set_tests_properties(BackendPicture.EveryBackendDrawsTheSamePicture PROPERTIES RESOURCE_LOCK x_server)
if(TARGET quadrovolt_snapshot)
  add_test(NAME Snapshot.SameSeedSamePicture
           COMMAND ${TESTS}/pixel/in_x_server.sh ${TESTS}/pixel/same_picture.sh $<TARGET_FILE:quadrovolt_snapshot>)
  add_test(NAME Snapshot.KeepsItsFilesToItself
           COMMAND ${TESTS}/pixel/in_x_server.sh ${TESTS}/tools/own_folder.sh $<TARGET_FILE:quadrovolt_snapshot>
                   --level 3 --frames 50 --out /dev/null)
  set_tests_properties(Snapshot.SameSeedSamePicture Snapshot.KeepsItsFilesToItself PROPERTIES RESOURCE_LOCK x_server)
endif()

# The installed tree and the real game in a window.
if(TARGET quadrovolt)
  add_test(NAME Install.LaysDownEveryFileAndValidates COMMAND ${TESTS}/install/check_install.sh ${CMAKE_BINARY_DIR})
  add_test(NAME Install.LauncherDataDirectory
           COMMAND ${TESTS}/install/check_launcher.sh ${CMAKE_BINARY_DIR}/quadrovolt-launcher)
  add_test(NAME Game.CommandLine COMMAND ${TESTS}/install/check_command_line.sh $<TARGET_FILE:quadrovolt>)
  add_test(NAME Game.WidescreenKeepsTheFourByThreePicture
           COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x720x24" ${TESTS}/e2e/widescreen.sh $<TARGET_FILE:quadrovolt>
                   ${CMAKE_BINARY_DIR}/widescreen-shots)
  set_tests_properties(Game.WidescreenKeepsTheFourByThreePicture PROPERTIES RESOURCE_LOCK x_server)
endif()
# The real game recording a game that the headless runner replays is checked
# by run-tests.sh after ctest (tests/e2e/replay_e2e.sh): alone, since it
# drives a real window.

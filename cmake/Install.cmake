# Install rules and the Debian package.
#
# bin/quadrovolt is a small launcher that starts the game in the player's data
# directory (where the save file lives); the game itself goes to
# libexec/quadrovolt/, off the PATH, so that starting it by name always goes
# through the launcher and never drops a save file in whatever directory the
# player happens to be in.
include(GNUInstallDirs)

target_compile_definitions(quadrovolt PRIVATE QUADROVOLT_VERSION="${PROJECT_VERSION}")

set(QUADROVOLT_ID org.quadrovolt.Quadrovolt)
set(QUADROVOLT_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/quadrovolt)
set(QUADROVOLT_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quadrovolt)
set(DIST ${CMAKE_SOURCE_DIR}/dist)

# The launcher finds the game relative to itself, so DESTDIR and --prefix at
# install time both work.
file(RELATIVE_PATH QUADROVOLT_GAME ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${QUADROVOLT_GAME_DIR}/quadrovolt)
set(QUADROVOLT_OLD_SAVE "")
configure_file(${DIST}/quadrovolt.in ${CMAKE_BINARY_DIR}/install/quadrovolt @ONLY)
# The copy ./play.sh runs from the build tree: the same data directory, and the
# save file older versions left in the source tree is moved there.
set(QUADROVOLT_GAME quadrovolt)
set(QUADROVOLT_OLD_SAVE ${CMAKE_SOURCE_DIR}/QUADROVOLT.DAT)
configure_file(${DIST}/quadrovolt.in ${CMAKE_BINARY_DIR}/quadrovolt-launcher @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file(${DIST}/${QUADROVOLT_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/install/${QUADROVOLT_ID}.metainfo.xml @ONLY)

install(TARGETS quadrovolt RUNTIME DESTINATION ${QUADROVOLT_GAME_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/quadrovolt DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${DIST}/${QUADROVOLT_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/install/${QUADROVOLT_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
foreach(size 48 64 128 256)
  install(FILES ${DIST}/icons/${QUADROVOLT_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps RENAME ${QUADROVOLT_ID}.png)
endforeach()
install(FILES ${DIST}/icons/${QUADROVOLT_ID}.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES ${DIST}/quadrovolt.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${DIST}/copyright DESTINATION ${QUADROVOLT_DOC_DIR})

# Its checks are registered with every other test (cmake/Tests.cmake).

# ---------------------------------------------------------------------------
# cpack -G DEB
set(CPACK_PACKAGE_NAME quadrovolt)
set(CPACK_PACKAGE_VENDOR "the Quadrovolt developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter in a glowing vector arena")
set(CPACK_PACKAGE_DESCRIPTION "Fly a small ship in a square arena over a grid that bends under bullets,
explosions and gravity, and shoot down what forty scripted levels send in:
grunts, snakes, flocking boids, gravitars, pods, black holes and bosses.")
set(CPACK_PACKAGE_CONTACT "the Quadrovolt developers <quadrovolt@users.noreply.invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian puts games in /usr/games and wants the manual page and a changelog
# compressed inside the package.
set(CPACK_QUADROVOLT_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_QUADROVOLT_MANDIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_QUADROVOLT_DOC_DIR ${QUADROVOLT_DOC_DIR})
set(CPACK_QUADROVOLT_VERSION ${PROJECT_VERSION})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/DebianTidy.cmake)
include(CPack)

# Runs in CPack's staging tree before the package is made: puts the command
# in /usr/games as Debian does for games (the launcher finds the game relative
# to itself, so the move keeps it working), compresses the manual page and
# writes the changelog Debian packages carry.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${root}/${CPACK_QUADROVOLT_BINDIR}/quadrovolt")
  message(FATAL_ERROR "no launcher staged in ${root}/${CPACK_QUADROVOLT_BINDIR}")
endif()
file(MAKE_DIRECTORY "${root}/games")
file(RENAME "${root}/${CPACK_QUADROVOLT_BINDIR}/quadrovolt" "${root}/games/quadrovolt")
execute_process(COMMAND rmdir "${root}/${CPACK_QUADROVOLT_BINDIR}")
execute_process(COMMAND gzip -9nf "${root}/${CPACK_QUADROVOLT_MANDIR}/man6/quadrovolt.6" COMMAND_ERROR_IS_FATAL ANY)
set(doc "${root}/${CPACK_QUADROVOLT_DOC_DIR}")
string(TIMESTAMP today "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE "${doc}/changelog"
     "quadrovolt (${CPACK_QUADROVOLT_VERSION}) unstable; urgency=medium\n\n"
     "  * Release ${CPACK_QUADROVOLT_VERSION}.\n\n"
     " -- ${CPACK_PACKAGE_CONTACT}  ${today}\n")
execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)

# Runs in CPack's staging tree before the package is made: compresses the
# manual page and writes the changelog Debian packages carry.
file(GLOB_RECURSE staged_man LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/man6/quadrovolt.6")
foreach(page ${staged_man})
  execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB_RECURSE staged_copyright LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/doc/quadrovolt/copyright")
foreach(copyright ${staged_copyright})
  get_filename_component(doc "${copyright}" DIRECTORY)
  string(TIMESTAMP today "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE "${doc}/changelog"
       "quadrovolt (${CPACK_QUADROVOLT_VERSION}) unstable; urgency=medium\n\n"
       "  * Release ${CPACK_QUADROVOLT_VERSION}.\n\n"
       " -- ${CPACK_PACKAGE_CONTACT}  ${today}\n")
  execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

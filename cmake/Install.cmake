# The installed layout (GNUInstallDirs): the program in bin/, the window and drawing programs it
# starts in libexec/lumbrix/, the data in share/lumbrix/, the manual in share/doc/lumbrix/, plus what a
# desktop needs to list the program. A build tree keeps the same data beside the programs (gfx/
# from Theme.cmake, the manual staged here), so both run as they are.
include(GNUInstallDirs)

set(LUMBRIX_MANUAL_SOURCE ${CMAKE_SOURCE_DIR}/docs/manual)
set(LUMBRIX_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(LUMBRIX_STAGE ${CMAKE_BINARY_DIR}/packaging)

# The manual beside the program in the build tree.
file(GLOB LUMBRIX_MANUAL_SCREENS CONFIGURE_DEPENDS ${LUMBRIX_MANUAL_SOURCE}/screens/*)
set(LUMBRIX_MANUAL_BUILT ${CMAKE_BINARY_DIR}/${LUMBRIX_HELP_FILE})
add_custom_command(OUTPUT ${LUMBRIX_MANUAL_BUILT}
  COMMAND ${CMAKE_COMMAND} -E copy ${LUMBRIX_MANUAL_SOURCE}/Lumbrix.html ${LUMBRIX_MANUAL_BUILT}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/screens
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${LUMBRIX_MANUAL_SOURCE}/screens
          ${CMAKE_BINARY_DIR}/screens
  DEPENDS ${LUMBRIX_MANUAL_SOURCE}/Lumbrix.html ${LUMBRIX_MANUAL_SCREENS}
  COMMENT "Placing the manual beside the program"
  VERBATIM)
add_custom_target(lumbrix_manual ALL DEPENDS ${LUMBRIX_MANUAL_BUILT})
add_dependencies(lumbrix lumbrix_manual)

# Desktop entry, AppStream metainfo and man page, with the build's names and version filled in.
configure_file(${LUMBRIX_PACKAGING}/lumbrix.desktop.in
  ${LUMBRIX_STAGE}/${LUMBRIX_APP_ID}.desktop @ONLY)
configure_file(${LUMBRIX_PACKAGING}/lumbrix.metainfo.xml.in
  ${LUMBRIX_STAGE}/${LUMBRIX_APP_ID}.metainfo.xml @ONLY)
configure_file(${LUMBRIX_PACKAGING}/lumbrix.1.in ${LUMBRIX_STAGE}/lumbrix.1 @ONLY)
configure_file(${LUMBRIX_PACKAGING}/changelog.Debian.in ${LUMBRIX_STAGE}/changelog.Debian @ONLY)
configure_file(${LUMBRIX_PACKAGING}/changelog.in ${LUMBRIX_STAGE}/changelog @ONLY)

# Debian keeps manual pages and changelogs compressed, without a time stamp inside.
find_program(LUMBRIX_GZIP gzip REQUIRED)
foreach(page lumbrix.1 changelog.Debian changelog)
  add_custom_command(OUTPUT ${LUMBRIX_STAGE}/${page}.gz
    COMMAND ${LUMBRIX_GZIP} -9nc ${LUMBRIX_STAGE}/${page} > ${LUMBRIX_STAGE}/${page}.gz
    DEPENDS ${LUMBRIX_STAGE}/${page})
endforeach()
add_custom_target(lumbrix_packaging ALL
  DEPENDS ${LUMBRIX_STAGE}/lumbrix.1.gz ${LUMBRIX_STAGE}/changelog.Debian.gz
          ${LUMBRIX_STAGE}/changelog.gz)

install(TARGETS lumbrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The window program and the drawing console program are started by lumbrix only, so they stay
# off the PATH.
install(TARGETS lumbrix-window lumbrix-draw RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/lumbrix)
install(FILES ${LUMBRIX_THEME_ZIP} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumbrix/gfx)
# The picture the preferences preview shows until an input is chosen.
install(FILES ${CMAKE_SOURCE_DIR}/samples/sample.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lumbrix/samples)
install(FILES ${LUMBRIX_MANUAL_SOURCE}/Lumbrix.html DESTINATION ${CMAKE_INSTALL_DOCDIR}
  RENAME ${LUMBRIX_HELP_FILE})
# Only the screenshots the manual shows; the others are for the README.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LUMBRIX_MANUAL_SOURCE}/Lumbrix.html)
file(READ ${LUMBRIX_MANUAL_SOURCE}/Lumbrix.html LUMBRIX_MANUAL_TEXT)
string(REGEX MATCHALL "screens/[A-Za-z0-9._-]+" LUMBRIX_MANUAL_SHOWN "${LUMBRIX_MANUAL_TEXT}")
list(REMOVE_DUPLICATES LUMBRIX_MANUAL_SHOWN)
list(TRANSFORM LUMBRIX_MANUAL_SHOWN PREPEND ${LUMBRIX_MANUAL_SOURCE}/)
install(FILES ${LUMBRIX_MANUAL_SHOWN} DESTINATION ${CMAKE_INSTALL_DOCDIR}/screens)
install(FILES ${LUMBRIX_PACKAGING}/copyright ${LUMBRIX_STAGE}/changelog.Debian.gz
  ${LUMBRIX_STAGE}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Lists the manual in Debian's documentation index (read in the package's /usr only).
install(FILES ${LUMBRIX_PACKAGING}/lumbrix.doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base
  RENAME lumbrix)
install(DIRECTORY ${LUMBRIX_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${LUMBRIX_STAGE}/${LUMBRIX_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LUMBRIX_STAGE}/${LUMBRIX_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${LUMBRIX_STAGE}/lumbrix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Installing the game with the GNU folders, and its Debian package
# (`cpack -G DEB` in the build folder). The program finds its shipped files
# beside itself (bin/../share/halvane), so the package's /usr and any
# temporary prefix work alike.

set(HALVANE_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/halvane)
set(dist ${PROJECT_SOURCE_DIR}/dist)

install(TARGETS halvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A best score left in a checkout's Data/ is a player's, not the game's.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Data ${PROJECT_SOURCE_DIR}/Graphics
        DESTINATION ${CMAKE_INSTALL_DATADIR}/halvane
        PATTERN "hs.dat*" EXCLUDE)
if(EXISTS ${PROJECT_SOURCE_DIR}/Sound)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/Sound DESTINATION ${CMAKE_INSTALL_DATADIR}/halvane)
endif()

install(FILES ${dist}/${HALVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${dist}/${HALVANE_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/dist/${HALVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/dist/${HALVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
configure_file(${dist}/halvane.6.in ${PROJECT_BINARY_DIR}/dist/halvane.6 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/dist/halvane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_PACKAGE_NAME halvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "three-dimensional wire-frame shooter")
set(CPACK_PACKAGE_DESCRIPTION
    "Fly a craft down a narrow channel of ground shaped like a half-pipe, avoid the ground, enemy ships and mines, and fire missiles that destroy the enemies and dig craters. Dig away the structure at each level's end to fly on; five missions linked by briefings, and a best score kept from run to run.")
set(CPACK_PACKAGE_CONTACT "The Halvane developers <halvane@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are read from the shared libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# Installing the game like any desktop program, and its Debian package: the program, its plugins and
# its music in one folder (<prefix>/lib/vimbo2), a launcher in <prefix>/bin, a desktop entry and the
# icon in every freedesktop size under <prefix>/share.
include(GNUInstallDirs)
set(VIMBO_PROGRAM_DIR lib/vimbo2)

install(TARGETS vimbo2 admessagebox RUNTIME DESTINATION ${VIMBO_PROGRAM_DIR})
install(TARGETS SoftwareAdPlugin OpenGLAdPlugin LIBRARY DESTINATION ${VIMBO_PROGRAM_DIR})
install(DIRECTORY ${VIMBO_BIN_DIR}/music DESTINATION ${VIMBO_PROGRAM_DIR})
# Tells the program it is installed: it then keeps every file it writes in the player's folders.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/installed DESTINATION ${VIMBO_PROGRAM_DIR})

# The launcher finds the program folder relative to itself, so an install can be moved whole.
file(RELATIVE_PATH VIMBO_PROGRAM_FROM_BIN /prefix/bin /prefix/${VIMBO_PROGRAM_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/vimbo2.in ${CMAKE_BINARY_DIR}/packaging/vimbo2 @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/vimbo2 DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vimbo2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
get_property(iconDir GLOBAL PROPERTY VIMBO_ICON_DIR)
install(DIRECTORY ${iconDir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(CPACK_PACKAGE_NAME vimbo2)
set(CPACK_PACKAGE_VENDOR "vimbo 2 developers")
set(CPACK_PACKAGE_CONTACT "vimbo 2 developers <vimbo2@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade maze game: race the enemy to the collectible")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Run through a 32 x 31 maze for the one collectible, whose worth depends
 on when it is eaten. One enemy races you for it, hunts you and drags a tail that blocks
 your way; a dropped wall holds it for two seconds. Twenty levels follow the score.")
# The libraries the program and its plugins link, found by dpkg-shlibdeps; the OpenGL renderer also
# loads the system's OpenGL at run time (GLX), with a Mesa driver, which works everywhere.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libglx-mesa0, libgl1-mesa-dri")
include(CPack)

# Installing the game like any desktop program, and its Debian package: the program, its plugins, its
# box program and its music in one folder, a launcher, a desktop entry, the icon in every freedesktop
# size, the manual page, and the copyright and changelog under share/doc.
#
# Where the program and the launcher go is decided when installing, by the prefix: Debian keeps games
# in /usr/games and their programs under /usr/lib/games, so an install into /usr (the package's) uses
# those; any other prefix (~/.local, /usr/local) the usual bin/ and lib/vimbo2, which are on the path.
include(GNUInstallDirs)
install(CODE [[
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(VIMBO_LAUNCHER_DIR games)
        set(VIMBO_PROGRAM_DIR lib/games/vimbo2)
    else()
        set(VIMBO_LAUNCHER_DIR bin)
        set(VIMBO_PROGRAM_DIR lib/vimbo2)
    endif()
]])

install(TARGETS vimbo2 admessagebox RUNTIME DESTINATION \${VIMBO_PROGRAM_DIR})
install(TARGETS SoftwareAdPlugin OpenGLAdPlugin LIBRARY DESTINATION \${VIMBO_PROGRAM_DIR})
install(DIRECTORY ${VIMBO_BIN_DIR}/music DESTINATION \${VIMBO_PROGRAM_DIR})
# Tells the program it is installed: it then keeps every file it writes in the player's folders.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/installed DESTINATION \${VIMBO_PROGRAM_DIR})

# The launcher finds the program folder relative to itself, so an install can be moved whole.
set(VIMBO_LAUNCHER_TEMPLATE ${PROJECT_SOURCE_DIR}/packaging/vimbo2.in)
set(VIMBO_LAUNCHER ${CMAKE_BINARY_DIR}/packaging/vimbo2)
install(CODE "
    file(RELATIVE_PATH VIMBO_PROGRAM_FROM_BIN /prefix/\${VIMBO_LAUNCHER_DIR} /prefix/\${VIMBO_PROGRAM_DIR})
    file(READ \"${VIMBO_LAUNCHER_TEMPLATE}\" launcher)
    string(CONFIGURE \"\${launcher}\" launcher @ONLY)
    file(WRITE \"${VIMBO_LAUNCHER}\" \"\${launcher}\")
")
install(PROGRAMS ${VIMBO_LAUNCHER} DESTINATION \${VIMBO_LAUNCHER_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vimbo2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
get_property(iconDir GLOBAL PROPERTY VIMBO_ICON_DIR)
install(DIRECTORY ${iconDir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The manual page and the changelog are kept compressed, as Debian wants them; gzip -n leaves the
# time out, so the same source makes the same bytes.
find_program(GZIP gzip REQUIRED)
set(VIMBO_DOC_DIR ${CMAKE_BINARY_DIR}/packaging)
foreach(doc vimbo2.6 changelog)
    add_custom_command(OUTPUT ${VIMBO_DOC_DIR}/${doc}.gz
        COMMAND ${GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${doc} > ${VIMBO_DOC_DIR}/${doc}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${doc}
        COMMENT "Compressing ${doc}")
    list(APPEND VIMBO_COMPRESSED_DOCS ${VIMBO_DOC_DIR}/${doc}.gz)
endforeach()
add_custom_target(vimbo_docs ALL DEPENDS ${VIMBO_COMPRESSED_DOCS})
install(FILES ${VIMBO_DOC_DIR}/vimbo2.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${VIMBO_DOC_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vimbo2)

set(CPACK_PACKAGE_NAME vimbo2)
set(CPACK_PACKAGE_VENDOR "vimbo 2 developers")
# There is no public address for the game yet: the package's checker reports this one, and only this.
set(CPACK_PACKAGE_CONTACT "vimbo 2 developers <vimbo2@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade maze game: race the enemy to the collectible")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Lines of under 80 characters: CPack indents them by one space, as the control file wants.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Run through a 32 x 31 maze for the one collectible, whose worth depends on"
    "when it is eaten. One enemy races you for it, hunts you and drags a tail"
    "that blocks your way; a dropped wall holds it for two seconds. Twenty levels"
    "follow the score.")
# The package's program and plugins are stripped; the build folder keeps them whole, with their debug
# symbols, for reading a crash of the installed game.
set(CPACK_STRIP_FILES ON)
# The libraries the program and its plugins link, found by dpkg-shlibdeps; the OpenGL renderer also
# loads the system's OpenGL at run time (GLX), with a Mesa driver, which works everywhere.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libglx-mesa0, libgl1-mesa-dri")
include(CPack)

# What `cmake --install` and the Debian package put where. The shipped data is installed
# read-only and only ever copied into a user's data root; help pages and the suit font are
# built into the program.
install(TARGETS cardwright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/cardwright
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        PATTERN "help" EXCLUDE)

set(cw_linux "${CMAKE_SOURCE_DIR}/packaging/linux")
set(cw_app_id org.cardwright.Cardwright)
install(FILES "${cw_linux}/${cw_app_id}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${cw_linux}/${cw_app_id}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${cw_linux}/${cw_app_id}.mime.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${cw_app_id}.xml)
install(FILES "${cw_linux}/icons/cardwright.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES "${cw_linux}/icons/cardwright-${size}.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME cardwright.png)
endforeach()
install(FILES "${cw_linux}/cardwright.bash-completion"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME cardwright)
install(FILES "${cw_linux}/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cardwright)

# The package's change log, compressed as Debian keeps it.
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/changelog.gz"
  COMMAND gzip -9 -n -c "${cw_linux}/changelog" > "${CMAKE_BINARY_DIR}/changelog.gz"
  DEPENDS "${cw_linux}/changelog")
add_custom_target(changelog ALL DEPENDS "${CMAKE_BINARY_DIR}/changelog.gz")
install(FILES "${CMAKE_BINARY_DIR}/changelog.gz" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cardwright)

# The manual page is made from the built program's own help texts.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/cardwright.1.gz"
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          ${Python3_EXECUTABLE} "${CMAKE_SOURCE_DIR}/tools/make_manpage.py"
          $<TARGET_FILE:cardwright> "${CMAKE_BINARY_DIR}/cardwright.1.gz"
  DEPENDS cardwright "${CMAKE_SOURCE_DIR}/tools/make_manpage.py"
  COMMENT "Writing the manual page from the program's help")
add_custom_target(manpage ALL DEPENDS "${CMAKE_BINARY_DIR}/cardwright.1.gz")
install(FILES "${CMAKE_BINARY_DIR}/cardwright.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME cardwright)
set(CPACK_PACKAGE_VENDOR "The Cardwright developers")
set(CPACK_PACKAGE_CONTACT "The Cardwright developers <cardwright@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fill in, lay out and print bridge convention cards")
set(CPACK_PACKAGE_DESCRIPTION
    "Cardwright keeps a bridge partnership's convention cards: the blank ACBL, SAYC, WBF and \
EBU cards and a club summary, filled in with text, suit symbols, ticks and circled items, \
printed at their real size or saved as pictures.")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://cardwright.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

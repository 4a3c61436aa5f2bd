# Installation into the standard places and the Debian package.
#   cmake --install build --prefix /usr        (or: cd build && cpack -G DEB)
# The programs go to bin; the keyboard data and the dictionaries to share/tarvellite, where the
# programs find them when they are not beside the executables.

include(GNUInstallDirs)

set(TARVELLITE_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/data/desktop)
foreach(program tarvellite tarvellite-cli tarvellite-ispell)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES ${TARVELLITE_PROGRAM_DIR}/Kbdentry.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvellite)
install(DIRECTORY ${TARVELLITE_PROGRAM_DIR}/DictionaryFiles
    DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvellite)
install(FILES ${TARVELLITE_DESKTOP_DIR}/tarvellite.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TARVELLITE_DESKTOP_DIR}/tarvellite-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tarvellite.xml)
install(DIRECTORY ${TARVELLITE_DESKTOP_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
foreach(page tarvellite.1 tarvellite-cli.1)
    install(FILES ${TARVELLITE_DESKTOP_DIR}/man/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${TARVELLITE_DESKTOP_DIR}/man/tarvellite-cli.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 RENAME tarvellite-ispell.1)

set(CPACK_PACKAGE_NAME tarvellite)
set(CPACK_PACKAGE_VENDOR "Orvani Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Word processor for Indian-language text")
set(CPACK_PACKAGE_DESCRIPTION
    "Type Tamil, Hindi, Kannada, Telugu, Malayalam, Sinhala or English on an ordinary keyboard \
through typewriter and phonetic layouts, with a look-ahead word list, an on-screen keyboard, spell \
checking, legacy TAM/TAB Tamil conversion and documents in its own format, RTF and plain text.")
set(CPACK_PACKAGE_CONTACT "Orvani Software <support@orvani.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt, ICU and X11 libraries the programs link are found by dpkg-shlibdeps; the fonts that
# show the scripts come with them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
include(CPack)

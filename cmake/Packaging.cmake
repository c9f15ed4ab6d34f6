# What `make install` puts under the prefix and what `make package` wraps into a Debian
# package: the program, its desktop entry, the icon in the hicolor theme, the manual page and
# the AppStream metadata.

include(GNUInstallDirs)

# The AppStream id is reverse DNS. The project owns no domain yet, so the default sits under
# the reserved "example" name; a distributor sets the real one here.
set(PIVEX_APP_ID "example.pivex.Pivex" CACHE STRING "AppStream component id (reverse DNS)")
set(PIVEX_MAINTAINER "Pivex maintainers <maintainers@users.noreply.c-seed-d28ab9e2.example>"
    CACHE STRING "Maintainer of the Debian package: Name <address>")

install(TARGETS pivex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/pivex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(side 16 24 32 48 64 128 256)
    install(FILES resources/icons/hicolor/${side}x${side}/apps/pivex.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
endforeach()
install(FILES resources/icons/hicolor/scalable/apps/pivex.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

configure_file(resources/pivex.metainfo.xml.in ${PIVEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${PIVEX_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual page and changelog go in compressed, reproducibly (no name, no time stamp), as
# Debian's tools expect them.
configure_file(resources/pivex.1 pivex.1 @ONLY)
configure_file(resources/debian/changelog.in changelog @ONLY)
foreach(document pivex.1 changelog)
    add_custom_command(OUTPUT ${document}.gz
        COMMAND gzip -9nf -k ${document}
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${document}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        VERBATIM)
endforeach()
add_custom_target(pivex_documents ALL DEPENDS pivex.1.gz changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/pivex.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz resources/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pivex)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pivex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor for growing Japanese log files")
# One string, broken into the short lines the package's control file wants.
set(CPACK_PACKAGE_DESCRIPTION "\
Pivex follows up to eleven text files that other programs append to and\n\
shows what they add in one scrolling window on a polling timer, with a\n\
Japanese user interface. The files are logs in Shift_JIS or EUC-JP. A grep\n\
mode shows only new lines holding a keyword. Pivex never writes to a\n\
watched file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # pivex_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PIVEX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Japanese glyphs for the view and the dialogs, and Qt's own dialogs in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-japanese-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# What `cmake --install` puts where, and the Debian package CPack makes of it.
#
#   bin/zantoro                                   the program
#   share/zantoro/Zantoro.mdb                     the delivered database, as a template
#   share/zantoro/reports/*.report                the delivered report files
#   share/applications/org.zantoro.Zantoro.desktop
#   share/icons/hicolor/{scalable,NxN}/apps/org.zantoro.Zantoro.{svg,png}
#   share/metainfo/org.zantoro.Zantoro.metainfo.xml

include(GNUInstallDirs)

set(ZANTORO_APP_ID org.zantoro.Zantoro)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)

# The template is made by the build from db/, exactly as the tests make theirs,
# with the report files beside it as they are installed: the program run from
# its build tree finds them there (ZANTORO_BUILD_SHARE).
set(ZANTORO_SHARE ${CMAKE_BINARY_DIR}/share/zantoro)
set(ZANTORO_TEMPLATE ${ZANTORO_SHARE}/Zantoro.mdb)
file(GLOB delivered_reports CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/db/reports/*)
add_custom_command(
    OUTPUT ${ZANTORO_TEMPLATE}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZANTORO_TEMPLATE} ${ZANTORO_SHARE}/reports
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZANTORO_SHARE}/reports
    COMMAND ${CMAKE_COMMAND} -E copy ${delivered_reports} ${ZANTORO_SHARE}/reports
    COMMAND make_database ${ZANTORO_TEMPLATE} ${CMAKE_SOURCE_DIR}/db
    DEPENDS make_database ${CMAKE_SOURCE_DIR}/db/schema.sql ${CMAKE_SOURCE_DIR}/db/reports.sql
            ${delivered_reports}
    COMMENT "Making the delivered database template"
    VERBATIM)
add_custom_target(zantoro_template ALL DEPENDS ${ZANTORO_TEMPLATE})
target_compile_definitions(zantoro_shell PRIVATE ZANTORO_BUILD_SHARE="${ZANTORO_SHARE}")
add_dependencies(zantoro zantoro_template)

install(TARGETS zantoro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZANTORO_TEMPLATE} DESTINATION ${CMAKE_INSTALL_DATADIR}/zantoro)
install(FILES ${delivered_reports} DESTINATION ${CMAKE_INSTALL_DATADIR}/zantoro/reports)
install(FILES ${packaging}/${ZANTORO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${ZANTORO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/${ZANTORO_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${packaging}/icons/${ZANTORO_APP_ID}-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${ZANTORO_APP_ID}.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zantoro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Zantoro developers <zantoro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keep the cash and bank books of a small business")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the program links (Qt, SQLite) become the package's
# dependencies, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

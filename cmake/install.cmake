# Installing Korvane and packaging it for Debian.
#
# The translations and the Chinese conversion tables are compiled into the executable as Qt
# resources, so an installed korvane finds them wherever PREFIX puts it: only the programs,
# the plug-ins, the desktop entry, Dolphin's service menu, icons, AppStream metainfo,
# notices, the manual page and the user guide are installed.
include(GNUInstallDirs)

set(KORVANE_APP_ID com.korvane.Korvane)
set(KORVANE_RELEASE_DATE 2026-12-06 CACHE STRING "Release date of this version, for the AppStream metainfo")
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

configure_file(${desktop_dir}/${KORVANE_APP_ID}.metainfo.xml
    ${PROJECT_BINARY_DIR}/${KORVANE_APP_ID}.metainfo.xml @ONLY)

install(TARGETS korvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The tray program and the plug-ins are found from the command as ../lib/korvane, whatever
# the system's own library folder is called.
install(TARGETS korvanedesktop RUNTIME DESTINATION lib/korvane)
install(TARGETS korvaneimage korvanejpeg korvanenetwork korvaneocrtesseract LIBRARY DESTINATION lib/korvane)
install(FILES ${desktop_dir}/${KORVANE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Dolphin's "Send to Korvane" (KDE Frameworks 5.85 and later read service menus here). Dolphin
# refuses a service menu outside the system folders unless it is executable or owned by root,
# which a user's own install (PREFIX=~/.local) is not.
install(PROGRAMS ${desktop_dir}/${KORVANE_APP_ID}.sendto.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus)
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/appIcon.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${KORVANE_APP_ID}.svg)
# The tray glyph and its animation frames as symbolic icons, which StatusNotifier panels
# colour for their theme.
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/menubarIcon.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps RENAME ${KORVANE_APP_ID}-tray-symbolic.svg)
foreach(frame RANGE 1 13)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/frames/${frame}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps RENAME ${KORVANE_APP_ID}-tray-${frame}-symbolic.svg)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/${KORVANE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/NOTICE ${KORVANE_DOC_BUILD_DIR}/guide.html
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${KORVANE_DOC_BUILD_DIR}/screenshots DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${KORVANE_DOC_BUILD_DIR}/korvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# GIO finds an application for a file type through the applications folder's mimeinfo.cache,
# and GTK reads icons faster through the theme's cache: both are refreshed after a direct
# install. A staged install (DESTDIR) leaves them to whoever installs the stage; the package
# gets them from the dpkg triggers of desktop-file-utils and hicolor-icon-theme. A tool that
# is missing or fails costs only the cache, so it warns and the install stands.
install(CODE "set(korvane_datadir \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
        foreach(step "update-desktop-database;-q;applications" "gtk-update-icon-cache;-q;-t;-f;icons/hicolor")
            list(POP_FRONT step tool)
            list(POP_BACK step folder)
            find_program(korvane_cache_tool_${tool} ${tool})
            set(program "${korvane_cache_tool_${tool}}")
            if(program)
                set(path "${CMAKE_INSTALL_PREFIX}/${korvane_datadir}/${folder}")
                execute_process(COMMAND "${program}" ${step} "${path}" RESULT_VARIABLE status ERROR_VARIABLE errors)
                if(NOT status EQUAL 0)
                    message(WARNING "${tool} ${path} failed (${status}): ${errors}")
                endif()
            endif()
        endforeach()
    endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "The Korvane developers")
set(CPACK_PACKAGE_CONTACT "The Korvane developers <korvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Drop utility: run actions on what you drop on the tray icon")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane lives in the system tray. Drag files, images or text onto its icon, click it or press\n"
    "its hotkey to take the clipboard, and run one of your configured actions on them: translate,\n"
    "convert, compress, rename, copy, upload and more. Every action is also scriptable from the\n"
    "command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plug-ins Qt opens at run time, which dpkg-shlibdeps cannot see: the store's SQLite driver
# and the SVG renderer of the tray and action icons. The package is whichever holds the
# plug-in on the building system: Debian 13 moved the SVG ones from libqt6svg6 to
# qt6-svg-plugins.
set(korvane_plugin_packages)
foreach(plugin sqldrivers/libqsqlite.so imageformats/libqsvg.so iconengines/libqsvgicon.so)
    execute_process(COMMAND dpkg-query --search ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin}
        OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
    if(failed)
        message(WARNING "No installed package holds Qt's ${plugin}; the Debian package will not depend on it")
    else()
        string(REGEX REPLACE "[:,].*" "" owner "${owner}")
        list(APPEND korvane_plugin_packages ${owner})
    endif()
endforeach()
list(REMOVE_DUPLICATES korvane_plugin_packages)
list(JOIN korvane_plugin_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# wl-copy takes the clipboard for Korvane on Wayland, where only a focused client may.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, wl-clipboard")
include(CPack)

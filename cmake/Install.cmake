# Installing Pinroute (cmake --install), its Debian package (cpack -G DEB) and the checks of
# both. Included at the end of CMakeLists.txt, once every target exists.
include(GNUInstallDirs)

# The date of the release that PROJECT_VERSION names; the desktop metadata carries both.
set(PINROUTE_RELEASE_DATE 2026-12-07)

# The icon theme's pictures, drawn at build time by the program's own icon code.
add_executable(render_app_icon tools/RenderAppIcon.cpp)
target_link_libraries(render_app_icon PRIVATE pinroute_gui)
set(PINROUTE_ICON_SIZES 16 24 32 48 64 128 256)
set(PINROUTE_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(PINROUTE_ICON_PNGS)
foreach(size IN LISTS PINROUTE_ICON_SIZES)
    list(APPEND PINROUTE_ICON_PNGS ${PINROUTE_ICON_DIR}/${size}x${size}/apps/org.pinroute.Pinroute.png)
endforeach()
add_custom_command(
    OUTPUT ${PINROUTE_ICON_PNGS}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:render_app_icon> ${PINROUTE_ICON_DIR} ${PINROUTE_ICON_SIZES}
    DEPENDS render_app_icon
    COMMENT "Drawing the application icon for the icon theme"
    VERBATIM)
add_custom_target(pinroute_icons ALL DEPENDS ${PINROUTE_ICON_PNGS})

configure_file(data/org.pinroute.Pinroute.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/org.pinroute.Pinroute.metainfo.xml @ONLY)

# What is installed.
install(TARGETS pinroute RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pinroute-cli)
    install(TARGETS pinroute-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The manual pages: the window's, and the terminal tool's when it is built. A page's title
# line names the version: the installed page names this build's.
set(PINROUTE_MAN_PAGES gui/pinroute.1)
if(TARGET pinroute-cli)
    list(APPEND PINROUTE_MAN_PAGES cli/pinroute-cli.1)
endif()
foreach(page IN LISTS PINROUTE_MAN_PAGES)
    get_filename_component(pageName ${page} NAME)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
    file(READ ${page} manPage)
    string(REGEX REPLACE "(\\.TH [^\n]*\"Pinroute )[0-9.]+\"" "\\1${PINROUTE_DISPLAY_VERSION}\""
        manPage "${manPage}")
    file(WRITE ${CMAKE_BINARY_DIR}/man/${pageName} "${manPage}")
    # Installed compressed, as Debian's policy asks; -n keeps the archive free of a date.
    execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${pageName} RESULT_VARIABLE gzipStatus)
    if(NOT gzipStatus EQUAL 0)
        message(FATAL_ERROR "gzip could not compress the manual page ${pageName}")
    endif()
    install(FILES ${CMAKE_BINARY_DIR}/man/${pageName}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The program looks for its help in ../share/pinroute/ from its own folder.
install(FILES ${HELP_QHC} ${HELP_QCH} DESTINATION ${CMAKE_INSTALL_DATADIR}/pinroute)
install(FILES data/org.pinroute.Pinroute.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/org.pinroute.Pinroute.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/org.pinroute.Pinroute.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PINROUTE_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
# A machine-readable copyright file (the licence of the program and of the map's Leaflet),
# and the changelog of a native package, compressed.
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pinroute)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS data/changelog.in)
configure_file(data/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/doc/changelog RESULT_VARIABLE gzipStatus)
if(NOT gzipStatus EQUAL 0)
    message(FATAL_ERROR "gzip could not compress the changelog")
endif()
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pinroute)

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pinroute)
set(CPACK_PACKAGE_VERSION ${PINROUTE_DISPLAY_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pinroute developers")
set(CPACK_PACKAGE_CONTACT "The Pinroute developers <help@pinroute.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo geotagger using GPS tracks")
# Lines of at most 79 characters, as lintian checks.
set(CPACK_PACKAGE_DESCRIPTION
    "Pinroute writes the position of the nearest GPS track point into the EXIF\n\
data of photos (JPEG, TIFF, PNG, WebP, HEIC/HEIF and the RAW kinds DNG, NEF,\n\
ARW, PEF, CR2, CRW, CR3, RW2 and ORF, some through XMP sidecars), lists their\n\
dates and positions (also as OSGB grid references) and renames them after\n\
both. It reads tracks from GPX, KML, KMZ, NMEA 0183, Garmin TCX, IGC, FIT and\n\
CSV files and from Google location history. Every change is journalled and\n\
can be undone. It has a window with a map (pinroute) and a terminal tool\n\
(pinroute-cli).")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)   # the debug information stays in the build folder
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pinroute.org)
# The libraries come from dpkg-shlibdeps; these are what it can't see: the exiv2 tool the
# program runs, the SQLite driver that Qt Help opens its files with, and Qt's platform
# plugins that show the window.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "exiv2, libqt6sql6-sqlite, qt6-qpa-plugins")
if(PINROUTE_MAP)
    # The map's page runs in QtWebEngine's helper process, which no library links (Leaflet is built in).
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6webenginecore6-bin")
endif()
include(CPack)

# Checks of the installed tree: installed once into a scratch DESTDIR, then examined.
set(PINROUTE_INSTALL_CHECK ${CMAKE_SOURCE_DIR}/tests/install/install-check.sh)
# Outside the build tree: part of the checks runs as another user, who must be able to reach
# the installed files even when the clone sits in a private folder (mktemp -d makes 0700).
string(MD5 PINROUTE_BUILD_HASH "${CMAKE_BINARY_DIR}")
string(SUBSTRING ${PINROUTE_BUILD_HASH} 0 12 PINROUTE_BUILD_HASH)
set(PINROUTE_INSTALL_ROOT /tmp/pinroute-install-check-${PINROUTE_BUILD_HASH})
add_test(NAME install.tree
    COMMAND ${PINROUTE_INSTALL_CHECK} install ${PINROUTE_INSTALL_ROOT} ${CMAKE_BINARY_DIR})
set_tests_properties(install.tree PROPERTIES FIXTURES_SETUP installed RESOURCE_LOCK install-check)
add_test(NAME install.files COMMAND ${PINROUTE_INSTALL_CHECK} files ${PINROUTE_INSTALL_ROOT})
add_test(NAME install.cli
    COMMAND ${PINROUTE_INSTALL_CHECK} cli ${PINROUTE_INSTALL_ROOT} ${CMAKE_SOURCE_DIR})
add_executable(help_probe tests/install/HelpProbe.cpp)
target_link_libraries(help_probe PRIVATE pinroute_gui)
add_test(NAME install.gui
    COMMAND ${PINROUTE_INSTALL_CHECK} gui ${PINROUTE_INSTALL_ROOT} $<TARGET_FILE:help_probe>)
add_test(NAME install.deb COMMAND ${PINROUTE_INSTALL_CHECK} deb ${PINROUTE_INSTALL_ROOT} ${CMAKE_BINARY_DIR})
set_tests_properties(install.deb PROPERTIES RESOURCE_LOCK install-check SKIP_RETURN_CODE 77)
set_tests_properties(install.files install.cli install.gui PROPERTIES
    FIXTURES_REQUIRED installed RESOURCE_LOCK install-check SKIP_RETURN_CODE 77)

find_package(Qt6 COMPONENTS Svg)
if(TARGET Qt6::Svg)
    add_executable(icon_tests tests/install/IconTest.cpp)
    target_link_libraries(icon_tests PRIVATE pinroute_gui Qt6::Svg GTest::gtest)
    add_dependencies(icon_tests pinroute_icons)
    target_compile_definitions(icon_tests PRIVATE
        PINROUTE_ICON_SVG="${CMAKE_SOURCE_DIR}/data/org.pinroute.Pinroute.svg"
        PINROUTE_ICON_PNG_DIR="${PINROUTE_ICON_DIR}")
    gtest_discover_tests(icon_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
else()
    message(STATUS "Qt6 Svg not found (qt6-svg-dev): the icon checks are left out")
endif()

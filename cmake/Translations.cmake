# The window's translations. lupdate reads the marked texts (tr() in gui/, QT_TRANSLATE_NOOP
# in the core) into translations/pinroute_LANG.ts (`cmake --build build --target
# update_translations`); lrelease compiles each into build/translations/pinroute_LANG.qm, where
# the program finds them when run from the build folder; installed, from
# share/pinroute/translations. scripts/check-translations.sh reads the same folders.
include(GNUInstallDirs)
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
set(PINROUTE_TS_FILES ${CMAKE_SOURCE_DIR}/translations/pinroute_de.ts ${CMAKE_SOURCE_DIR}/translations/pinroute_fr.ts)
# What lupdate reads is every source of the core and the window, headers too (some mark
# texts), found by folder so that a new file is never left out of the catalogues.
set(PINROUTE_TRANSLATED_FOLDERS common coords settings track exif photos journal run undo geotag parse gui)
set(PINROUTE_TRANSLATED_SOURCES)
foreach(folder ${PINROUTE_TRANSLATED_FOLDERS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(APPEND PINROUTE_TRANSLATED_SOURCES ${found})
endforeach()
set_source_files_properties(${PINROUTE_TS_FILES} PROPERTIES OUTPUT_LOCATION ${CMAKE_BINARY_DIR}/translations)
qt6_add_translations(pinroute TS_FILES ${PINROUTE_TS_FILES} SOURCES ${PINROUTE_TRANSLATED_SOURCES}
    LUPDATE_OPTIONS -locations none -no-obsolete
    QM_FILES_OUTPUT_VARIABLE PINROUTE_QM_FILES)
add_dependencies(gui_tests pinroute_lrelease)
install(FILES ${PINROUTE_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/pinroute/translations)

# The window's test of a pseudo-translation builds its catalogue with these tools.
get_target_property(PINROUTE_LRELEASE Qt6::lrelease IMPORTED_LOCATION)
target_compile_definitions(gui_tests PRIVATE PINROUTE_LRELEASE="${PINROUTE_LRELEASE}"
    PINROUTE_TS_DE="${CMAKE_SOURCE_DIR}/translations/pinroute_de.ts")

# CI fails when a marked text is missing from a catalogue or not yet translated there.
add_test(NAME translations.complete COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-translations.sh)

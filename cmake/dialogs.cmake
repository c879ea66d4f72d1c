# dialogs: the Set-up dialog, the help launcher and viewer, the About box; and the manual
target_sources(pinroute_gui PRIVATE
    settings/SetupDialog.cpp settings/SetupDialog.h
    settings/FolderBrowser.cpp settings/FolderBrowser.h
    help/HelpLauncher.cpp help/HelpLauncher.h
    help/HelpViewer.cpp help/HelpViewer.h
    help/AboutDialog.cpp help/AboutDialog.h
    help/LinkEdit.cpp help/LinkEdit.h)
target_sources(gui_tests PRIVATE tests/gui/SetupDialogTest.cpp tests/gui/HelpLauncherTest.cpp
    tests/gui/AboutDialogTest.cpp)

# The manual, compiled into a Qt help collection beside the program:
# build/pinroute.qhc (what the program opens) registers build/pinroute.qch (the pages).
find_program(QHELPGENERATOR qhelpgenerator
    HINTS /usr/lib/qt6/libexec /usr/lib/x86_64-linux-gnu/qt6/libexec /usr/lib/qt6/bin
    REQUIRED)
set(MANUAL_DIR ${CMAKE_SOURCE_DIR}/help/manual)
set(MANUAL_SOURCES ${MANUAL_DIR}/pinroute.qhp ${MANUAL_DIR}/pinroute.html
    ${MANUAL_DIR}/pinroute.css)
set(HELP_QCH ${CMAKE_BINARY_DIR}/pinroute.qch)
set(HELP_QHC ${CMAKE_BINARY_DIR}/pinroute.qhc)
# The collection project names the .qch without a folder: it must sit beside it.
configure_file(${MANUAL_DIR}/pinroute.qhcp ${CMAKE_BINARY_DIR}/help-build/pinroute.qhcp COPYONLY)
add_custom_command(
    OUTPUT ${HELP_QCH} ${HELP_QHC}
    COMMAND ${QHELPGENERATOR} ${MANUAL_DIR}/pinroute.qhp -o ${HELP_QCH}
    COMMAND ${CMAKE_COMMAND} -E copy ${HELP_QCH} ${CMAKE_BINARY_DIR}/help-build/pinroute.qch
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/help-build/pinroute.qhc
    COMMAND ${QHELPGENERATOR} ${CMAKE_BINARY_DIR}/help-build/pinroute.qhcp
            -o ${CMAKE_BINARY_DIR}/help-build/pinroute.qhc
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/help-build/pinroute.qhc ${HELP_QHC}
    DEPENDS ${MANUAL_SOURCES} ${MANUAL_DIR}/pinroute.qhcp
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/help-build
    COMMENT "Compiling the help file pinroute.qhc"
    VERBATIM)
add_custom_target(pinroute_help ALL DEPENDS ${HELP_QCH} ${HELP_QHC})
add_dependencies(pinroute pinroute_help)
add_dependencies(gui_tests pinroute_help)
# The help tests copy the compiled help file beside a stand-in executable.
target_compile_definitions(gui_tests PRIVATE PINROUTE_HELP_DIR="${CMAKE_BINARY_DIR}")

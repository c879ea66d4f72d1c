# program: the photo list, the GeoTag and Parse runs, the main window and the program's tools
target_sources(pinroute_core PRIVATE app/PhotoList.cpp app/FolderListing.cpp app/RunFeedback.h
    geotag/GeoTagRun.cpp parse/ParseRun.cpp)
target_sources(pinroute_gui PRIVATE app/MainDialog.cpp app/MainDialog.h app/Icons.cpp
    app/DialogUnits.h app/PhotoListView.cpp app/PhotoListView.h
    app/QtMessageBoxes.cpp app/QtMessageBoxes.h)
target_sources(core_tests PRIVATE tests/core/PhotoListTest.cpp tests/core/GeoTagRunTest.cpp
    tests/core/ParseRunTest.cpp)
target_sources(gui_tests PRIVATE tests/gui/MainDialogTest.cpp)

# Developer tools, built on request: the example set and the README's screenshot.
add_executable(make_examples EXCLUDE_FROM_ALL tools/MakeExamples.cpp)
target_link_libraries(make_examples PRIVATE Qt6::Gui)
add_executable(pinroute_screenshot EXCLUDE_FROM_ALL tools/Screenshot.cpp)
target_link_libraries(pinroute_screenshot PRIVATE pinroute_gui)

# dialogs: sources and tests of this subsystem
target_sources(pinroute_gui PRIVATE settings/SetupDialog.cpp settings/SetupDialog.h
    help/AboutDialog.cpp help/AboutDialog.h)

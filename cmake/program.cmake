# program: sources and tests of this subsystem
target_sources(pinroute_core PRIVATE app/PhotoList.cpp)
target_sources(pinroute_gui PRIVATE app/MainDialog.cpp app/MainDialog.h app/Icons.cpp app/DialogUnits.h)

# coords: sources and tests of this subsystem
target_sources(pinroute_core PRIVATE coords/PositionFormatter.cpp coords/OsgbConverter.cpp
    parse/RenamePhoto.cpp)
target_sources(core_tests PRIVATE tests/core/PositionTest.cpp tests/core/RenamePhotoTest.cpp)

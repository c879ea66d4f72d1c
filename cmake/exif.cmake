# exif: sources and tests of this subsystem
target_sources(pinroute_core PRIVATE exif/ChildProcess.cpp exif/ExifListing.cpp exif/GpsTagWriter.cpp)
target_sources(core_tests PRIVATE tests/core/ChildProcessTest.cpp tests/core/ExifListingTest.cpp
    tests/core/GpsTagWriterTest.cpp)

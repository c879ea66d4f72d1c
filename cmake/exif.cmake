# exif: sources and tests of this subsystem
target_sources(pinroute_core PRIVATE exif/ChildProcess.cpp exif/ExifListing.cpp exif/GpsTagWriter.cpp)
target_sources(core_tests PRIVATE tests/core/ChildProcessTest.cpp tests/core/ExifListingTest.cpp
    tests/core/GpsTagWriterTest.cpp)

# A small program that tests start as a child, to see what the child sees.
add_executable(child_probe tests/helpers/ChildProbe.cpp)
target_link_libraries(child_probe PRIVATE pinroute_core)
add_dependencies(core_tests child_probe)
target_compile_definitions(core_tests PRIVATE CHILD_PROBE_PATH="$<TARGET_FILE:child_probe>")

# track: sources and tests of this subsystem
target_sources(pinroute_core PRIVATE track/Timestamps.cpp track/Gpx.cpp)
target_sources(core_tests PRIVATE tests/core/TimestampsTest.cpp tests/core/GpxTest.cpp)

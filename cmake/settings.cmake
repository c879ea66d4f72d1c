# settings: sources and tests of this subsystem
target_sources(pinroute_core PRIVATE settings/Settings.cpp settings/IniFile.cpp
    help/Messages.cpp help/ModulePath.cpp help/VersionInfo.cpp)
target_sources(core_tests PRIVATE tests/core/SettingsTest.cpp tests/core/IniFileTest.cpp
    tests/core/ModulePathTest.cpp tests/core/VersionInfoTest.cpp)

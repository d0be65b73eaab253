# The CMake package: a student's project says find_package(KV318) and links
# KV318::kv318 (real windows) or, with the stand-in, KV318::kv318-headless.
include(CMakePackageConfigHelpers)
set(KV318_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KV318)
# The package finds the prefix from where it lies, so an installed tree can move.
file(RELATIVE_PATH CONFIG_TO_PREFIX /prefix/${KV318_CONFIG_DIR} /prefix)
set(KV318_WITH_SDL OFF)
if(TARGET kv318_sdl_main)
  set(KV318_WITH_SDL ON)
endif()
configure_file(KV318Config.cmake.in KV318Config.cmake @ONLY)
write_basic_package_version_file(KV318ConfigVersion.cmake VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KV318Config.cmake ${CMAKE_CURRENT_BINARY_DIR}/KV318ConfigVersion.cmake
        DESTINATION ${KV318_CONFIG_DIR})

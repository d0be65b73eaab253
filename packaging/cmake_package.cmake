# The CMake package: KV318Config.cmake finds what the libraries need and
# includes the targets this build exports (KV318Targets.cmake).
include(CMakePackageConfigHelpers)
set(KV318_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KV318)
install(EXPORT KV318Targets NAMESPACE KV318:: DESTINATION ${KV318_CONFIG_DIR})
set(KV318_WITH_SDL OFF)
if(TARGET kv318_sdl)
  set(KV318_WITH_SDL ON)
endif()
configure_package_config_file(KV318Config.cmake.in KV318Config.cmake INSTALL_DESTINATION ${KV318_CONFIG_DIR})
write_basic_package_version_file(KV318ConfigVersion.cmake VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KV318Config.cmake ${CMAKE_CURRENT_BINARY_DIR}/KV318ConfigVersion.cmake
        DESTINATION ${KV318_CONFIG_DIR})
if(WIN32)
  install(FILES KV318WindowsChecks.cmake DESTINATION ${KV318_CONFIG_DIR})
endif()

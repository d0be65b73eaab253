# KV318 for Windows has no headless runner: KV318::kv318-headless is Linux's.
# A project written for both (one program for real windows, one headless)
# that links it unguarded is told so, and what to do, at the end of its
# configuration, instead of CMake's "target was not found" when it generates.
function(_kv318_targets_of directory out)
  get_property(targets DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY "${directory}" PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    _kv318_targets_of("${subdirectory}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(_kv318_refuse_headless_on_windows)
  _kv318_targets_of("${CMAKE_SOURCE_DIR}" targets)
  foreach(target IN LISTS targets)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if("KV318::kv318-headless" IN_LIST libraries OR "KV318::kv318-headless" IN_LIST interface)
      message(FATAL_ERROR
        "KV318::kv318-headless is not part of KV318 for Windows: the headless runner runs on Linux only. "
        "Target \"${target}\" links it. On Windows link KV318::kv318 (real windows), or build that target "
        "only where the runner is: if(TARGET KV318::kv318-headless) ... endif().")
    endif()
  endforeach()
endfunction()

get_property(_kv318_check_scheduled GLOBAL PROPERTY _KV318_HEADLESS_CHECK_SCHEDULED)
if(NOT _kv318_check_scheduled)
  set_property(GLOBAL PROPERTY _KV318_HEADLESS_CHECK_SCHEDULED TRUE)
  cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _kv318_refuse_headless_on_windows)
endif()

# The pkg-config modules, for a program built with one compiler command:
#   gcc game.c $(pkg-config --cflags --libs kv318-headless) -o game
# Each names the start unit its display needs as an object (so a program with
# its own main gets its display on its first call), then the libraries in link order.
set(PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
# The modules find the prefix from where they lie, so an installed tree can move.
file(RELATIVE_PATH PC_TO_PREFIX /prefix/${PKGCONFIG_DIR} /prefix)
# Where install(TARGETS ... OBJECTS) puts the start units, from the library directory.
file(RELATIVE_PATH objects_dir /prefix/${CMAKE_INSTALL_LIBDIR} /prefix/${KV318_OBJECTS_DIR})
if(CMAKE_BUILD_TYPE)
  string(APPEND objects_dir /objects-${CMAKE_BUILD_TYPE})
else()
  string(APPEND objects_dir /objects)
endif()

# -lNAME for each library target, in the order given.
function(kv318_link_flags out)
  set(flags "")
  foreach(library ${ARGN})
    get_target_property(name ${library} OUTPUT_NAME)
    if(NOT name)
      set(name ${library})
    endif()
    string(APPEND flags " -l${name}")
  endforeach()
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

# pkg-config module NAME: its description, Requires line, start unit (its object
# library and source) and the host's libraries before the toolkit's.
function(kv318_pkg_config module description requires start_target start_source)
  set(PC_DESCRIPTION "${description}")
  set(PC_REQUIRES "${requires}")
  kv318_link_flags(libraries ${ARGN} kv318_toolkit ${KV318_STAND_IN_LIBRARIES})
  list(TRANSFORM KV318_CXX_RUNTIME PREPEND -l OUTPUT_VARIABLE runtime)
  list(JOIN runtime " " runtime)
  set(PC_LIBS "\${libdir}/${objects_dir}/${start_target}/${start_source}.o${libraries} ${runtime}")
  # A sanitized toolkit needs its sanitizers' runtimes in every program that links it.
  if(VORKAN_SANITIZE)
    string(APPEND PC_LIBS " -fsanitize=address,undefined")
  endif()
  configure_file(kv318.pc.in ${module}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${module}.pc DESTINATION ${PKGCONFIG_DIR})
endfunction()

kv318_pkg_config(kv318-headless
  "KV318 graphics toolkit: a program (main or WinMain) on the headless display, with the headless runner's options"
  "freetype2 libpng" kv318_headless_start headless_start.cpp
  kv318_headless kv318_host_common vk_display_headless vk_png)
if(TARGET kv318_sdl)
  kv318_pkg_config(kv318 "KV318 graphics toolkit: a program (main or WinMain) in real windows (SDL2)"
    "sdl2 freetype2 libpng" kv318_sdl_start sdl_first_use.cpp
    kv318_sdl kv318_host_common vk_display_sdl)
endif()

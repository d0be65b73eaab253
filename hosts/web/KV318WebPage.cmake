# kv318_add_web_page(): a KV318 program as a web page, for a project built
# with emscripten (emcmake cmake, or the toolchain file):
#
#   find_package(KV318 REQUIRED)                  # or inside the Vorkan build itself
#   add_executable(game game.c)                   # main or WinMain, C or C++
#   target_link_libraries(game PRIVATE KV318::kv318)
#   kv318_add_web_page(game TITLE "Catch the star" ABOUT "Click the falling star.")
#
# makes a folder ready to be served (OUTPUT_DIRECTORY, by default
# <build>/<target>-page): index.html, the page's script, the program's .js,
# .wasm and .data (the toolkit's fonts) and any FILES named (scripts for
# ?play=NAME, pictures). Options:
#   OUTPUT_DIRECTORY dir  where the page goes
#   TITLE text            the page's heading and title (default: the target's name)
#   ABOUT text            one sentence under the heading (default: a general one)
#   ABOUT_FILE file       an HTML fragment to use instead of ABOUT
#   HELP_FILE file        an HTML fragment added to the page's help section
#   FILES file...         copied beside index.html
#
# Where the page's template and fonts are: set by the including project (the
# Vorkan build, or KV318Config.cmake from the installed package).
set_property(GLOBAL PROPERTY KV318_WEB_PAGE_DIR "${KV318_WEB_PAGE_DIR}")
set_property(GLOBAL PROPERTY KV318_WEB_FONTS "${KV318_WEB_FONTS}")
set_property(GLOBAL PROPERTY KV318_WEB_PAGE_DEPENDS "${KV318_WEB_PAGE_DEPENDS}")

# `text` with &, <, > and " written as HTML entities.
function(_kv318_html_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(kv318_add_web_page target)
  cmake_parse_arguments(PARSE_ARGV 1 page "" "OUTPUT_DIRECTORY;TITLE;ABOUT;ABOUT_FILE;HELP_FILE" "FILES")
  get_property(template_dir GLOBAL PROPERTY KV318_WEB_PAGE_DIR)
  get_property(fonts GLOBAL PROPERTY KV318_WEB_FONTS)
  get_property(depends GLOBAL PROPERTY KV318_WEB_PAGE_DEPENDS)
  if(NOT page_OUTPUT_DIRECTORY)
    set(page_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target}-page)
  endif()
  if(NOT page_TITLE)
    set(page_TITLE ${target})
  endif()
  get_target_property(program ${target} OUTPUT_NAME)
  if(NOT program)
    set(program ${target})
  endif()

  # The program: its .js beside the page, the fonts at /fonts in its file system.
  set_target_properties(${target} PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${page_OUTPUT_DIRECTORY}
                                             LINK_DEPENDS "${fonts}")
  foreach(font ${fonts})
    get_filename_component(name ${font} NAME)
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${font}@/fonts/${name}")
  endforeach()
  target_link_options(${target} PRIVATE "SHELL:-s ALLOW_MEMORY_GROWTH=1" "SHELL:-s EXIT_RUNTIME=1"
                                        "SHELL:-s EXPORTED_RUNTIME_METHODS=['FS']")
  if(depends)
    add_dependencies(${target} ${depends})
  endif()

  # The page around it.
  _kv318_html_escape(KV318_PAGE_TITLE "${page_TITLE}")
  if(page_ABOUT_FILE)
    file(READ ${page_ABOUT_FILE} KV318_PAGE_ABOUT)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page_ABOUT_FILE})
  elseif(page_ABOUT)
    _kv318_html_escape(KV318_PAGE_ABOUT "${page_ABOUT}")
  else()
    set(KV318_PAGE_ABOUT "A program written with the KV318 toolkit, running in your browser.")
  endif()
  set(KV318_PAGE_HELP "")
  if(page_HELP_FILE)
    file(READ ${page_HELP_FILE} KV318_PAGE_HELP)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page_HELP_FILE})
  endif()
  set(KV318_PAGE_PROGRAM ${program})
  configure_file(${template_dir}/index.html.in ${page_OUTPUT_DIRECTORY}/index.html @ONLY)
  configure_file(${template_dir}/kv318_page.js ${page_OUTPUT_DIRECTORY}/kv318_page.js COPYONLY)
  foreach(file ${page_FILES})
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${page_OUTPUT_DIRECTORY}/${name} COPYONLY)
  endforeach()
endfunction()

# Installs a KV318 build into a fresh prefix, then builds a student's program
# through find_package(KV318) and runs it.
#   cmake -DBUILD_DIR=... -DGAME_SOURCE=... -DWORK_DIR=... [-DSCRIPT=clicks.scr]
#         [-DTOOLCHAIN=file] [-DEXTRA_FLAGS=...] [-DOWN_MAIN_SOURCE=... -DOWN_MAIN_SCRIPT=... -DOWN_MAIN_LOG=...]
#         -P find_package_test.cmake
# Without TOOLCHAIN the headless program plays SCRIPT and must log its first
# circle, and the windowed one, started without a display, must end with status 1.
# OWN_MAIN_SOURCE is a program with its own main (in C), built the same way and in
# a project of C alone (student_c); headless both play OWN_MAIN_SCRIPT and must log
# exactly OWN_MAIN_LOG. With TOOLCHAIN the C project must build paint.exe, and
# must be refused, with a clear message, when it also names KV318::kv318-headless.
function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(build ${WORK_DIR}/build)
run_step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(configure ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/student -B ${build} -DCMAKE_PREFIX_PATH=${prefix}
              -DGAME_SOURCE=${GAME_SOURCE} -DOWN_MAIN_SOURCE=${OWN_MAIN_SOURCE} "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}"
              "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_C_FLAGS=${EXTRA_FLAGS}")
if(TOOLCHAIN)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
run_step("configure the student's project" ${configure})
run_step("build the student's project" ${CMAKE_COMMAND} --build ${build})

# The same program with its own main in a project of C alone.
set(c_build ${WORK_DIR}/build-c)
set(configure_c ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/student_c -B ${c_build} -DCMAKE_PREFIX_PATH=${prefix}
                "-DSOURCE=${OWN_MAIN_SOURCE}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_C_FLAGS=${EXTRA_FLAGS}")
if(TOOLCHAIN)
  list(APPEND configure_c -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
else()
  list(APPEND configure_c -DHEADLESS_TOO=ON)
endif()
if(OWN_MAIN_SOURCE)
  run_step("configure the student's C project" ${configure_c})
  run_step("build the student's C project" ${CMAKE_COMMAND} --build ${c_build})
endif()

if(TOOLCHAIN)
  # A project that also names the headless runner is told, for Windows, what to do instead.
  if(OWN_MAIN_SOURCE)
    execute_process(COMMAND ${configure_c} -DHEADLESS_TOO=ON -B ${WORK_DIR}/build-c-headless
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(status EQUAL 0 OR NOT err MATCHES "KV318::kv318-headless is not part of KV318 for Windows")
      message(FATAL_ERROR "naming KV318::kv318-headless for Windows gave (${status}):\n${out}\n${err}")
    endif()
    if(NOT EXISTS ${c_build}/paint.exe)
      message(FATAL_ERROR "the C project built no paint.exe")
    endif()
  endif()
  set(programs game)
  if(OWN_MAIN_SOURCE)
    list(APPEND programs ball)
  endif()
  foreach(program IN LISTS programs)
    if(NOT EXISTS ${build}/${program}.exe)
      message(FATAL_ERROR "no ${program}.exe was built")
    endif()
  endforeach()
else()
  run_step("run the headless program" ${build}/game-headless --play ${SCRIPT} --log -)
  if(NOT step_output MATCHES "Circle 2 at \\(")
    message(FATAL_ERROR "the headless program did not draw the first circle:\n${step_output}")
  endif()
  if(OWN_MAIN_SOURCE)
    run_step("run the headless program with its own main" ${build}/ball-headless --play ${OWN_MAIN_SCRIPT} --log -)
    file(READ ${OWN_MAIN_LOG} expected)
    if(NOT step_output STREQUAL expected)
      message(FATAL_ERROR "the program with its own main logged:\n${step_output}\nnot:\n${expected}")
    endif()
    run_step("run the C project's headless program" ${c_build}/paint-headless --play ${OWN_MAIN_SCRIPT} --log -)
    if(NOT step_output STREQUAL expected)
      message(FATAL_ERROR "the C project's program logged:\n${step_output}\nnot:\n${expected}")
    endif()
  endif()
  foreach(program game ball)
    if(EXISTS ${build}/${program})
      execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY ${build}/${program} RESULT_VARIABLE status
                      OUTPUT_QUIET ERROR_QUIET)
      if(NOT status EQUAL 1)
        message(FATAL_ERROR "the windowed ${program} without a display ended with ${status}, not 1")
      endif()
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "find_package(KV318): the student's program builds and runs")

# The scene program's drawing and animation routines, linked against a fake
# toolkit that records every call instead of drawing.
file(GLOB VORKAN_APP_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/app_units/*.cpp)
add_executable(test_app_units
  ${VORKAN_APP_UNIT_SOURCES}
  ${PROJECT_SOURCE_DIR}/app/animation.cpp
  ${PROJECT_SOURCE_DIR}/app/title_screen.cpp
  ${PROJECT_SOURCE_DIR}/app/scene.cpp
  ${PROJECT_SOURCE_DIR}/app/figures.cpp
  ${PROJECT_SOURCE_DIR}/app/panel.cpp
  ${PROJECT_SOURCE_DIR}/app/random.cpp
  ${PROJECT_SOURCE_DIR}/app/calendar.cpp)
target_include_directories(test_app_units PRIVATE
  ${PROJECT_SOURCE_DIR}/app
  ${PROJECT_SOURCE_DIR}/toolkit
  ${PROJECT_SOURCE_DIR}/platform/include)
target_link_libraries(test_app_units PRIVATE GTest::gtest_main)
gtest_discover_tests(test_app_units DISCOVERY_TIMEOUT 60)

# Helpers shared by the folders' CMakeLists.

# plinx_library(NAME DIR): a static library of every .cpp directly in DIR.
function(plinx_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${_src})
  target_link_libraries(${name} PUBLIC plinx_settings)
endfunction()

# plinx_tests(NAME LIBS...): one GoogleTest executable of tests/*.cpp, and, when
# tests/display/ exists, a second one NAME_display labelled `display` (needs a
# display or GL context; run under Xvfb). Display tests run one at a time: they share
# the one X server, where another test's window would take the keyboard focus.
function(plinx_tests name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(_src)
    add_executable(${name} ${_src})
    target_link_libraries(${name} PRIVATE ${ARGN} testkit testkit_main GTest::gtest GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 300 ENVIRONMENT "SDL_AUDIODRIVER=dummy")
  endif()
  file(GLOB _dsrc CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/display/*.cpp)
  if(_dsrc)
    add_executable(${name}_display ${_dsrc})
    target_link_libraries(${name}_display PRIVATE ${ARGN} testkit testkit_main GTest::gtest GTest::gmock)
    gtest_discover_tests(${name}_display DISCOVERY_TIMEOUT 60
                         PROPERTIES LABELS display TIMEOUT 300 RUN_SERIAL TRUE
                                    ENVIRONMENT "SDL_AUDIODRIVER=dummy")
  endif()
endfunction()

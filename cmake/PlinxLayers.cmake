# The layer check: at configure time every library and executable of the project is written
# with its direct links to PlinxLinks.txt in the build folder; the tests Layers.* run
# cmake/PlinxLayerCheck.cmake over that list, over the sources and over the rules' test
# program. Included last from the top-level CMakeLists, when every target exists.

function(_plinx_collect_targets dir out)
  get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(_sub ${_subdirs})
    _plinx_collect_targets(${_sub} _subTargets)
    list(APPEND _targets ${_subTargets})
  endforeach()
  set(${out} ${_targets} PARENT_SCOPE)
endfunction()

_plinx_collect_targets(${CMAKE_SOURCE_DIR} _plinxTargets)
set(_linkLines "")
foreach(_target ${_plinxTargets})
  get_target_property(_type ${_target} TYPE)
  if(_type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$")
    get_target_property(_links ${_target} LINK_LIBRARIES)
    if(NOT _links)
      set(_links "")
    endif()
    # One line per target: name, type and its direct links separated by commas.
    string(REPLACE ";" "," _links "${_links}")
    get_target_property(_sourceDir ${_target} SOURCE_DIR)
    file(RELATIVE_PATH _folder ${CMAKE_SOURCE_DIR} ${_sourceDir})
    string(APPEND _linkLines "${_target} ${_type} ${_folder} ${_links}\n")
  endif()
endforeach()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/PlinxLinks.txt CONTENT "${_linkLines}")

set(_check ${CMAKE_SOURCE_DIR}/cmake/PlinxLayerCheck.cmake)
add_test(NAME Layers.Links
         COMMAND ${CMAKE_COMMAND} -DCHECK=links -DLINKS=${CMAKE_BINARY_DIR}/PlinxLinks.txt -P ${_check})
add_test(NAME Layers.Includes
         COMMAND ${CMAKE_COMMAND} -DCHECK=includes -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -P ${_check})
if(TARGET game_tests)
  add_test(NAME Layers.HeadlessRules
           COMMAND ${CMAKE_COMMAND} -DCHECK=headless -DPROGRAM=$<TARGET_FILE:game_tests> -P ${_check})
endif()

# The check itself finds the faults planted in cmake/layer-faults (a link list and a small
# source tree): every expected line must appear, in order.
set(_faults ${CMAKE_SOURCE_DIR}/cmake/layer-faults)
add_test(NAME Layers.LinksCheckFindsFaults
         COMMAND ${CMAKE_COMMAND} -DCHECK=links -DLINKS=${_faults}/links.txt -P ${_check})
set_tests_properties(Layers.LinksCheckFindsFaults PROPERTIES PASS_REGULAR_EXPRESSION
    "eng links eng_program, a layer above it.*game links the test library testkit.*game links SDL2::SDL2: only the stand-ins.*Plinx_Launcher links app, a layer above it.*extra \\(extra\\) is in no layer")
add_test(NAME Layers.IncludesCheckFindsFaults
         COMMAND ${CMAKE_COMMAND} -DCHECK=includes -DSOURCE_DIR=${_faults} -P ${_check})
set_tests_properties(Layers.IncludesCheckFindsFaults PROPERTIES PASS_REGULAR_EXPRESSION
    "game/Rules.cpp includes SDL2/SDL.h.*game/Rules.cpp includes the stand-in header PlatWin.h.*game/Tick.cpp includes SaveGame.h, above the rules' floor")
set_tests_properties(Layers.IncludesCheckFindsFaults PROPERTIES FAIL_REGULAR_EXPRESSION "Rules_PC")

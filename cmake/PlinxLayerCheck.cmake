# The layer check, run by the tests Layers.* (cmake -P, see PlinxLayers.cmake):
#   CHECK=links     LINKS=<PlinxLinks.txt>  every library links only libraries of lower layers,
#                                           never a test kit, and above platform/ never the
#                                           libraries the stand-ins wrap (SDL, GL, GTK, curl,
#                                           openmpt, X11)
#   CHECK=includes  SOURCE_DIR=<checkout>   outside platform/ only back-end files include a
#                                           stand-in's header or the wrapped libraries' headers;
#                                           the rules' floor includes nothing of the modules
#                                           that react to it
#   CHECK=headless  PROGRAM=<game_tests>    the rules' tests load no display, window-system or
#                                           font library
# Each failure is one line; the test fails when there is any.

cmake_minimum_required(VERSION 3.25)

# ---- The layers, lowest first ------------------------------------------------------------------
# Each library may link only those listed before it. The stand-ins come first, in the order of
# platform/CMakeLists.txt (the graphics stand-in opens its GL context in the window stand-in's
# window; the music stand-in plays through the sound stand-in).
set(PLINX_LAYERS
    plat_clock plat_shell plat_win plat_dialogs plat_dialogs_gtk plat_d3d9 plat_dsound plat_modmusic
    plat_inet plat_runtime
    eng eng_render eng_program
    game game_view
    gui online profiles screens launcher app)
set(PLINX_PLATFORM_LAYERS
    plat_clock plat_shell plat_win plat_dialogs plat_dialogs_gtk plat_d3d9 plat_dsound plat_modmusic
    plat_inet plat_runtime)
# The shipped programs sit at a layer too: the launcher must start where SDL and GL are missing.
set(PLINX_PROGRAM_LAYER_Plinx_Launcher launcher)
set(PLINX_PROGRAM_LAYER_Plinx_DX9 app)
# Libraries for tests and tools only: no layered library links them.
set(PLINX_TEST_LIBRARIES testkit testkit_main testkit_program fuzzkit)
# The libraries the stand-ins wrap; only platform/ links them.
set(PLINX_WRAPPED_REGEX "^(SDL2::.*|SDL2|OpenGL::.*|GL|GLX|EGL|PkgConfig::GTK.*|gtk-3|CURL::.*|curl|PkgConfig::OPENMPT|openmpt|X11::.*|X11)$")

set(_failures "")
macro(_fail text)
  string(APPEND _failures "  ${text}\n")
endmacro()

# ---- Links -------------------------------------------------------------------------------------
function(_plinx_check_links)
  set(_failures "")
  file(STRINGS ${LINKS} _lines)
  set(_projectLibraries "")
  foreach(_line ${_lines})
    string(REPLACE " " ";" _fields "${_line}")
    list(GET _fields 0 _name)
    list(GET _fields 1 _type)
    if(NOT _type STREQUAL "EXECUTABLE")
      list(APPEND _projectLibraries ${_name})
    endif()
  endforeach()

  foreach(_line ${_lines})
    string(REPLACE " " ";" _fields "${_line}")
    list(LENGTH _fields _count)
    list(GET _fields 0 _name)
    list(GET _fields 1 _type)
    list(GET _fields 2 _folder)
    set(_links "")
    if(_count GREATER 3)
      list(GET _fields 3 _links)
      string(REPLACE "," ";" _links "${_links}")
    endif()

    # The layer this target sits at: a library's own, a shipped program's, or none.
    set(_at "")
    set(_strict TRUE)
    if(_type STREQUAL "EXECUTABLE")
      if(DEFINED PLINX_PROGRAM_LAYER_${_name})
        set(_at ${PLINX_PROGRAM_LAYER_${_name}})
        set(_strict FALSE)
      endif()
    elseif(_name IN_LIST PLINX_LAYERS)
      set(_at ${_name})
    elseif(NOT _name IN_LIST PLINX_TEST_LIBRARIES)
      _fail("${_name} (${_folder}) is in no layer: place it in PLINX_LAYERS of cmake/PlinxLayerCheck.cmake")
    endif()
    if(_at STREQUAL "")
      continue()
    endif()
    list(FIND PLINX_LAYERS ${_at} _rank)

    foreach(_link ${_links})
      if(_link IN_LIST PLINX_TEST_LIBRARIES)
        _fail("${_name} links the test library ${_link}")
      elseif(_link IN_LIST PLINX_LAYERS)
        list(FIND PLINX_LAYERS ${_link} _linkRank)
        if(_linkRank GREATER _rank OR (_strict AND _linkRank EQUAL _rank))
          _fail("${_name} links ${_link}, a layer above it")
        endif()
      elseif(_link IN_LIST _projectLibraries)
        _fail("${_name} links ${_link}, which is in no layer")
      elseif(_link MATCHES "${PLINX_WRAPPED_REGEX}" AND NOT _at IN_LIST PLINX_PLATFORM_LAYERS)
        _fail("${_name} links ${_link}: only the stand-ins of platform/ link it")
      endif()
    endforeach()
  endforeach()
  set(_failures "${_failures}" PARENT_SCOPE)
endfunction()

# ---- Includes ----------------------------------------------------------------------------------
# Back-end files: named *_PC, *_DX9 or with DX in the name. Tests, test kits, tools and benchmarks
# are not checked: tests swap the stand-ins' seams for recorders.
set(PLINX_CHECKED_FOLDERS engine game gui online profiles screens launcher app main)
set(PLINX_WRAPPED_HEADER_REGEX "^(SDL2?/|SDL[_.]|GL/|GLES|EGL/|gtk/|gdk/|glib|curl/|libopenmpt/|X11/)")
# Files outside the back ends allowed a stand-in's header, each with its reason.
set(PLINX_INCLUDE_EXCEPTIONS "")
# The rules' floor: the files the tick, the levels and the shot live in. They reach the
# saved games, the undo history and the puzzle editor above them only through the reactions
# those register (game/Reactions.h), never by their headers.
set(PLINX_RULES_FLOOR game/Grid.cpp game/Tick.cpp game/Levels.cpp game/Plinx.cpp game/Reactions.cpp)
set(PLINX_ABOVE_RULES_HEADERS SaveGame.h Play.h)

function(_plinx_check_includes)
  set(_failures "")
  file(GLOB_RECURSE _platformHeaders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/platform/*.h)
  set(_platformNames "")
  foreach(_header ${_platformHeaders})
    get_filename_component(_headerName ${_header} NAME)
    list(APPEND _platformNames ${_headerName})
  endforeach()
  if(NOT _platformNames)
    _fail("no stand-in header found under ${SOURCE_DIR}/platform")
  endif()

  foreach(_folder ${PLINX_CHECKED_FOLDERS})
    file(GLOB_RECURSE _files RELATIVE ${SOURCE_DIR}
         ${SOURCE_DIR}/${_folder}/*.cpp ${SOURCE_DIR}/${_folder}/*.c ${SOURCE_DIR}/${_folder}/*.h)
    foreach(_file ${_files})
      if(_file MATCHES "(^|/)tests/" OR _file IN_LIST PLINX_INCLUDE_EXCEPTIONS)
        continue()
      endif()
      get_filename_component(_stem ${_file} NAME_WE)
      if(_stem MATCHES "(_PC|_DX9)$" OR _stem MATCHES "DX")
        continue()
      endif()
      file(STRINGS ${SOURCE_DIR}/${_file} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
      foreach(_include ${_includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" _path "${_include}")
        get_filename_component(_pathName "${_path}" NAME)
        if(_file IN_LIST PLINX_RULES_FLOOR AND _pathName IN_LIST PLINX_ABOVE_RULES_HEADERS)
          _fail("${_file} includes ${_path}, above the rules' floor: register a reaction instead")
        endif()
        if(_pathName IN_LIST _platformNames)
          _fail("${_file} includes the stand-in header ${_path} but is no back-end file")
        elseif(_path MATCHES "${PLINX_WRAPPED_HEADER_REGEX}")
          _fail("${_file} includes ${_path}: only platform/ includes the wrapped libraries")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(_failures "${_failures}" PARENT_SCOPE)
endfunction()

# ---- The headless rules ------------------------------------------------------------------------
function(_plinx_check_headless)
  set(_failures "")
  execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE _libraries RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    _fail("ldd ${PROGRAM} failed (${_result})")
  endif()
  string(REPLACE "\n" ";" _libraries "${_libraries}")
  foreach(_library ${_libraries})
    string(STRIP "${_library}" _library)
    if(_library MATCHES "^(libSDL|libGL|libEGL|libOpenGL|libgtk|libgdk|libX11|libxcb|libwayland|libfreetype)")
      _fail("${PROGRAM} loads ${_library}")
    endif()
  endforeach()
  set(_failures "${_failures}" PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "links")
  _plinx_check_links()
elseif(CHECK STREQUAL "includes")
  _plinx_check_includes()
elseif(CHECK STREQUAL "headless")
  _plinx_check_headless()
else()
  message(FATAL_ERROR "PlinxLayerCheck.cmake: CHECK must be links, includes or headless")
endif()
if(NOT _failures STREQUAL "")
  message(FATAL_ERROR "Layer check (${CHECK}) failed:\n${_failures}")
endif()
message(STATUS "Layer check (${CHECK}) passed")

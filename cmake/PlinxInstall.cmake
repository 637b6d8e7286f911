# The installed game: `cmake --install build --prefix <p>` puts the executables in
# <p>/bin, the game's folder (its Data) in <p>/share/plinx, the desktop entry in
# <p>/share/applications and the program icon at its sizes in <p>/share/icons/hicolor.
# The executables find the data relative to their own folder (PLINX_GAME_FOLDER_FROM_PROGRAM).
set(_targets)
foreach(_target Plinx_DX9 Plinx_Launcher)
  if(TARGET ${_target})
    list(APPEND _targets ${_target})
  endif()
endforeach()
install(TARGETS ${_targets} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET plinx_data)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/Data/ DESTINATION ${PLINX_INSTALL_GAME_DIR}/Data
          PATTERN ".datagen.stamp" EXCLUDE)
  # The icon theme's copies, named after the desktop entry's Icon key.
  foreach(_size 16 32 48 128 256)
    install(FILES ${CMAKE_BINARY_DIR}/Data/Icons/PlinxIcon${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps RENAME plinx.png)
  endforeach()
endif()

# The desktop entry starts the launcher by its installed path, known only at install time
# (the prefix may be given to `cmake --install`).
install(CODE "
  set(PLINX_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/launcher/plinx.desktop.in\")
  set(PLINX_DESKTOP_WORK \"${CMAKE_BINARY_DIR}/plinx.desktop\")
  set(PLINX_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(PLINX_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/PlinxDesktopEntry.cmake)

# The dialogs' display module, loaded by the executables from ../lib/plinx when a dialog
# is first shown.
if(TARGET plat_dialogs_gtk)
  install(TARGETS plat_dialogs_gtk LIBRARY DESTINATION lib/plinx)
endif()

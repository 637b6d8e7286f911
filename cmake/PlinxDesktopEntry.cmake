# Install-time script: writes the desktop entry from its template with the launcher's
# installed path as the Exec key and installs it into share/applications.
# Reads PLINX_DESKTOP_TEMPLATE, PLINX_DESKTOP_WORK, PLINX_BINDIR and PLINX_DATADIR.
set(_exec "${CMAKE_INSTALL_PREFIX}/${PLINX_BINDIR}/Plinx_Launcher")
if(_exec MATCHES "[^A-Za-z0-9_./+-]")
  # A quoted argument: \ " ` $ take a backslash inside the quotes, the key's string value
  # then doubles every backslash, and a field code's % is doubled.
  string(REPLACE "\\" "\\\\" _exec "${_exec}")
  string(REPLACE "\"" "\\\"" _exec "${_exec}")
  string(REPLACE "`" "\\`" _exec "${_exec}")
  string(REPLACE "$" "\\$" _exec "${_exec}")
  set(_exec "\"${_exec}\"")
  string(REPLACE "\\" "\\\\" _exec "${_exec}")
  string(REPLACE "%" "%%" _exec "${_exec}")
endif()
set(PLINX_LAUNCHER_EXEC "${_exec}")
configure_file(${PLINX_DESKTOP_TEMPLATE} ${PLINX_DESKTOP_WORK} @ONLY)
file(INSTALL ${PLINX_DESKTOP_WORK} DESTINATION "${CMAKE_INSTALL_PREFIX}/${PLINX_DATADIR}/applications")

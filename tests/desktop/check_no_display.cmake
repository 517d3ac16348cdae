# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later

# olvi started with no display server, and with one named that is not there:
# one line that says a graphical session is needed, and exit status 1 (not
# Qt's abort and its advice to reinstall).
set(line "Олви работает только в графическом сеансе (Wayland или X11). Olvi needs a graphical session (Wayland or X11).\n")
set(bare ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    --unset=XDG_SESSION_TYPE)
execute_process(COMMAND ${bare} ${OLVI} RESULT_VARIABLE result ERROR_VARIABLE said OUTPUT_VARIABLE out)
if(NOT result EQUAL 1 OR NOT said STREQUAL line OR NOT out STREQUAL "")
    message(FATAL_ERROR "no display: exit ${result}, said: ${out}${said}")
endif()
execute_process(COMMAND ${bare} DISPLAY=:65000 ${OLVI} RESULT_VARIABLE result ERROR_VARIABLE said)
string(FIND "${said}" "${line}" at REVERSE)
string(LENGTH "${said}" length)
string(LENGTH "${line}" tail)
math(EXPR end "${at} + ${tail}")
if(NOT result EQUAL 1 OR at LESS 0 OR NOT end EQUAL length)
    message(FATAL_ERROR "an unreachable display: exit ${result}, said: ${said}")
endif()

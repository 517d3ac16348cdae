# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch prefix and checks that a desktop finds
# the program, its launcher entry, its icon and its metadata there.
set(prefix "${BUILD_DIR}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file
        bin/olvi
        share/applications/org.olvi.Olvi.desktop
        share/icons/hicolor/scalable/apps/org.olvi.Olvi.svg
        share/metainfo/org.olvi.Olvi.metainfo.xml
        share/man/man1/olvi.1.gz)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${prefix}/share/applications/org.olvi.Olvi.desktop"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the installed desktop file is not valid")
endif()
file(REMOVE_RECURSE "${prefix}")

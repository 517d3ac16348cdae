# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch prefix and checks that a desktop finds
# the program, its launcher entry, its icon and its metadata there: the
# metadata in Russian too, a release for this version, and every screenshot
# it shows installed with the size it states.
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

file(READ "${prefix}/share/metainfo/org.olvi.Olvi.metainfo.xml" metainfo)
foreach(element name summary p li caption)
    if(NOT metainfo MATCHES "<${element} xml:lang=\"ru\">")
        message(FATAL_ERROR "the metadata has no Russian <${element}>")
    endif()
endforeach()
if(NOT metainfo MATCHES "<release version=\"${VERSION}\" date=\"[0-9-]+\">")
    message(FATAL_ERROR "the metadata has no release ${VERSION}")
endif()
string(REGEX MATCHALL "<image type=\"source\" width=\"[0-9]+\" height=\"[0-9]+\">[^<]+"
       images "${metainfo}")
if(NOT images)
    message(FATAL_ERROR "the metadata shows no screenshot")
endif()
foreach(image IN LISTS images)
    string(REGEX MATCH "width=\"([0-9]+)\" height=\"([0-9]+)\">.*/([^/]+)$" _ "${image}")
    set(shot "${prefix}/share/olvi/screenshots/${CMAKE_MATCH_3}")
    set(width ${CMAKE_MATCH_1})
    set(height ${CMAKE_MATCH_2})
    if(NOT EXISTS "${shot}")
        message(FATAL_ERROR "screenshot not installed: ${shot}")
    endif()
    # A PNG's size: two 32-bit numbers after its signature and the header's name.
    file(READ "${shot}" header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 w)
    string(SUBSTRING "${header}" 8 8 h)
    math(EXPR w "0x${w}")
    math(EXPR h "0x${h}")
    if(NOT w EQUAL width OR NOT h EQUAL height)
        message(FATAL_ERROR "${shot} is ${w}×${h}, the metadata says ${width}×${height}")
    endif()
endforeach()
file(REMOVE_RECURSE "${prefix}")

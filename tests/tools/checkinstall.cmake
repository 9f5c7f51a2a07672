# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks that the program, its desktop
# entry and its icons arrive where desktops look for them.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P checkinstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file
        bin/tarvex
        share/applications/org.tarvex.Tarvex.desktop
        share/icons/hicolor/16x16/apps/org.tarvex.Tarvex.png
        share/icons/hicolor/64x64/apps/org.tarvex.Tarvex.png
        share/icons/hicolor/256x256/apps/org.tarvex.Tarvex.png
        share/icons/hicolor/scalable/apps/org.tarvex.Tarvex.svg
        share/icons/hicolor/48x48/mimetypes/application-x-tarvex-figure.png
        share/icons/hicolor/scalable/mimetypes/application-x-tarvex-figure.svg
        share/metainfo/org.tarvex.Tarvex.metainfo.xml
        share/man/man1/tarvex.1.gz
        share/doc/tarvex/copyright
        share/doc/tarvex/changelog.gz)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/org.tarvex.Tarvex.desktop" entry)
foreach(line "Exec=tarvex %f" "TryExec=tarvex" "StartupWMClass=Tarvex" "Icon=org.tarvex.Tarvex" "Name=Tarvex"
             "Type=Application")
    list(FIND entry "${line}" found)
    if(found LESS 0)
        message(FATAL_ERROR "desktop entry lacks ${line}")
    endif()
endforeach()

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Tarvex needs, but only those that are missing, so a
# second run costs a few dpkg queries and nothing more.
#   scripts/deps.sh build   what building and running the editor needs
#   scripts/deps.sh         that and the tools of the tests, the checks and CI
set -euo pipefail
group=${1:-all}
# Building and running: compiler, Qt with its translations and tools for them, PNG and
# libdeflate (the PNG export), the X11 protocol library (the clipboard reader), a font.
build=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-svg-dev libpng-dev libdeflate-dev libxcb1-dev libgl-dev
       qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-dejavu-core)
# Testing: the X session with a window manager and X tools, picture and PDF tools,
# the desktop and package checks, the sanitizer and fuzz compiler, the formatter.
tests=(xvfb xauth xdotool xclip x11-utils ghostscript clang libclang-rt-14-dev imagemagick poppler-utils
       python3 shared-mime-info xdg-utils desktop-file-utils dpkg-dev libglib2.0-bin file lintian appstream
       man-db dbus-daemon tumbler clang-format openbox at-spi2-core
       python3-pyatspi)
case "$group" in
    build) packages=("${build[@]}") ;;
    all) packages=("${build[@]}" "${tests[@]}") ;;
    *) echo "usage: $0 [build]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

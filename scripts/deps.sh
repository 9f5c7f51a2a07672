#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Tarvex needs to build, run and test, but only those
# that are missing, so a second run costs a few dpkg queries and nothing more.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-svg-dev libpng-dev libgl-dev
          fonts-dejavu-core xvfb xauth xdotool xclip x11-utils ghostscript clang libclang-rt-14-dev
          imagemagick poppler-utils python3 shared-mime-info xdg-utils desktop-file-utils dpkg-dev
          libglib2.0-bin file qt6-tools-dev qt6-l10n-tools qt6-translations-l10n lintian appstream man-db
          dbus-daemon tumbler clang-format openbox)
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

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what the desktop sees: the
# figure file type is recognised by content (another XML file stays application/xml),
# the desktop entry and the preview entry are valid. With "package" it also builds
# the Debian package and checks its files, its Qt 6 dependencies and what lintian
# says of it (no error, no warning). The software-centre listing must pass
# appstreamcli and the manual page must render without a warning.
#   checkdesktop.sh BUILD_DIR SCRATCH_DIR [package]
# Exit code 77 (skipped) when a needed tool is missing.
set -euo pipefail
build=$1
scratch=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
need() { command -v "$1" >/dev/null || { echo "skipped: $1 missing"; exit 77; }; }
rm -rf "$scratch"
mkdir -p "$scratch"

if [ "${3:-}" = package ]; then
    need cpack; need dpkg-deb; need dpkg-shlibdeps
    cpack -G DEB -B "$scratch" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 \
        || { cat "$scratch/cpack.log"; exit 1; }
    deb=$(ls "$scratch"/tarvex_*.deb)
    files=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for f in usr/bin/tarvex usr/share/applications/org.tarvex.Tarvex.desktop \
             usr/share/icons/hicolor/64x64/apps/org.tarvex.Tarvex.png \
             usr/share/icons/hicolor/256x256/apps/org.tarvex.Tarvex.png \
             usr/share/icons/hicolor/scalable/apps/org.tarvex.Tarvex.svg \
             usr/share/icons/hicolor/scalable/mimetypes/application-x-tarvex-figure.svg \
             usr/share/metainfo/org.tarvex.Tarvex.metainfo.xml \
             usr/share/man/man1/tarvex.1.gz usr/share/doc/tarvex/copyright \
             usr/share/doc/tarvex/changelog.gz \
             usr/share/mime/packages/org.tarvex.Tarvex.xml \
             usr/share/thumbnailers/org.tarvex.Tarvex.thumbnailer \
             usr/share/tarvex/examples/impossible-triangle.xml; do
        grep -qx "\./$f" <<<"$files" || { echo "package lacks $f"; exit 1; }
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libqt6core6 libqt6gui6 libqt6widgets6; do
        grep -q "$lib" <<<"$depends" || { echo "package does not depend on $lib: $depends"; exit 1; }
    done
    homepage=$(dpkg-deb -f "$deb" Homepage)
    [ -n "$homepage" ] || { echo "package has no Homepage"; exit 1; }
    need lintian
    lintian --display-info --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
    if grep -E '^(E|W): ' "$scratch/lintian.log"; then
        echo "lintian reports errors or warnings"; exit 1
    fi
    echo "package ok: $depends"
    cat "$scratch/lintian.log"
    exit 0
fi

need update-mime-database; need gio; need desktop-file-validate; need appstreamcli; need man
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
metainfo="$prefix/share/metainfo/org.tarvex.Tarvex.metainfo.xml"
appstreamcli validate --no-net --explain "$metainfo"
# A software centre shows the screenshot and links to the homepage and the tracker.
for part in '<url type="homepage">' '<url type="bugtracker">' '<screenshot type="default">'; do
    grep -qF "$part" "$metainfo" || { echo "software-centre listing lacks $part"; exit 1; }
done
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/tarvex.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "manual page: $warnings"; exit 1; }
update-mime-database "$prefix/share/mime"
desktop-file-validate "$prefix/share/applications/org.tarvex.Tarvex.desktop"
grep -qx 'MimeType=application/x-tarvex-figure;' "$prefix/share/applications/org.tarvex.Tarvex.desktop"
thumbnailer="$prefix/share/thumbnailers/org.tarvex.Tarvex.thumbnailer"
for line in '[Thumbnailer Entry]' 'TryExec=tarvex' 'Exec=tarvex --thumbnail %s %i %o' \
            'MimeType=application/x-tarvex-figure;'; do
    grep -qxF "$line" "$thumbnailer" || { echo "thumbnailer entry lacks $line"; exit 1; }
done

printf '<?xml version="1.0"?>\n<note>not a figure</note>\n' >"$scratch/other.xml"
type_of() {
    XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$scratch/none" \
        gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
check() {
    local got
    got=$(type_of "$1")
    [ "$got" = "$2" ] || { echo "$1: $got, expected $2"; exit 1; }
}
check "$source_dir/tests/data/figures/example.xml" application/x-tarvex-figure
for f in "$prefix"/share/tarvex/examples/*.xml; do
    check "$f" application/x-tarvex-figure
done
check "$scratch/other.xml" application/xml
echo "desktop ok"

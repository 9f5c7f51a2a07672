#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and asks tumbler (the thumbnail service of
# Xfce's Thunar and other file managers), over a private D-Bus session, for a preview
# of a figure: the picture must arrive in the thumbnail cache as a valid PNG.
#   checktumbler.sh BUILD_DIR SCRATCH_DIR FIGURE
# Exit code 77 (skipped) when tumbler, dbus-run-session or gdbus is missing.
set -euo pipefail
build=$1
scratch=$2
figure=$3
tumblerd=$(ls /usr/lib/*/tumbler-1/tumblerd 2>/dev/null | head -1 || true)
[ -n "$tumblerd" ] || { echo "skipped: tumbler missing"; exit 77; }
for tool in dbus-run-session gdbus update-mime-database python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done
rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/cache" "$scratch/figures"
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
cp "$figure" "$scratch/figures/figure.xml"
export PATH="$prefix/bin:$PATH" HOME="$scratch/home" XDG_CACHE_HOME="$scratch/cache"
export XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$scratch/home/share"
exec dbus-run-session -- python3 - "$scratch/figures/figure.xml" "$scratch/cache" <<'PY'
import hashlib, pathlib, subprocess, sys, time
figure, cache = sys.argv[1:3]
uri = pathlib.Path(figure).as_uri()
# The handle is typed: gdbus guesses a bare number from the method's introspection,
# which a service still starting may not answer in time.
subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.thumbnails.Thumbnailer1",
                "--object-path", "/org/freedesktop/thumbnails/Thumbnailer1",
                "--method", "org.freedesktop.thumbnails.Thumbnailer1.Queue",
                "['%s']" % uri, "['application/x-tarvex-figure']", "normal", "default", "uint32 0"],
               check=True, stdout=subprocess.DEVNULL, timeout=60)
thumb = pathlib.Path(cache, "thumbnails", "normal", hashlib.md5(uri.encode()).hexdigest() + ".png")
failed = pathlib.Path(cache, "thumbnails", "fail")
for _ in range(300):
    if thumb.exists() and thumb.stat().st_size > 0:
        data = thumb.read_bytes()
        if not data.startswith(b"\x89PNG\r\n\x1a\n"):
            sys.exit("tumbler stored something that is not a PNG: %r" % data[:16])
        print("tumbler ok: %s, %d bytes" % (thumb.name, len(data)))
        sys.exit(0)
    if failed.exists() and any(failed.rglob("*.png")):
        sys.exit("tumbler recorded a failure: %s" % [str(p) for p in failed.rglob("*.png")])
    time.sleep(0.1)
sys.exit("no thumbnail from tumbler in 30 s")
PY

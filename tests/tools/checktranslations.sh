#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The translations are complete and the program speaks the user's language:
#  - lupdate over src/ finds no text without a German or Russian translation (a new or
#    changed text fails here until scripts/update-translations.sh has been run and
#    the new entries translated);
#  - the program started under LANG=de_DE.UTF-8 (ru_RU.UTF-8) prints its --help,
#    --version and error messages in German (Russian), Qt's own lines included.
#   checktranslations.sh TARVEX SCRATCH_DIR
set -euo pipefail
tarvex=$1
scratch=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
rm -rf "$scratch"
mkdir -p "$scratch"
status=0

cp "$source_dir"/src/translations/tarvex_*.ts "$scratch/"
(cd "$source_dir" && "$lupdate" -silent -no-obsolete -locations none -extensions cpp,h src \
    -ts "$scratch"/tarvex_*.ts)
for ts in "$scratch"/tarvex_*.ts; do
    # The source text of every unfinished entry, for the message.
    untranslated=$(awk '/<source>/ { src = $0 } /type="unfinished"/ { print src }' "$ts")
    if [ -n "$untranslated" ]; then
        echo "$(basename "$ts"): texts without a translation (run scripts/update-translations.sh and translate them):"
        sed 's/^ *<source>\(.*\)<\/source>/    \1/' <<<"$untranslated"
        status=1
    fi
done

expect() {   # expect LANGUAGE TEXT OUTPUT
    grep -qF -- "$2" <<<"$3" || { echo "LANG=$1: \"$2\" not found in:"; echo "$3"; status=1; }
}
run() {      # run LANG ARGS...: the program's output and errors, whatever its exit code
    local lang=$1; shift
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$lang" QT_QPA_PLATFORM=offscreen \
        XDG_CONFIG_HOME="$scratch/config" "$tarvex" "$@" 2>&1 || true
}
help=$(run de_DE.UTF-8 --help)
expect de "Zeichnet unmögliche Figuren aus Würfeln" "$help"
expect de "Lädt DATEI und schreibt sie ohne Fenster" "$help"
expect de "Aufruf:" "$help"   # Qt's own --help lines
expect de "Lizenz GPLv3+" "$(run de_DE.UTF-8 --version)"
expect de "Fehler beim Laden der XML-Datei" "$(run de_DE.UTF-8 --export "$scratch/out.png" "$scratch/none.xml")"
help=$(run ru_RU.UTF-8 --help)
expect ru "Рисует невозможные фигуры из кубов" "$help"
expect ru "Лицензия GPLv3+" "$(run ru_RU.UTF-8 --version)"
# English stays the language of the sources.
expect C "Draws impossible figures out of cubes" "$(run C.UTF-8 --help)"
expect C "License GPLv3+" "$(run C.UTF-8 --version)"
exit $status

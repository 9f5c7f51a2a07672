#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The translations are complete and the program speaks the user's language:
#  - scripts/check-untranslated.sh finds nothing without its German or Russian version
#    (interface texts, help pages, desktop entry, MIME type and metainfo);
#  - the program started under LANG=de_DE.UTF-8 (ru_RU.UTF-8) prints its --help,
#    --version and error messages in German (Russian), Qt's own lines included.
#   checktranslations.sh TARVEX SCRATCH_DIR
set -euo pipefail
tarvex=$1
scratch=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$scratch"
mkdir -p "$scratch"
status=0

# Interface texts, help pages and the desktop's files all have their translations.
"$source_dir/scripts/check-untranslated.sh" "$scratch" || status=1

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

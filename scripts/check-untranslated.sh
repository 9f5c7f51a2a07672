#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Reports everything that has no German or Russian version yet, and fails when there
# is any:
#  - texts of src/ that lupdate finds without a translation in tarvex_de.ts or
#    tarvex_ru.ts (new and changed texts, before scripts/update-translations.sh has
#    been run and the entries translated);
#  - help pages (src/resources/help/*.htm) without their page in help/de and help/ru,
#    a translated page missing from help.qrc, or one still the same as the English;
#  - the desktop entry's Name, GenericName and Comment, the MIME type's comment and the
#    metainfo's summary and description paragraphs and list items without de and ru.
#   scripts/check-untranslated.sh [SCRATCH_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=${1:-$(mktemp -d)}
languages=(de ru)
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
status=0
missing() { echo "$1"; status=1; }

# Interface texts: lupdate over a copy, so the sources stay as they are.
rm -rf "$scratch/ts"
mkdir -p "$scratch/ts"
cp "$root"/src/translations/tarvex_*.ts "$scratch/ts/"
(cd "$root" && "$lupdate" -silent -no-obsolete -locations none -extensions cpp,h src -ts "$scratch"/ts/tarvex_*.ts)
for ts in "$scratch"/ts/tarvex_*.ts; do
    untranslated=$(awk '/<source>/ { src = $0 } /type="unfinished"/ { print src }' "$ts")
    [ -z "$untranslated" ] && continue
    missing "$(basename "$ts"): texts without a translation (run scripts/update-translations.sh and translate them):"
    sed 's/^ *<source>\(.*\)<\/source>/    \1/' <<<"$untranslated"
done

# Help pages: each English page has a page per language, listed in help.qrc.
help=$root/src/resources/help
qrc=$root/src/resources/help.qrc
for page in "$help"/*.htm; do
    name=$(basename "$page")
    for lang in "${languages[@]}"; do
        translated=$help/$lang/$name
        if [ ! -f "$translated" ]; then
            missing "help page $name: no $lang version (src/resources/help/$lang/$name)"
        elif cmp -s "$page" "$translated"; then
            missing "help page $lang/$name: still the English text"
        elif ! grep -qF "<file alias=\"help/$name\">help/$lang/$name</file>" "$qrc"; then
            missing "help page $lang/$name: not listed in help.qrc under lang=\"$lang\""
        fi
    done
done

# The desktop's files.
desktop=$root/src/resources/org.tarvex.Tarvex.desktop
for key in Name GenericName Comment; do
    for lang in "${languages[@]}"; do
        grep -q "^$key\[$lang\]=." "$desktop" || missing "org.tarvex.Tarvex.desktop: no $key[$lang]"
    done
done
mime=$root/src/resources/org.tarvex.Tarvex.xml
for lang in "${languages[@]}"; do
    grep -q "<comment xml:lang=\"$lang\">" "$mime" || missing "org.tarvex.Tarvex.xml: no comment in $lang"
done
metainfo=$root/src/resources/org.tarvex.Tarvex.metainfo.xml
for tag in summary p li; do
    english=$(grep -c "<$tag>" "$metainfo" || true)
    for lang in "${languages[@]}"; do
        translated=$(grep -c "<$tag xml:lang=\"$lang\">" "$metainfo" || true)
        [ "$translated" -ge "$english" ] \
            || missing "org.tarvex.Tarvex.metainfo.xml: $english <$tag> in English, $translated in $lang"
    done
done
[ $status -eq 0 ] && echo "Everything is translated into ${languages[*]}."
exit $status

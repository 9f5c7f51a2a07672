#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the translation sources (src/translations/tarvex_*.ts) up to date with the
# texts in src/: new and changed texts are added as unfinished entries, texts no longer
# used are dropped. Translate the unfinished entries afterwards (Qt Linguist, or any
# editor: fill in <translation> and remove type="unfinished"); the translations test
# fails while any is left.
#   scripts/update-translations.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
[ -x "$lupdate" ] || { echo "lupdate missing: apt-get install qt6-l10n-tools" >&2; exit 1; }
cd "$root"
"$lupdate" -silent -no-obsolete -locations none -extensions cpp,h src -ts src/translations/tarvex_*.ts
for ts in src/translations/tarvex_*.ts; do
    echo "$ts: $(grep -c 'type="unfinished"' "$ts" || true) unfinished"
done
# Help pages and the desktop's files are translated by hand; list what lacks a version.
"$root/scripts/check-untranslated.sh" >/dev/null || "$root/scripts/check-untranslated.sh" | grep -v "^Everything" || true

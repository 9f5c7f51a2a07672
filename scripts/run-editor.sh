#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and running need (not the test tools), builds the editor alone
# and starts it. Arguments go to tarvex.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" build
TARVEX_TARGETS=tarvex "$root/scripts/build.sh" "$root/build"
exec "$root/build/src/tarvex" "$@"

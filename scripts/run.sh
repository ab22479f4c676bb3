#!/usr/bin/env bash
# Builds the editor and starts it (under Wine on Linux).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$MORVANE_ROOT/scripts/install-deps.sh"
morvane_configure_and_build
trap morvane_stop EXIT
morvane_ensure_display
morvane_start_wine
"$MORVANE_ROOT/scripts/wine-run.sh" "$MORVANE_BUILD/bin/morvane.exe" "$@"

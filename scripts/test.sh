#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$MORVANE_ROOT/scripts/install-deps.sh"
morvane_configure_and_build -DMORVANE_TESTS=ON
trap morvane_stop EXIT
morvane_ensure_display
morvane_start_wine
cd "$MORVANE_BUILD"
ctest --output-on-failure -j"$(nproc)" "$@"

#!/usr/bin/env bash
# Installs what the build needs, builds everything (id's map compilers too, when their sources are
# beside the project in ../shared/tools/map-compilers) and runs every test; then lists the tests
# that skipped themselves, with their reasons.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$MORVANE_ROOT/scripts/install-deps.sh"
morvane_configure_and_build -DMORVANE_TESTS=ON
trap morvane_stop EXIT
morvane_ensure_display
morvane_start_wine
cd "$MORVANE_BUILD"
status=0
ctest --output-on-failure -j"$(nproc)" "$@" || status=$?
morvane_report_skips "$MORVANE_BUILD/Testing/Temporary/LastTest.log"
exit "$status"

#!/usr/bin/env bash
# Runs a test program under Wine for ctest. Wine's own background processes
# (services, desktop) would inherit ctest's output pipes and keep them open,
# so the program's output goes through a file instead.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$(mktemp "${TMPDIR:-/tmp}/morvane-test.XXXXXX")"
"$here/wine-run.sh" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc

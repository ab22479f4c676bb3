# Common environment of the build and run scripts (sourced, not run).
MORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MORVANE_BUILD="${MORVANE_BUILD:-$MORVANE_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$MORVANE_BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

morvane_configure_and_build() {
  cmake -S "$MORVANE_ROOT" -B "$MORVANE_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
  cmake --build "$MORVANE_BUILD" -j"$(nproc)"
}

# Starts a virtual X display when there is none.
morvane_ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  MORVANE_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

# Creates the private Wine prefix once and keeps one wineserver alive.
morvane_start_wine() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    "$MORVANE_ROOT/scripts/wine-run.sh" wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # The caption buttons' glyphs come from Marlett (Wine's fonts package), which this Wine reads
  # only from the prefix's font folder.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/" || true
  fi
  # A server already running for this prefix is fine.
  wineserver -p 2>/dev/null || true
  # Start Wine's services now, away from any pipe of the caller.
  "$MORVANE_ROOT/scripts/wine-run.sh" wineboot >/dev/null 2>&1 </dev/null || true
}

morvane_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${MORVANE_XVFB_PID:-}" ]; then kill "$MORVANE_XVFB_PID" 2>/dev/null || true; fi
}

# Lists the tests that skipped themselves in a ctest log, each with the reason it gave (a passing
# program's output is not shown by ctest).
morvane_report_skips() {
  [ -f "$1" ] || return 0
  awk '
    / Test: / { program = $NF }
    /:[0-9]+: Skipped$/ { skipping = 1; why = ""; next }
    skipping && /^\[  SKIPPED \] / { lines[++n] = "  " program " " $4 ": " why; skipping = 0; next }
    skipping { why = why (why == "" ? "" : " ") $0 }
    END {
      if (n == 0) exit
      print n " test(s) skipped:"
      for (i = 1; i <= n; ++i) print lines[i]
    }' "$1"
}

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
  # Wine's own fonts (its fonts package), which this Wine reads only from the prefix's font
  # folder: the caption buttons' Marlett, and the faces the windows ask for (MS Sans Serif, MS
  # Shell Dlg, Tahoma, Courier). Without them every face falls back to DejaVu Sans, whose
  # positioning rules make Wine 8's edit controls fault on the byte 0x98 (a small tilde) after a
  # digit, a punctuation mark or a symbol: a value or a path of a file holding it would end the
  # editor when it is shown.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
    local font
    for font in /usr/share/wine/fonts/*; do
      [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/" || true
    done
  fi
  # A server already running for this prefix is fine.
  wineserver -p 2>/dev/null || true
  # Start Wine's services now, away from any pipe of the caller.
  "$MORVANE_ROOT/scripts/wine-run.sh" wineboot >/dev/null 2>&1 </dev/null || true
  # Arial is not among Wine's fonts: the grid's cells ask for it, and Wine falls back through it
  # for every face it has not got. Tahoma takes its place rather than DejaVu Sans.
  if ! grep -q '^"Arial"="Tahoma"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$MORVANE_ROOT/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d Tahoma /f \
      >/dev/null 2>&1 </dev/null || true
  fi
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

#!/usr/bin/env bash
# The Linux editor in a real X server: starts Xvfb on a display number it
# picks itself, runs the X11 tests of a build with DISPLAY set to it, and
# stops it again. Without a display those tests are skipped, so this is where
# they run for real. Several build folders share one server.
#   scripts/x11-checks.sh [build folder...]    (default: $BUILD, else build)
set -euo pipefail
cd "$(dirname "$0")/.."

builds=("$@")
[ ${#builds[@]} -eq 0 ] && builds=("${BUILD:-build}")
for build in "${builds[@]}"; do
  if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "x11-checks.sh: $build is not a configured build folder (run make build first)" >&2
    exit 1
  fi
done
command -v Xvfb >/dev/null || { echo "x11-checks.sh: Xvfb is missing (scripts/ensure-deps.sh installs it)" >&2; exit 1; }

workdir=$(mktemp -d)
xvfb_pid=""
stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$workdir"
}
trap stop_xvfb EXIT

# -displayfd: the server chooses a free display number and writes it once it
# accepts connections. 24-bit colour is what the tests read pixels back in.
# -noreset: every test closes its connections, and a server that resets when
# its last client leaves turns away whoever connects meanwhile.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$workdir/display" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "x11-checks.sh: Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$workdir/display" ]; then
  echo "x11-checks.sh: Xvfb gave no display number within 10 seconds" >&2
  exit 1
fi
display=":$(tr -d '[:space:]' < "$workdir/display")"
echo "Xvfb on display $display"

for build in "${builds[@]}"; do
  echo "X11 tests of $build"
  (cd "$build" && DISPLAY="$display" ctest --output-on-failure -R 'X11')
done

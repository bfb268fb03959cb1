#!/usr/bin/env bash
# Renders the same dense piano piece (bench/write_dense_piece.py, 80 s) with
# orrelune-render and with FluidSynth and Debian's General MIDI sound font, in
# turns, and prints each one's CPU time (user + system) and the ratio of the
# medians. CPU time, not wall time: the machine may be busy with other work.
#
#   bash bench/compare_fluidsynth.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR (default: build) must hold a configured build; the renderer and
# the plug-in are built there if needed. As root the script installs
# fluidsynth and fluid-soundfont-gm when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
rounds=${2:-5}
soundfont=/usr/share/sounds/sf2/FluidR3_GM.sf2

if ! command -v fluidsynth > /dev/null || [ ! -f "$soundfont" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "compare_fluidsynth.sh: FluidSynth or its sound font is missing. Install them with:" >&2
    echo "  sudo apt-get install fluidsynth fluid-soundfont-gm" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y fluidsynth fluid-soundfont-gm > /dev/null
fi

cmake --build "$build" --target orrelune-render orrelune -j 2 > /dev/null
renderer="$build/tools/render/orrelune-render"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/write_dense_piece.py "$work/dense.mid"

# CPU seconds (user + system) of one command, its output discarded.
cpu_seconds() {
  local TIMEFORMAT='%U %S'
  local times
  times=$( { time "$@" > /dev/null 2>&1 ; } 2>&1 )
  awk -v t="$times" 'BEGIN { split(t, p, " "); printf "%.3f\n", p[1] + p[2] }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/orrelune.txt"
: > "$work/fluidsynth.txt"
for round in $(seq "$rounds"); do
  cpu_seconds "$renderer" --quiet "$work/dense.mid" "$work/orrelune.wav" >> "$work/orrelune.txt"
  cpu_seconds fluidsynth -ni -F "$work/fluidsynth.wav" "$soundfont" "$work/dense.mid" >> "$work/fluidsynth.txt"
  echo "round $round: orrelune-render $(tail -1 "$work/orrelune.txt") s, fluidsynth $(tail -1 "$work/fluidsynth.txt") s"
done

ours=$(median < "$work/orrelune.txt")
theirs=$(median < "$work/fluidsynth.txt")
awk -v a="$ours" -v b="$theirs" 'BEGIN {
  printf "median CPU time for 80 s of music: orrelune-render %.3f s (%.0fx real time), fluidsynth %.3f s (%.0fx real time)\n", a, 80 / a, b, 80 / b
  printf "orrelune-render is %.1f times as fast as fluidsynth\n", b / a
}'

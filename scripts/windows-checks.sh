#!/usr/bin/env bash
# Builds the Windows DLLs (32-bit and 64-bit) with MinGW-w64 and proves them
# under Wine: imports and exports read with objdump, then the Windows test
# host loads each DLL as a host does and compares its sound and saved state
# with the Linux build's, and its editor's pixels and automation with the
# in-memory window's.
#
#   scripts/windows-checks.sh               build, then check
#   scripts/windows-checks.sh --build-only  only build the two DLLs
#
# Everything that touches Wine runs inside one private Xvfb display, with a
# Wine prefix made for this run only and one wineserver kept running until
# the end, so no step waits for a server to start or stop.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

JOBS=${JOBS:-2}
LINUX_BUILD=${BUILD:-build}
WIN_BUILD_TYPE=${WIN_BUILD_TYPE:-Release}

build_only=0
for arg in "$@"; do
  case "$arg" in
    --build-only) build_only=1 ;;
    *) echo "windows-checks.sh: unknown option $arg (known: --build-only)" >&2; exit 2 ;;
  esac
done

# name, toolchain, build folder of the DLL, build folder of the test host, Wine loader
targets=(
  "win32 i686 build-win32 build-win32-checks /usr/lib/wine/wine"
  "win64 x86_64 build-win64 build-win64-checks /usr/lib/wine/wine64"
)

step() { printf '\n== %s\n' "$*"; }

bash scripts/ensure-deps.sh --windows

build_dll() {
  local arch=$1 dir=$2
  step "Orrelune.dll for $arch in $dir"
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE="$WIN_BUILD_TYPE" >/dev/null
  cmake --build "$dir" --target orrelune -j "$JOBS"
}

for target in "${targets[@]}"; do
  read -r _ arch dir _ _ <<<"$target"
  build_dll "$arch" "$dir"
done
if [ "$build_only" -eq 1 ]; then
  for target in "${targets[@]}"; do
    read -r _ _ dir _ _ <<<"$target"
    echo "built $dir/instrument/Orrelune.dll"
  done
  exit 0
fi

failures=0
passes=0
record() { # record <ok?> <what>
  if [ "$1" -eq 0 ]; then passes=$((passes + 1)); else failures=$((failures + 1)); echo "FAILED: $2"; fi
}

# Only system libraries: hosts run on machines without our compiler's runtime.
check_imports() {
  local dll=$1 objdump=$2 name bad=0
  while read -r name; do
    case "${name,,}" in
      kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll) ;;
      *) echo "$dll imports $name" >&2; bad=1 ;;
    esac
  done < <("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
  return "$bad"
}

# Exactly VSTPluginMain and main, undecorated, at one address.
check_exports() {
  local dll=$1 objdump=$2 listing
  listing=$("$objdump" -p "$dll" | awk '
    /^Export Address Table/ { table = "address"; next }
    /^\[Ordinal\/Name Pointer\] Table/ { table = "names"; next }
    /^$/ { table = "" }
    table == "address" && /Export RVA/ { gsub(/[][]/, " "); address[$1] = $4 }
    table == "names" { gsub(/[][]/, " "); print $2, address[$1] }' | sort)
  local entry alias
  entry=$(awk '$1 == "VSTPluginMain" { print $2 }' <<<"$listing")
  alias=$(awk '$1 == "main" { print $2 }' <<<"$listing")
  if [ "$(wc -l <<<"$listing")" -ne 2 ] || [ -z "$entry" ] || [ "$entry" != "$alias" ]; then
    echo "$dll exports:" >&2
    echo "$listing" >&2
    return 1
  fi
}

for target in "${targets[@]}"; do
  read -r name arch dir _ _ <<<"$target"
  dll=$dir/instrument/Orrelune.dll
  objdump=$arch-w64-mingw32-objdump
  step "$name: imports and exports of $dll"
  "$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: /imports /p'
  check_imports "$dll" "$objdump" && ok=0 || ok=1
  record "$ok" "$name imports only system libraries"
  check_exports "$dll" "$objdump" && ok=0 || ok=1
  record "$ok" "$name exports VSTPluginMain and main as one function"
done

step "Linux reference renderings from $LINUX_BUILD"
# Configured again so that a build folder made before tests/windows existed learns of it.
if [ -f "$LINUX_BUILD/CMakeCache.txt" ]; then
  cmake -S . -B "$LINUX_BUILD" >/dev/null
else
  cmake -S . -B "$LINUX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$LINUX_BUILD" --target orrelune orrelune-write-reference orrelune-write-panel-reference -j "$JOBS"

work=$(mktemp -d /tmp/orrelune-windows-checks.XXXXXX)
xvfb_pid=""
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/reference"
"$LINUX_BUILD/tests/windows/orrelune-write-reference" "$LINUX_BUILD/instrument/Orrelune.so" "$work/reference"
"$LINUX_BUILD/tests/windows/orrelune-write-panel-reference" "$work/reference"

for target in "${targets[@]}"; do
  read -r name arch _ checks _ <<<"$target"
  step "$name: Windows test host in $checks"
  cmake -S tests/windows/host -B "$checks" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" >/dev/null
  cmake --build "$checks" -j "$JOBS"
done

step "Xvfb and a fresh Wine prefix"
# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver -p
# Every Wine step has a time limit, so a hung program fails the run instead of stalling it.
timeout 300 wine wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
# Windows that no window manager takes care of: closing one never waits for it.
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

to_windows_path() { echo "Z:$(realpath "$1")"; }

for target in "${targets[@]}"; do
  read -r name _ dir checks loader <<<"$target"
  step "$name: checks under Wine"
  report="$work/$name.xml"
  failed=0
  timeout 600 "$loader" "$checks/orrelune-windows-checks.exe" \
    --gtest_output="xml:$(to_windows_path "$work")/$name.xml" \
    --library="$(to_windows_path "$dir/instrument/Orrelune.dll")" \
    --reference="$(to_windows_path "$work/reference")" \
    --resources="$(to_windows_path resources)" && ok=0 || ok=1
  if [ -f "$report" ]; then
    tests=$(sed -n 's/^<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)".*/\1/p' "$report")
    failed=$(sed -n 's/^<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)".*/\2/p' "$report")
    passes=$((passes + tests - failed))
    failures=$((failures + failed))
  fi
  # A host that stopped without reporting a failure (a crash, say) fails too.
  if [ "$ok" -ne 0 ] && { [ ! -f "$report" ] || [ "${failed:-0}" -eq 0 ]; }; then
    record 1 "$name test host ended without a verdict"
  fi
done

echo
echo "windows-checks: $passes passed, $failures failed"
[ "$failures" -eq 0 ]

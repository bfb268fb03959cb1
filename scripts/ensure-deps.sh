#!/usr/bin/env bash
# Make sure the Debian packages the build needs are present.
# As root it installs what is missing; otherwise it prints the apt-get line and fails.
# With --windows it also brings what the Windows builds and their checks need:
# the MinGW-w64 cross compilers, Wine for 32- and 64-bit programs (the 32-bit
# half comes from the i386 architecture) and a virtual X display.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libbenchmark-dev
  libsndfile1-dev
  # The Linux editor draws into the host's X11 window; its tests drive it
  # with synthetic input in a virtual display.
  libx11-dev libxtst-dev xvfb xauth
  # The fuzz targets: clang with its sanitizer and libFuzzer runtimes.
  clang libclang-rt-dev
)

windows=0
for arg in "$@"; do
  case "$arg" in
    --windows) windows=1 ;;
    *) echo "ensure-deps.sh: unknown option $arg (known: --windows)" >&2; exit 2 ;;
  esac
done

if [ "$windows" -eq 1 ]; then
  packages+=(
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 wine32:i386
    xvfb
  )
  # wine32 lives in the i386 architecture; a new architecture needs a fresh package list.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "The Windows checks need the i386 architecture. Add it with:" >&2
      echo "  sudo dpkg --add-architecture i386 && sudo apt-get update" >&2
      exit 1
    fi
    dpkg --add-architecture i386
  fi
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing Debian packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

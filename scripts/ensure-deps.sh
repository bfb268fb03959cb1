#!/usr/bin/env bash
# Make sure the Debian packages the build needs are present.
# As root it installs what is missing; otherwise it prints the apt-get line and fails.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libbenchmark-dev
  libsndfile1-dev
)

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

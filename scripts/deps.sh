#!/usr/bin/env bash
# Installs the Debian packages the project needs (run as root). Runs 'apt-get update' only when
# something is missing, so a machine that has everything is left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache clang-format
  libpng-dev libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-apps
)
for extra in "$@"; do
  case "$extra" in
    --with-fuzz) packages+=(clang libclang-rt-dev) ;;
    --with-valgrind) packages+=(valgrind) ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

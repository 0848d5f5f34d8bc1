#!/usr/bin/env bash
# Builds the optimised sample encyclopedia and runs it: in a real window when a display is
# there, otherwise headless, taking a short tour and writing its screenshots to out/. Extra
# arguments go to the program (see `quillonary --help`).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)" --target quillonary
mkdir -p out
exec ./build/release/host/quillonary --out out "$@"

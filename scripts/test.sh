#!/usr/bin/env bash
# Builds the library and its tests with AddressSanitizer + UndefinedBehaviorSanitizer and
# warnings as errors (the dev preset), then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset dev
cmake --build --preset dev -j "$(nproc)"
ctest --preset dev -j "$(nproc)"

#!/usr/bin/env bash
# Builds the optimised demo and runs it: in a real window when a display is there, otherwise
# headless, writing the screenshot out/demo.png. Extra arguments go to the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)" --target quill-demo
mkdir -p out
exec ./build/release/demo/quill-demo --out out/demo.png "$@"

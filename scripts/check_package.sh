#!/usr/bin/env bash
# The installed package, tried as a new user would: an optimised build is installed into a
# temporary prefix; no installed header may include SDL or a header that is not installed,
# every installed header must compile on its own with only <prefix>/include on the path, and
# tests/consumer must build and run through find_package(QuillUI) and through pkg-config,
# setting no C++ standard of its own; examples/minimal-host, the README's smallest host, builds
# the same way and shows its first frame headless.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quillui quill-art-files quill-demo quillonary
cmake --install build/release --prefix "$prefix" >/dev/null
include=$prefix/include
echo "== installed $(find "$include" -name '*.h' | wc -l) headers into $prefix"

status=0
if grep -rlE '#[[:space:]]*include[[:space:]]*<SDL' "$include"; then
  echo "check_package: the installed headers above include SDL" >&2
  status=1
fi
# Every quillui include of an installed header must itself be installed.
while IFS=: read -r file target; do
  if [[ ! -f $include/$target ]]; then
    echo "check_package: ${file#"$include"/} includes $target, which is not installed" >&2
    status=1
  fi
done < <(grep -rhoE '^#include "quillui/[^"]+"' "$include" --with-filename |
         sed -E 's/#include "([^"]+)"/\1/')
((status == 0)) || exit 1

echo "== every installed header compiles on its own"
find "$include" -name '*.h' -print0 |
  xargs -0 -P "$(nproc)" -I{} sh -c \
    'echo "#include \"$1\"" | c++ -std=c++20 -fsyntax-only -I"$2" -x c++ - ||
     { echo "check_package: $1 does not compile on its own" >&2; exit 255; }' _ {} "$include"

echo "== tests/consumer through find_package(QuillUI)"
cmake -S tests/consumer -B "$work/cmake-consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake-consumer"
LD_LIBRARY_PATH=$prefix/lib "$work/cmake-consumer/consumer"

echo "== examples/minimal-host through find_package(QuillUI), run headless once"
cmake -S examples/minimal-host -B "$work/minimal-host" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/minimal-host"
(cd "$work/minimal-host" && QUILL_SCREEN=headless LD_LIBRARY_PATH=$prefix/lib \
   ./minimal-host --once --art "$prefix/share/quillui/art" && test -s minimal-host.png)

echo "== tests/consumer through pkg-config quillui"
pc=$(find "$prefix" -name quillui.pc -printf '%h')
export PKG_CONFIG_PATH=$pc
c++ -o "$work/pc-consumer" tests/consumer/main.cpp $(pkg-config --cflags --libs quillui)
LD_LIBRARY_PATH=$prefix/lib "$work/pc-consumer"
echo "check_package: the installed package works for both ways in"

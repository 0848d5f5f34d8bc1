#!/usr/bin/env bash
# Shows that the layer check catches what it is for: in a scratch tree, a platform header that
# includes the framework, a framework source that includes the services and an include of a
# header that does not exist must each fail it, and the same tree without them must pass.
set -euo pipefail
check=$(cd "$(dirname "$0")" && pwd)/check_layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
git init -q .
mkdir -p quillui/platform quillui/framework/base quillui/framework/window quillui/profile
echo '#pragma once' > quillui/framework/base/geometry.h
echo '#pragma once' > quillui/platform/clock.h
echo '#pragma once' > quillui/profile/profile.h
printf '#include "quillui/framework/base/geometry.h"\n#include "quillui/platform/clock.h"\n' \
  > quillui/framework/window/window.cpp
printf '#include "quillui/framework/window/window.cpp"\n' > quillui/profile/profile.cpp
git add -A
bash "$check" "$work" >/dev/null || { echo "selftest: a sound tree failed the check" >&2; exit 1; }

expect_failure() {  # file line what
  cp "$1" "$1.orig"
  echo "$2" >> "$1"
  git add -A
  if bash "$check" "$work" >/dev/null 2>&1; then
    echo "selftest: the check let through $3" >&2
    exit 1
  fi
  mv "$1.orig" "$1"
  git add -A
}
expect_failure quillui/platform/clock.h '#include "quillui/framework/base/geometry.h"' \
  "the platform including the framework"
expect_failure quillui/framework/window/window.cpp '#include "quillui/profile/profile.h"' \
  "the framework including the services"
expect_failure quillui/profile/profile.cpp '#include "quillui/profile/nowhere.h"' \
  "an include of a missing header"
echo "check_layers selftest: upward and dangling includes are caught"

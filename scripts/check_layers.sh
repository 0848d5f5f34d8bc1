#!/usr/bin/env bash
# The layer check: arrows point down. Every '#include "quillui/…"' in the library, the tools,
# the tests, the benchmarks, the fuzz targets and the demo is read; a file under quillui/ that
# includes a folder above its own in the order below fails the check, and so does a file that
# includes a header that does not exist.
#   scripts/check_layers.sh [ROOT]   (ROOT defaults to the repository)
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
cd "$root"

# Bottom up. A file belongs to the longest folder of this list that its path starts with; it
# may include its own folder and any folder listed before it. The platform knows nothing of
# the library; the framework nothing of the services or the library above it. A header of test
# hooks, quillui/testing/<layer>.h, belongs to the layer it puts back (testing/framework.h to
# the top of the framework).
layers=(
  platform
  platform/audio
  platform/screen
  framework/base
  framework/stream
  framework/image
  framework/gdi
  framework/window
  framework/layout
  framework/gadgets
  framework/menus
  framework/dialogs
  profile
  app
  resources
  sound
  navigation
  imaging
  menus
  buttons
  bars
  titlebar
  tableau
)

rank_of() {  # folder of a path relative to quillui/ -> rank, or -1
  local path=$1 best=-1 bestlen=0 i
  if [[ $path == testing/*.h ]]; then
    path=${path#testing/}
    path=${path%.h}
    [[ $path == framework ]] && path=framework/dialogs
    path=$path/
  fi
  for i in "${!layers[@]}"; do
    local l=${layers[$i]}
    if [[ $path == "$l"/* && ${#l} -gt $bestlen ]]; then
      best=$i
      bestlen=${#l}
    fi
  done
  echo "$best"
}

status=0
declare -A rank_cache
while IFS= read -r file; do
  [[ -f $file ]] || continue
  rel=${file#quillui/}
  own=-1
  if [[ $file == quillui/* ]]; then
    own=$(rank_of "$rel")
    if ((own < 0)); then
      echo "$file: folder is not in the layer order of scripts/check_layers.sh"
      status=1
      continue
    fi
  fi
  while IFS=: read -r line target; do
    if [[ ! -f $target ]]; then
      echo "$file:$line: includes \"$target\", which does not exist"
      status=1
      continue
    fi
    [[ $file == quillui/* ]] || continue
    trel=${target#quillui/}
    if [[ -z ${rank_cache[$trel]+x} ]]; then rank_cache[$trel]=$(rank_of "$trel"); fi
    theirs=${rank_cache[$trel]}
    if ((theirs > own)); then
      echo "$file:$line: ${layers[$own]} includes ${layers[$theirs]} (\"$target\"), which is above it"
      status=1
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"quillui/' "$file" |
           sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/')
done < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' | grep -v '^build/')

if ((status)); then
  echo "check_layers: an include points up or nowhere (see above)" >&2
else
  echo "check_layers: every include points down"
fi
exit $status

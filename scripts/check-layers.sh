#!/usr/bin/env bash
# Every include arrow points down: services <- model <- settings <- gamelist <-
# window <- views <- app; the views (window/view, Qt, and window/win32, Windows)
# are one layer. A folder may include its own headers and those of the
# folders below it, never one above; and system headers that reach the
# operating system belong to services (and the views and app) only.
# Usage: check-layers.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root/src"

layers=(services model settings gamelist window "window/view window/win32" app)
status=0

# The folder a header lives in, as a layer index.
declare -A layer_of
for i in "${!layers[@]}"; do
  for dir in ${layers[$i]}; do
    for header in "$dir"/*.h; do
      [ -e "$header" ] && layer_of[$(basename "$header")]=$i
    done
  done
done

for i in "${!layers[@]}"; do
  for dir in ${layers[$i]}; do
    for file in "$dir"/*.h "$dir"/*.cpp; do
      [ -e "$file" ] || continue
      while IFS= read -r header; do
        target=${layer_of[$header]:-}
        if [ -n "$target" ] && [ "$target" -gt "$i" ]; then
          echo "$file includes $header from ${layers[$target]}/, a layer above $dir/" >&2
          status=1
        fi
      done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
      if [ "$i" -ge 1 ] && [ "$i" -le 4 ] &&
         grep -nE '^#include <(unistd|poll|dirent|fcntl|signal|spawn|sched|windows|sys/[a-z_]+|linux/[a-z_]+)\.h>' "$file" >&2; then
        echo "$file reaches the system directly; that belongs in services/" >&2
        status=1
      fi
    done
  done
done
[ $status -eq 0 ] && echo "include arrows: all point down"
exit $status

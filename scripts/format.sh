#!/usr/bin/env bash
# Formats the C++ sources under src/, tests/ and bench/ the way the
# repository's .clang-format says: the git-tracked files in a checkout, every
# file otherwise. With --check it changes nothing and lists the files that
# differ (make format fixes them).
# Usage: format.sh [--check] [ROOT]   (default: this checkout)
set -euo pipefail
check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
if [ $# -gt 1 ] || { [ $# -eq 1 ] && [ ! -d "$1" ]; }; then
  echo "usage: format.sh [--check] [ROOT]   (ROOT: a folder)" >&2
  exit 2
fi
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
formatted_folders=(src tests bench)

if ! command -v clang-format >/dev/null; then
  echo "format.sh: clang-format is missing; install Debian's package: apt-get install clang-format (or make deps)" >&2
  exit 2
fi
if [ ! -f "$root/.clang-format" ]; then
  echo "format.sh: $root has no .clang-format to format by" >&2
  exit 2
fi
style=--style=file:$root/.clang-format
# A style clang-format cannot read would otherwise fail once per file.
if ! clang-format "$style" --dump-config >/dev/null; then
  echo "format.sh: $(clang-format --version) cannot read $root/.clang-format (see above)" >&2
  exit 2
fi

cd "$root"
sources=()
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
  patterns=()
  for folder in "${formatted_folders[@]}"; do patterns+=("$folder/*.cpp" "$folder/*.h"); done
  mapfile -d '' -t listed < <(git ls-files -z -- "${patterns[@]}")
  wait $! || { echo "format.sh: git ls-files failed in $root" >&2; exit 2; }
  for file in "${listed[@]}"; do
    # A tracked file deleted or moved away in the working tree is not there to format.
    if [ -f "$file" ]; then sources+=("$file"); fi
  done
else
  folders=()
  for folder in "${formatted_folders[@]}"; do
    if [ -d "$folder" ]; then folders+=("$folder"); fi
  done
  if [ ${#folders[@]} -gt 0 ]; then
    mapfile -d '' -t sources < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
  fi
fi
if [ ${#sources[@]} -eq 0 ]; then
  echo "format.sh: no .cpp or .h files under src/, tests/ or bench/ of $root" >&2
  exit 2
fi

if [ $check -eq 0 ]; then
  clang-format -i "$style" -- "${sources[@]}"
  echo "format: ${#sources[@]} files formatted with .clang-format"
  exit 0
fi

rc=0
report=$(clang-format --dry-run -Werror "$style" -- "${sources[@]}" 2>&1) || rc=$?
mapfile -t differing < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if [ "$rc" -ne 0 ] && [ ${#differing[@]} -eq 0 ]; then
  echo "$report" >&2
  echo "format.sh: clang-format failed (exit $rc) without naming a file to reformat; see above" >&2
  exit 2
fi
if [ ${#differing[@]} -gt 0 ]; then
  printf '%s\n' "${differing[@]}" >&2
  echo "format: ${#differing[@]} of ${#sources[@]} files differ from .clang-format ($(clang-format --version)); run make format to fix them" >&2
  exit 1
fi
echo "format: all ${#sources[@]} files follow .clang-format"

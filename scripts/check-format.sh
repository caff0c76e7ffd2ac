#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Checks, without changing anything, that the C++ sources under src/, tests/
# and bench/ are as clang-format leaves them with the repository's
# .clang-format: git-tracked files in a checkout, every file otherwise. Lists
# the files that differ; make format (scripts/format.sh) fixes them.
# Usage: check-format.sh [ROOT]   (default: this checkout)
set -euo pipefail
if [ $# -gt 1 ]; then
  echo "usage: check-format.sh [ROOT]" >&2
  exit 2
fi
if [ $# -eq 1 ] && [ ! -d "$1" ]; then
  echo "check-format.sh: $1 is not a folder" >&2
  exit 2
fi
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
# shellcheck source=format-common.sh
source "$(dirname "$0")/format-common.sh"
load_format_sources "$root"
cd "$root"

rc=0
report=$(clang-format --dry-run -Werror "$style" -- "${sources[@]}" 2>&1) || rc=$?
mapfile -t differing < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if [ "$rc" -ne 0 ] && [ ${#differing[@]} -eq 0 ]; then
  echo "$report" >&2
  echo "check-format.sh: clang-format failed (exit $rc) without naming a file to reformat; see above" >&2
  exit 2
fi
if [ ${#differing[@]} -gt 0 ]; then
  printf '%s\n' "${differing[@]}" >&2
  echo "format: ${#differing[@]} of ${#sources[@]} files differ from .clang-format ($(clang-format --version)); run make format (scripts/format.sh) to fix them" >&2
  exit 1
fi
echo "format: all ${#sources[@]} files follow .clang-format"

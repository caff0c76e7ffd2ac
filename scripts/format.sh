#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Rewrites in place, the way the repository's .clang-format says, the C++
# sources under src/, tests/ and bench/ that check-format.sh checks.
# Usage: format.sh [ROOT]   (default: this checkout)
set -euo pipefail
if [ $# -gt 1 ]; then
  echo "usage: format.sh [ROOT]" >&2
  exit 2
fi
if [ $# -eq 1 ] && [ ! -d "$1" ]; then
  echo "format.sh: $1 is not a folder" >&2
  exit 2
fi
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
# shellcheck source=format-common.sh
source "$(dirname "$0")/format-common.sh"
load_format_sources "$root"
cd "$root"

clang-format -i "$style" -- "${sources[@]}"
echo "format: ${#sources[@]} files formatted with .clang-format"

#!/usr/bin/env bash
# Cross-builds lorvane.exe with MinGW-w64 in a build directory of its own and
# packs it with its instructions as dist/lorvane-windows-x64.zip.
# Usage: pack-windows.sh [BUILD_DIR [JOBS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build-windows}
jobs=${2:-$(nproc)}
dist="$root/dist"
archive="$dist/lorvane-windows-x64.zip"

cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$jobs" --target lorvane

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The debugging information stays in the build; the packed program goes without it.
x86_64-w64-mingw32-strip -o "$stage/lorvane.exe" "$build_dir/bin/lorvane.exe"
# Windows' own editors expect CR LF line ends.
sed 's/$/\r/' "$root/packaging/windows/README-windows.txt" >"$stage/README-windows.txt"

mkdir -p "$dist"
# Made beside the archive and renamed over it: never a half-written archive.
rm -f "$archive.tmp"
(cd "$stage" && zip -q -X -9 "$archive.tmp" lorvane.exe README-windows.txt)
mv -f "$archive.tmp" "$archive"
zip -sf "$archive"
echo "Written: $archive"

#!/usr/bin/env bash
# Builds Debian's package of Lorvane with Debian's own tools (dpkg-buildpackage,
# debhelper, debian/) from a copy of the sources in a build directory of its own,
# so nothing is written beside the worktree, and puts it in
# dist/lorvane_<version>-1_<arch>.deb. The version is the one CMakeLists.txt declares.
# Usage: make-deb.sh [BUILD_DIR [JOBS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build-deb}
jobs=${2:-$(nproc)}
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac

version=$(sed -n 's/^project(Lorvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
if [ -z "$version" ]; then
  echo "make-deb: no project(Lorvane VERSION ...) line in CMakeLists.txt" >&2
  exit 1
fi
package_version="$version-1"
changelog_version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
if [ "$changelog_version" != "$package_version" ]; then
  echo "make-deb: debian/changelog is at $changelog_version, CMakeLists.txt at $version:" >&2
  echo "add a debian/changelog entry for $package_version (dch -v $package_version)" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="lorvane_${package_version}_${arch}.deb"

# The sources as git knows them (committed or not), without build output.
stage="$build_dir/lorvane-$version"
rm -rf "$build_dir"
mkdir -p "$stage"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 -r -I{} sh -c 'test -e "{}" && printf "%s\0" "{}"' |
  tar --null -T - -cf -) | tar -xf - -C "$stage"

(cd "$stage" && DEB_BUILD_OPTIONS="parallel=$jobs" dpkg-buildpackage -b -us -uc)

mkdir -p "$root/dist"
# Copied beside it and renamed over it: never a half-written package.
cp "$build_dir/$deb" "$root/dist/$deb.tmp"
mv -f "$root/dist/$deb.tmp" "$root/dist/$deb"
echo "Written: dist/$deb"

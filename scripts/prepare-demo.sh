#!/usr/bin/env bash
# prepare-demo.sh BUILD_DIR DEMO_DIR
# Makes DEMO_DIR an application directory for Lorvane around Debian's emulator:
# the lorvane executable, a `mame` script that gives the emulator this
# directory as its ini path, mame.ini, LVN.ini, a few ROM sets and real
# snapshot pictures. Files that are already there are left as they are, except
# the executable, which follows the build.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR DEMO_DIR" >&2
  exit 2
fi
build_dir=$1
demo_dir=$2
emulator=/usr/games/mame

program="$build_dir/bin/lorvane"
if [ ! -x "$program" ]; then
  echo "$program is missing: build first (make build)" >&2
  exit 1
fi

mkdir -p "$demo_dir/roms" "$demo_dir/snap"
demo_dir=$(cd "$demo_dir" && pwd)

if ! cmp -s "$program" "$demo_dir/lorvane"; then
  cp "$program" "$demo_dir/lorvane.new"
  mv -f "$demo_dir/lorvane.new" "$demo_dir/lorvane"
fi

# Writes a file from standard input unless it exists.
write_once() {
  if [ -e "$1" ]; then
    cat >/dev/null
  else
    cat >"$1.new" && mv "$1.new" "$1"
  fi
}

# The emulator reads the mame.ini beside this script.
write_once "$demo_dir/mame" <"$(dirname "$0")/emulator-wrapper.sh"
chmod +x "$demo_dir/mame"

write_once "$demo_dir/mame.ini" <<'INI'
rompath                   roms
snapshot_directory        snap
window                    1
INI

printf '[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=True\r\n' |
  write_once "$demo_dir/LVN.ini"

# pong and breakout need no ROM dump: an empty archive passes the check.
# pacman's empty archive is a set that fails it.
empty_zip() {
  [ -e "$1" ] || printf 'PK\005\006\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' >"$1"
}
for set in pong breakout pacman; do
  empty_zip "$demo_dir/roms/$set.zip"
done

# Real snapshots: the emulator runs each game headless for two emulated
# seconds and saves its screen as snap/<game>.png, at the monitor's shape
# (pong's own pixels are far from square).
if [ -x "$emulator" ]; then
  for shot in pong:640x480 breakout:480x640; do
    game=${shot%%:*}
    [ -e "$demo_dir/snap/$game.png" ] && continue
    (cd "$demo_dir" && HOME="$demo_dir" "$emulator" -inipath "$demo_dir" "$game" \
      -video none -sound none -seconds_to_run 2 -snapname %g -snapsize "${shot#*:}" >/dev/null 2>&1) ||
      echo "warning: no snapshot for $game" >&2
  done
else
  echo "warning: $emulator is not installed; the demo has no emulator" >&2
fi

echo "demo ready in $demo_dir"

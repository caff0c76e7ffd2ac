#!/usr/bin/env bash
# make-screenshot.sh [BUILD_DIR]
#   Renders docs/screenshot.png: the Qt window on a fresh demo directory (the
#   real emulator's listing, preview on, pong's snapshot), without a display.
# make-screenshot.sh --windows [WINDOWS_BUILD_DIR]
#   Renders docs/screenshot-windows.png: the Windows window under Wine on Xvfb
#   at 144 DPI (Windows' 150 %), on the same kind of demo directory, with the
#   stand-in emulator as mame.exe and the real emulator's listing as its data file.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --windows ]; then
  build_dir=$(cd "${1:-$root/build}" && pwd)
  cmake --build "$build_dir" --target lorvane lorvane_screenshot
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  "$root/scripts/prepare-demo.sh" "$build_dir" "$work/demo"

  mkdir -p "$root/docs"
  HOME="$work" QT_QPA_PLATFORM=offscreen \
    "$build_dir/bin/lorvane_screenshot" "$work/demo" "$root/docs/screenshot.png" pong
  exit 0
fi

build_dir=${2:-$root/build-windows}
emulator=/usr/games/mame
screenshot_dpi=144
cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLORVANE_BUILD_TESTS=ON >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target lorvane_screenshot lorvane_standin_emulator
build_dir=$(cd "$build_dir" && pwd)
[ -x "$emulator" ] || { echo "$emulator is not installed: it makes the listing and the snapshot" >&2; exit 1; }

# Under /tmp, which Wine sees as Z:\tmp.
work=$(mktemp -d /tmp/lorvane-screenshot-XXXXXX)
trap 'rm -rf "$work"' EXIT
demo="$work/demo"
mkdir -p "$demo/roms" "$demo/snap"
# pong and breakout need no ROM dump, pacman's empty archive fails its check.
for set in pong breakout pacman; do
  printf 'PK\005\006\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' >"$demo/roms/$set.zip"
done
printf 'rompath                   roms\nsnapshot_directory        snap\n' >"$demo/mame.ini"
printf '[Settings]\r\nMAME NAME=mame.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=True\r\n' >"$demo/LVN.ini"
(cd "$demo" && HOME="$work" "$emulator" -inipath "$demo" -listfull >LVN_LIST.txt 2>/dev/null)
printf '\r\n' >>"$demo/LVN_LIST.txt"
(cd "$demo" && HOME="$work" "$emulator" -inipath "$demo" pong -video none -sound none \
  -seconds_to_run 2 -snapname %g -snapsize 640x480 >/dev/null 2>&1) || echo "warning: no snapshot for pong" >&2
cp "$build_dir/bin/lorvane_standin_emulator.exe" "$demo/mame.exe"

# A prefix of its own in which Wine draws the window's frame and caption
# itself (Xvfb has no window manager), with Wine's Marlett font for the
# caption buttons (Debian's fonts-wine).
export WINEPREFIX="$build_dir/wineprefix-screenshot"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
fi
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

mkdir -p "$root/docs"
LORVANE_WINEPREFIX="$WINEPREFIX" "$root/tests/ui/win32/run-under-xvfb.sh" --dpi "$screenshot_dpi" \
  "$build_dir/bin/lorvane_screenshot.exe" "Z:$demo" "Z:$root/docs/screenshot-windows.png" pong

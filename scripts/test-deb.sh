#!/usr/bin/env bash
# Checks Debian's package of Lorvane as a user would get it: lintian (no error,
# no warning), desktop-file-validate and appstreamcli on its files, then the
# package unpacked with dpkg -x (never installed on this machine) and its
# program started on an X server of its own in an empty home holding only ROM
# sets in ~/mame/roms, with a stand-in emulator on PATH: its list must fill,
# its window must name its desktop entry, and everything it writes (traced with
# strace) must lie in that home.
# Usage: test-deb.sh [DIST_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/dist}
version=$(sed -n 's/^project(Lorvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
deb="$dist/lorvane_${version}-1_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "test-deb: no package $deb (make deb writes it)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test-deb: FAILED: $*" >&2; exit 1; }

echo "== lintian"
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian reports an error or a warning"

echo "== dpkg -x"
unpacked="$work/unpacked"
dpkg -x "$deb" "$unpacked"
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/lorvane.png" ] || fail "no ${size}x${size} icon"
done
for f in usr/games/lorvane usr/share/icons/hicolor/scalable/apps/lorvane.svg \
         usr/share/man/man6/lorvane.6.gz usr/share/applications/lorvane.desktop; do
  [ -s "$unpacked/$f" ] || fail "the package lacks /$f"
done
dpkg-deb -f "$deb" Depends | grep -qw mame || fail "the package does not depend on mame"

echo "== desktop-file-validate"
desktop-file-validate "$unpacked/usr/share/applications/lorvane.desktop" || fail "desktop-file-validate"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"

echo "== the unpacked program in an empty home"
[ -f /etc/mame/mame.ini ] || fail "no /etc/mame/mame.ini: the mame package is needed"
home="$work/home"
emulator_dir="$work/emulator"
mkdir -p "$home/mame/roms" "$emulator_dir"
for set in pacman pong galaga; do : >"$home/mame/roms/$set.zip"; done
# The stand-in prints a listing and writes nothing.
cat >"$emulator_dir/listing.txt" <<'LISTING'
Name:             Description:
galaga            "Galaga (Namco rev. B)"
natodef           "NATO Defense"
pacman            "Pac-Man (Midway)"
pong              "Pong (Rev E) [TTL]"
LISTING
cat >"$emulator_dir/mame" <<'STANDIN'
#!/bin/sh
case " $* " in
  *" -listfull "*) exec cat "$(dirname "$0")/listing.txt" ;;
esac
echo "romset $1 is good"
echo "1 romsets found, 1 were OK."
STANDIN
chmod +x "$emulator_dir/mame"

display_file="$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || fail "Xvfb did not start"
display=":$(head -n1 "$display_file")"

trace="$work/trace"
start_dir="$work/started-here"
mkdir -p "$start_dir"
# A desktop session's environment, and nothing of this machine's.
(cd "$start_dir" && exec env -i HOME="$home" PATH="$emulator_dir:/usr/bin:/bin" DISPLAY="$display" \
  XDG_RUNTIME_DIR="$home/.run" QT_QPA_PLATFORM=xcb \
  strace -f -qq -o "$trace" \
    -e trace=open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,link,linkat,symlink,symlinkat,truncate,chmod,fchmodat \
    "$unpacked/usr/games/lorvane") &
program_pid=$!

# A first start tells of the files it makes, in messages that wait for OK.
caption=
answered=
for _ in $(seq 300); do
  caption=$(DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -o 'Lorvane   (romcount = [0-9]*)' | head -n1 || true)
  [ -n "$caption" ] && break
  message=$(DISPLAY="$display" xdotool search --name '^(Generating LVN.ini|Generating Game Data file|Please be Patient)$' 2>/dev/null | head -n1 || true)
  if [ -n "$message" ]; then
    answered+="$(DISPLAY="$display" xdotool getwindowname "$message"); "
    DISPLAY="$display" xdotool windowfocus --sync "$message" key Return 2>/dev/null || true
  fi
  sleep 0.1
done
echo "messages answered: $answered"
[ "$caption" = "Lorvane   (romcount = 3)" ] || fail "the window's caption is '$caption', not the three sets listed"
echo "caption: $caption"

window=$(DISPLAY="$display" xwininfo -root -tree | grep 'romcount' | head -n1 | awk '{print $1}')
wm_class=$(DISPLAY="$display" xprop -id "$window" WM_CLASS)
echo "$wm_class"
echo "$wm_class" | grep -q '"lorvane"' || fail "the window's class does not name lorvane.desktop's StartupWMClass"

# The program (strace's child) is ended; strace ends with it.
lorvane_pid=$(pgrep -P "$program_pid" | head -n1 || true)
[ -n "$lorvane_pid" ] && kill "$lorvane_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=

app_dir="$home/.local/share/lorvane"
for f in LVN.ini LVN_LIST.txt; do [ -s "$app_dir/$f" ] || fail "no $app_dir/$f"; done
grep -q '^MAME NAME=mame' "$app_dir/LVN.ini" || fail "LVN.ini does not name mame"
[ -z "$(ls -A "$start_dir")" ] || fail "the program wrote into the folder it was started in"

# Every write the program and its children tried: opened for writing or made,
# renamed, removed or changed. Paths are absolute or relative to the home.
writes=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|mkdir|rename|unlink|link\(|symlink|truncate|chmod|creat\(' "$trace" |
  grep -oE '"[^"]*"' | tr -d '"' | sort -u)
outside=$(echo "$writes" | grep -v -E "^($home(/|$)|/dev/|[^/])" || true)
[ -z "$outside" ] || fail "written outside the home: $outside"
echo "written, all in the home: $(echo "$writes" | grep -c .) paths"
echo "test-deb: passed"

#!/bin/sh
# Debian's emulator reads its mame.ini from ~/.mame and /etc/mame. Copied into an
# application directory as `mame`, this makes it read the mame.ini beside it and
# keep whatever it writes under that directory, so that it and Lorvane agree on
# the ROM and snapshot folders and nothing touches the user's home.
dir=$(dirname "$0")
HOME="$dir" exec /usr/games/mame -inipath "$dir" "$@"

#!/usr/bin/env bash
# Runs a command and says how long it took: timed.sh NAME COMMAND [ARG...]
# Prints "time NAME: N s" and exits with the command's status.
set -u
name=$1
shift
start=$(date +%s)
"$@"
rc=$?
echo "time $name: $(($(date +%s) - start)) s"
exit $rc

#!/usr/bin/env bash
# Runs check-layers.sh over a small tree that keeps every rule, then over
# copies of it that each break one, and expects each break to be reported on a
# line naming the offending file.
# Usage: check_layers_test.sh [CHECK_LAYERS_SCRIPT]
set -euo pipefail
check=${1:-$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# write FILE LINE...: FILE holding the given lines, folders created as needed.
write() {
  mkdir -p "$(dirname "$1")"
  printf '%s\n' "${@:2}" >"$1"
}

# run_check TREE: the check's exit status in $status, its output in $scratch/out and err.
run_check() {
  status=0
  "$check" "$1" >"$scratch/out" 2>"$scratch/err" || status=$?
}

# The allowed cases a too strict check would trip on: same-layer views,
# system headers in platform, the views and app, Qt in ui/qt and app,
# standard headers everywhere, and files that are not sources.
clean=$scratch/clean
write "$clean/src/CMakeLists.txt" 'add_subdirectory(util)'
write "$clean/src/util/a.h" '#pragma once' '#include <string>' '#include <cstdio>'
write "$clean/src/platform/b.h" '#pragma once' '#include "util/a.h"'
write "$clean/src/platform/b_posix.cpp" '#include "platform/b.h"' '#include <unistd.h>' '#include <sys/stat.h>'
write "$clean/src/platform/b_win32.cpp" '#include "platform/b.h"' '#  include <Windows.h>'
write "$clean/src/mame/m.h" '#pragma once' '#include "platform/b.h"' '#include <time.h>'
write "$clean/src/form/f.h" '#pragma once' '#include "mame/m.h"'
write "$clean/src/form/f.cpp" '#include "form/f.h"' '#include "platform/b.h"' '#include "util/a.h"'
write "$clean/src/ui/qt/w.h" '#include "form/f.h"' '#include "ui/win32/v.h"' '#include <QWidget>' '#include <QtCore/QString>'
write "$clean/src/ui/win32/v.h" '#include "form/f.h"' '#include <commctrl.h>'
write "$clean/src/app/main_qt.cpp" '#include "ui/qt/w.h"' '#include <QApplication>' '#include <signal.h>'
write "$clean/src/app/lorvane.rc" '#include "lorvane.h"'
write "$clean/src/app/lorvane.ico" 'not a source'

run_check "$clean"
if [ "$status" -ne 0 ] || [ "$(cat "$scratch/out")" != "include arrows: all point down" ] || [ -s "$scratch/err" ]; then
  fail "clean tree: exit $status, stdout '$(cat "$scratch/out")', stderr '$(cat "$scratch/err")'"
fi

# expect_found CASE FILE LINE TEXT...: on a copy of the clean tree with LINE
# appended to FILE (under src/), the check fails with a line naming FILE and
# holding every TEXT.
expect_found() {
  local name=$1 file=$2 line=$3 text matching
  shift 3
  local tree=$scratch/$name
  cp -r "$clean" "$tree"
  mkdir -p "$(dirname "$tree/src/$file")"
  printf '%s\n' "$line" >>"$tree/src/$file"
  run_check "$tree"
  if [ "$status" -ne 1 ] || grep -q 'all point down' "$scratch/out"; then
    fail "$name: exit $status, stdout '$(cat "$scratch/out")', expected a failure"
    return
  fi
  matching=$(grep -F "src/$file" "$scratch/err" || true)
  for text in "$@"; do
    matching=$(grep -F -- "$text" <<<"$matching" || true)
  done
  [ -n "$matching" ] || fail "$name: no line naming src/$file with: $*; got: $(cat "$scratch/err")"
}

expect_found upward_include util/a.h '#include "form/f.h"' '"form/f.h"' util form
expect_found upward_include_within_views form/f.cpp '#include "ui/qt/w.h"' '"ui/qt/w.h"' form ui/qt
expect_found unlisted_folder newthing/n.cpp '#include "util/a.h"' newthing 'not in the layer list'
expect_found unlisted_view_folder ui/gtk/g.cpp '#include "form/f.h"' ui/gtk 'not in the layer list'
expect_found unlisted_subfolder form/detail/d.h '#pragma once' form/detail 'not in the layer list'
expect_found file_directly_in_src stray.cpp '#include "util/a.h"' 'directly in src/'
expect_found include_not_from_src platform/b_posix.cpp '#include "b.h"' '"b.h"' 'written from src/'
expect_found include_from_unknown_folder form/f.cpp '#include "nosuch/x.h"' '"nosuch/x.h"' 'written from src/'
expect_found project_include_in_brackets util/a.h '#include <form/f.h>' '<form/f.h>' 'in quotes'
expect_found system_header_in_mame mame/m.h '#include <unistd.h>' '<unistd.h>' mame
expect_found system_header_in_util util/a.h '#include <sys/types.h>' '<sys/types.h>' util
expect_found windows_header_in_form form/f.h '#include <ShlObj.h>' '<ShlObj.h>' form
expect_found qt_header_in_form form/f.cpp '#include <QWidget>' '<QWidget>' form
expect_found qt_header_in_win32_view ui/win32/v.h '#include <QtCore/QString>' '<QtCore/QString>' ui/win32

# Every problem gets its own line, not just the first one found.
several=$scratch/several
cp -r "$clean" "$several"
printf '%s\n' '#include "form/f.h"' '#include <QWidget>' >>"$several/src/util/a.h"
write "$several/src/newthing/n.cpp" '#include "util/a.h"'
run_check "$several"
problem_lines=$(grep -c '^src/' "$scratch/err" || true)
if [ "$status" -ne 1 ] || [ "$problem_lines" -ne 3 ]; then
  fail "several problems: exit $status and $problem_lines problem lines, expected 1 and 3: $(cat "$scratch/err")"
fi

# A root the check cannot work on is an error, never a pass.
mkdir -p "$scratch/no_sources/src/util"
for root in "$scratch/nowhere" "$scratch/no_sources"; do
  run_check "$root"
  if [ "$status" -ne 2 ] || [ ! -s "$scratch/err" ] || [ -s "$scratch/out" ]; then
    fail "$root: exit $status, stdout '$(cat "$scratch/out")', stderr '$(cat "$scratch/err")', expected exit 2 with a message"
  fi
done

if [ "$failures" -gt 0 ]; then
  echo "check_layers_test: $failures failure(s)" >&2
  exit 1
fi
echo "check_layers_test: every planted problem found, the clean tree passes"

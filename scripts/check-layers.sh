#!/usr/bin/env bash
# Every include arrow points down. Each folder of src/ is one CMake target and
# one namespace; a file may include the headers of its own folder and of the
# folders listed before it below, never of one listed after it. Only the
# folders that wrap the operating system may include its headers, and only the
# Qt view and the entry points may include Qt's.
# Usage: check-layers.sh [SOURCE_ROOT]   (checks SOURCE_ROOT/src; default: this checkout)
set -euo pipefail

# The layers, lowest first; folders that share an entry are one layer.
layers=(
  util               # failures, text helpers
  platform           # the operating system (*_posix.cpp / *_win32.cpp pairs)
  mame               # the emulator: command lines, listing, ROM names, batch checks, its ini
  settings           # LVN.ini
  gamelist           # the data file, list loading
  audit              # the ROM audit
  form               # the window's state, handlers, layout, UI port
  "ui/qt ui/win32"   # the two views
  app                # entry points
)
system_header_folders=(platform ui/qt ui/win32 app)
toolkit_header_folders=(ui/qt app)

# Headers that reach the operating system, matched lower-cased because
# Windows headers are often written <Windows.h> or <ShlObj.h>.
system_header='^((unistd|poll|dirent|fcntl|signal|spawn|sched|pthread|dlfcn|pwd|grp|termios|glob|fnmatch|libgen|semaphore|syslog|netdb|io|direct|process|tchar|commctrl|commdlg|objbase|ole2|oleauto|olectl|shlobj|shellapi|shlwapi|shobjidl|knownfolders|wincodec|uxtheme|dwmapi|psapi|tlhelp32|mmsystem|richedit|versionhelpers|combaseapi|processthreadsapi|fileapi|handleapi|synchapi|errhandlingapi|libloaderapi|sysinfoapi|win[a-z0-9_]*)\.h|(sys|linux|arpa|netinet|x11|xcb)/.*)$'
# Qt's headers: <QWidget>, <QtCore/QString>, <QtWidgets>.
toolkit_header='^Q[A-Za-z]'
include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^">]*)[">]'

if [ $# -gt 1 ]; then
  echo "usage: check-layers.sh [SOURCE_ROOT]" >&2
  exit 2
fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
if [ ! -d "$root/src" ]; then
  echo "check-layers.sh: $root has no src/ folder to check" >&2
  exit 2
fi
cd "$root/src"

declare -A layer_of top_level_folders
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do
    layer_of[$folder]=$i
    top_level_folders[${folder%%/*}]=1
  done
done

# "platform ui/qt" -> "|platform|ui/qt|", so membership is one pattern match.
bars() { local IFS='|'; echo "|$*|"; }
system_allowed=$(bars "${system_header_folders[@]}")
toolkit_allowed=$(bars "${toolkit_header_folders[@]}")

problems=0
problem() {
  echo "$1" >&2
  problems=$((problems + 1))
}

# Sources in a folder the list does not know would escape every check below.
sources=$(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
if [ -z "$sources" ]; then
  echo "check-layers.sh: no .h or .cpp files under $root/src" >&2
  exit 2
fi
declare -A unknown_folder_files
while IFS= read -r file; do
  file=${file#./}
  if [[ $file != */* ]]; then
    unknown_folder_files[$file]=1
    problem "src/$file: lies directly in src/; the layer list in scripts/check-layers.sh names folders only"
  elif [ -z "${layer_of[${file%/*}]:-}" ]; then
    unknown_folder_files[$file]=1
    problem "src/$file: folder ${file%/*} is not in the layer list in scripts/check-layers.sh"
  fi
done <<<"$sources"

# grep exits 1 when nothing matches, which is fine; 2 is a read error.
includes=$(grep -rHnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' .) ||
  [ $? -eq 1 ]
while IFS= read -r match; do
  file=${match%%:*}
  file=${file#./}
  rest=${match#*:}
  line_number=${rest%%:*}
  text=${rest#*:}
  [ -z "${unknown_folder_files[$file]:-}" ] || continue
  [[ $text =~ $include_line ]] || continue
  bracket=${BASH_REMATCH[1]}
  header=${BASH_REMATCH[2]}
  folder=${file%/*}
  where="src/$file:$line_number"

  if [ "$bracket" = '"' ]; then
    target=""
    [[ $header != */* ]] || target=${header%/*}
    if [ -z "$target" ] || [ -z "${layer_of[$target]:-}" ]; then
      problem "$where: \"$header\" (in $folder) does not start with a folder of the layer list; project includes are written from src/, e.g. \"util/failure.h\""
    elif [ "${layer_of[$target]}" -gt "${layer_of[$folder]}" ]; then
      problem "$where: \"$header\" points up: $folder may not include $target, which comes after it in the layer list"
    fi
    continue
  fi

  if [[ $header == */* ]] && [ -n "${top_level_folders[${header%%/*}]:-}" ]; then
    problem "$where: <$header> (in $folder) is a project header; project includes are written in quotes from src/"
  elif [[ ${header,,} =~ $system_header ]] && [[ $system_allowed != *"|$folder|"* ]]; then
    problem "$where: <$header> reaches the operating system; only ${system_header_folders[*]} may include it, not $folder"
  elif [[ $header =~ $toolkit_header ]] && [[ $toolkit_allowed != *"|$folder|"* ]]; then
    problem "$where: <$header> is a Qt header; only ${toolkit_header_folders[*]} may include it, not $folder"
  fi
done <<<"$includes"

if [ "$problems" -gt 0 ]; then
  echo "check-layers.sh: $problems problem(s) under $root/src" >&2
  exit 1
fi
echo "include arrows: all point down"

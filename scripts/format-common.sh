# shellcheck shell=bash
# Sourced by check-format.sh and format.sh so that both cover the same files
# with the same tool and style. load_format_sources ROOT checks the tool and
# the style and sets:
#   style    --style=file:ROOT/.clang-format
#   sources  the .cpp and .h files under src/, tests/ and bench/, relative to ROOT
formatted_folders=(src tests bench)

load_format_sources() {
  local root=$1 folder patterns=() listed=() file
  if ! command -v clang-format >/dev/null; then
    echo "${0##*/}: clang-format is missing; install Debian's package: apt-get install clang-format (or make deps)" >&2
    exit 2
  fi
  if [ ! -f "$root/.clang-format" ]; then
    echo "${0##*/}: $root has no .clang-format to format by" >&2
    exit 2
  fi
  style=--style=file:$root/.clang-format
  # A style clang-format cannot read would otherwise fail once per file.
  if ! clang-format "$style" --dump-config >/dev/null; then
    echo "${0##*/}: $(clang-format --version) cannot read $root/.clang-format (see above)" >&2
    exit 2
  fi

  sources=()
  if [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$(cd "$root" && pwd -P)" ]; then
    for folder in "${formatted_folders[@]}"; do
      patterns+=("$folder/*.cpp" "$folder/*.h")
    done
    mapfile -d '' -t listed < <(git -C "$root" ls-files -z -- "${patterns[@]}")
    wait $! || { echo "${0##*/}: git ls-files failed in $root" >&2; exit 2; }
    for file in "${listed[@]}"; do
      # A tracked file deleted or moved away in the working tree is not there to format.
      if [ -f "$root/$file" ]; then sources+=("$file"); fi
    done
  else
    for folder in "${formatted_folders[@]}"; do
      if [ -d "$root/$folder" ]; then patterns+=("$folder"); fi
    done
    if [ ${#patterns[@]} -gt 0 ]; then
      mapfile -d '' -t sources < <(cd "$root" && find "${patterns[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
      wait $! || { echo "${0##*/}: could not list the sources under $root" >&2; exit 2; }
    fi
  fi
  if [ ${#sources[@]} -eq 0 ]; then
    echo "${0##*/}: no .cpp or .h files under src/, tests/ or bench/ of $root" >&2
    exit 2
  fi
}

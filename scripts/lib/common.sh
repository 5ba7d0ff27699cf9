# Sourced by the scripts. Sets `top` (the checkout), `SUDO` (empty for root)
# and the compiler cache settings that every build of every clone shares:
# paths on compile lines are rewritten relative to the checkout and the build
# folder is left out of the key, so a second clone on the machine finds what
# the first compiled; the sloppiness lets ccache keep what is compiled against
# a precompiled header; depend mode takes the included files from the
# compiler's own dependency output instead of running the preprocessor a
# second time on every miss. `launcher` holds the CMake argument that turns the
# cache on (empty without ccache).

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}"
  export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
  export CCACHE_DEPEND="${CCACHE_DEPEND:-1}"
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"
fi

# Prints how long the named step took, from the shell's SECONDS counter.
# Usage: started=$SECONDS; ...; report_time "Build" "$started"
report_time() {
  local took=$((SECONDS - $2))
  printf '== %s took %d min %02d s\n' "$1" $((took / 60)) $((took % 60))
}

# The tests read and write under German, French, Japanese and the C locale;
# the C library needs the first three generated. Generated only where
# missing (needs root, through sudo like apt).
ensure_test_locales() {
  local wanted=(de_DE fr_FR ja_JP) missing=() have name
  have="$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')"
  for name in "${wanted[@]}"; do
    if ! grep -qx "$(echo "$name" | tr '[:upper:]' '[:lower:]').utf8" <<<"$have"; then
      missing+=("$name")
    fi
  done
  for name in "${missing[@]}"; do
    echo "Generating the locale $name.UTF-8"
    $SUDO localedef -i "$name" -f UTF-8 "$name.UTF-8"
  done
}

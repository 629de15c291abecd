# shellcheck shell=bash
# Environment shared by prefix.sh and run.sh (sourced, not run).
#
# Every Wine command of the harness runs with the Chinese locale generated
# inside the build tree, quiet debug output, an explicit prefix, a private
# home and a private temporary folder, whatever the caller's environment holds.

# tovan_wine_env BUILD_DIR PREFIX PRIVATE_DIR
# Exports what Wine needs into this shell. HOME and TMPDIR point into
# PRIVATE_DIR, so Wine writes nothing outside it (the wineserver socket
# folder lives under TMPDIR). The locale itself is set per command by
# tovan_in_locale: bash cannot load a locale from LOCPATH and would warn.
tovan_wine_env() {
  local build_dir=$1 prefix=$2 private_dir=$3
  mkdir -p "$private_dir/home" "$private_dir/tmp"
  export WINEPREFIX=$prefix
  export WINEARCH=win64
  export WINEDEBUG=-all
  export LOCPATH=$build_dir/wine/locale
  unset LANGUAGE WINESERVERSOCKET
  export HOME=$private_dir/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  export TMPDIR=$private_dir/tmp
}

# tovan_in_locale COMMAND...: runs COMMAND with the generated zh_CN.UTF-8
# locale, so that Wine uses the Chinese ANSI code page (936).
tovan_in_locale() {
  env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
}

tovan_abs_path() {
  realpath -m -- "$1"
}

# Windows form of a Unix path, through drive Z: (which maps to /).
tovan_windows_path() {
  local p
  p=$(tovan_abs_path "$1")
  printf 'Z:%s\n' "${p//\//\\}"
}

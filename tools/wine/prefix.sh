#!/usr/bin/env bash
# Prepares, once per build tree, what every Wine test run starts from:
#   BUILD_DIR/wine/locale/zh_CN.UTF-8   glibc locale, so Wine runs with code page 936
#   BUILD_DIR/wine/template/            a 64-bit Wine prefix with the harness settings
#   BUILD_DIR/wine/template.stamp       hash of the scripts that built it
# Rebuilt only when missing or when these scripts changed. A finished locale
# and template are also kept outside the checkout (in TOVAN_WINE_CACHE,
# default ~/.cache/tovan/wine, keyed by these scripts and the installed Wine
# and glibc), so a fresh checkout copies them instead of booting Wine again.
# Safe to call from several runs at once: the work happens under an
# exclusive lock on BUILD_DIR/wine/template.lock, which run.sh takes shared
# while copying.
#
# Usage: tools/wine/prefix.sh BUILD_DIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=SCRIPTDIR/common.sh
source "$here/common.sh"

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(tovan_abs_path "$1")
wine_dir=$build_dir/wine
locale_dir=$wine_dir/locale
template=$wine_dir/template
stamp=$wine_dir/template.stamp
mkdir -p "$wine_dir"

hash=$(cat "$here/prefix.sh" "$here/common.sh" | sha256sum | cut -d' ' -f1)

exec 8>"$wine_dir/template.lock"
if ! flock -w 600 8; then
  echo "prefix.sh: timed out waiting for $wine_dir/template.lock" >&2
  exit 1
fi

if [[ -f $stamp && $(cat "$stamp") == "$hash" && -d $template && -f $locale_dir/zh_CN.UTF-8/LC_CTYPE ]]; then
  exit 0
fi

started=$SECONDS
rm -f "$stamp"

# --- Cache ----------------------------------------------------------------
versions=$( { wine --version; ldd --version | head -n 1; } 2>/dev/null || true)
cache_key=$(printf '%s\n%s\n' "$hash" "$versions" | sha256sum | cut -c1-16)
cache_root=${TOVAN_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tovan/wine}
cached=$cache_root/$cache_key
if [[ -f $cached/complete && -d $cached/template && -d $cached/locale ]]; then
  rm -rf "$locale_dir" "$template" "$wine_dir/template.new"
  if cp -a "$cached/locale" "$locale_dir" && cp -a "$cached/template" "$wine_dir/template.new"; then
    mv "$wine_dir/template.new" "$template"
    echo "$hash" >"$stamp"
    echo "prefix.sh: template prefix copied from $cached in $((SECONDS - started)) s" >&2
    exit 0
  fi
  echo "prefix.sh: could not copy $cached; building the prefix" >&2
  rm -rf "$locale_dir" "$template" "$wine_dir/template.new"
fi

# --- Locale ---------------------------------------------------------------
# localedef reports harmless warnings with a non-zero status; judge by the
# result: the locale must load and say UTF-8.
rm -rf "$locale_dir" "$locale_dir.new"
mkdir -p "$locale_dir.new"
localedef -c -i zh_CN -f UTF-8 "$locale_dir.new/zh_CN.UTF-8" >/dev/null 2>&1 || true
if [[ $(LOCPATH=$locale_dir.new LC_ALL=zh_CN.UTF-8 locale charmap 2>/dev/null) != UTF-8 ]] ||
   LOCPATH=$locale_dir.new LC_ALL=zh_CN.UTF-8 locale 2>&1 >/dev/null | grep -q .; then
  echo "prefix.sh: could not generate the zh_CN.UTF-8 locale in $locale_dir" >&2
  exit 1
fi
mv "$locale_dir.new" "$locale_dir"

# --- Template prefix ------------------------------------------------------
work=$wine_dir/template.new
rm -rf "$work"
mkdir -p "$work"
rm -rf "$wine_dir/private"
tovan_wine_env "$build_dir" "$work" "$wine_dir/private"
unset DISPLAY WAYLAND_DISPLAY
# No desktop menu entries, no Mono or Gecko installers (the template keeps
# these overrides in its registry for later runs).
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="

# Stop this prefix's wineserver however the script ends.
stop_server() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$wine_dir/private"; }
trap stop_server EXIT

tovan_in_locale wineboot -i </dev/null >"$wine_dir/wineboot.log" 2>&1 || {
  echo "prefix.sh: wineboot -i failed, see $wine_dir/wineboot.log" >&2
  exit 1
}
wineserver -w

# Harness settings, written as a UTF-16 .reg file (value names are Chinese).
reg_utf8=$wine_dir/settings.reg.txt
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  # Without a window manager, unmanaged windows close at once instead of
  # waiting 2 s; Wine draws the frames itself.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
  # Chinese faces the programs ask for, resolved to the installed CJK font.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in SimSun 宋体 NSimSun 新宋体 "Microsoft YaHei" "Microsoft YaHei UI" 微软雅黑 \
              PMingLiu "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
  done
  printf '\r\n'
  # A crashing program ends with a backtrace on stderr, never a dialog box.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  # No desktop menu entries, no Mono or Gecko installers.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n'
  printf '"winemenubuilder.exe"=""\r\n"mscoree"=""\r\n"mshtml"=""\r\n\r\n'
} >"$reg_utf8"
reg_file=$wine_dir/settings.reg
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg_utf8"; } >"$reg_file"
rm -f "$reg_utf8"
tovan_in_locale wine regedit /S "$(tovan_windows_path "$reg_file")" </dev/null \
  >>"$wine_dir/wineboot.log" 2>&1 || {
  echo "prefix.sh: importing $reg_file failed, see $wine_dir/wineboot.log" >&2
  exit 1
}
wineserver -w

if ! grep -q '"Managed"="N"' "$work/user.reg"; then
  echo "prefix.sh: registry settings did not reach $work/user.reg" >&2
  exit 1
fi

# The user's profile folders are links into the Unix home; make them plain
# folders so a program under test never writes outside its prefix.
for link in "$work"/drive_c/users/*/* "$work"/drive_c/users/*/AppData/*; do
  if [[ -L $link ]]; then
    rm -f "$link"
    mkdir -p "$link"
  fi
done

# The template must not name the temporary folder of this build's wineserver:
# each run starts its own server under its own TMPDIR.
rm -f "$work/wineserver"
trap - EXIT
rm -rf "$wine_dir/private" "$template"
mv "$work" "$template"
echo "$hash" >"$stamp"
echo "prefix.sh: template prefix ready in $((SECONDS - started)) s" >&2

# Kept for the next checkout, in place of any older one; a cache that cannot
# be written only costs time.
if mkdir -p "$cache_root" 2>/dev/null; then
  find "$cache_root" -mindepth 1 -maxdepth 1 ! -name "$cache_key" -exec rm -rf {} + 2>/dev/null || true
  staging=$(mktemp -d "$cache_root/.new.XXXXXX" 2>/dev/null) || exit 0
  if [[ ! -d $cached ]] && cp -a "$locale_dir" "$staging/locale" && cp -a "$template" "$staging/template" &&
     touch "$staging/complete"; then
    mv -T "$staging" "$cached" 2>/dev/null || true
  fi
  rm -rf "$staging"
fi

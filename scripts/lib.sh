# Shared by scripts/run and scripts/test: installing what is missing, the Wine prefix, the display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# vrin_install [PACKAGE...]: installs those packages (by default everything the scripts use)
# when they are missing.
vrin_install() {
  local want=(cmake g++ clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
              wine64 fonts-wine xvfb xdotool imagemagick googletest libgtest-dev libbenchmark-dev x11-utils)
  [ $# -gt 0 ] && want=("$@")
  local missing=()
  for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

# vrin_display: use the user's DISPLAY, or start our own Xvfb (its pid in vrin_xvfb_pid).
vrin_xvfb_pid=
vrin_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 91 140); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    vrin_xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "Xvfb started on DISPLAY=$DISPLAY (pid $vrin_xvfb_pid)"
    return 0
  done
  echo "no free display number" >&2; return 1
}

# vrin_prefix DIR: a ready Wine prefix at DIR (created when missing), carrying Wine's fonts.
vrin_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  vrin_prefix_fonts
}

# Wine here lists only the host's fonts, so Tahoma, MS Sans Serif and Marlett (the glyphs of
# DrawFrameControl's caption buttons) would be drawn in stand-ins; in the prefix's Fonts
# folder Wine finds its own files. The bitmap ones count too: Wine skips its bitmap-only
# TrueType "MS Sans Serif" but loads sserife.fon, which its registry names for that face.
# Only missing files are copied.
vrin_prefix_fonts() {
  vrin_install fonts-wine || { echo "warning: fonts-wine could not be installed" >&2; return 0; }
  local fonts=$WINEPREFIX/drive_c/windows/Fonts f have
  mkdir -p "$fonts"
  have=$(ls -1 "$fonts" | tr '[:upper:]' '[:lower:]')   # Windows names ignore case
  while IFS= read -r f; do
    local name=${f##*/}
    [ -f "$f" ] && ! grep -qxF "${name,,}" <<<"$have" && cp "$f" "$fonts/"
  done < <(dpkg-query -L fonts-wine | grep -iE '\.(ttf|ttc|fon)$')
  true
}

vrin_cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$vrin_xvfb_pid" ] && kill "$vrin_xvfb_pid" 2>/dev/null
  true
}

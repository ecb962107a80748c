# Shared Wine set-up, sourced by winerun, test.sh and run.sh.
iv_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${IV_WINEPREFIX:-$iv_repo/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
# Xlib keeps its resource database only once one has been found. A bare Xvfb has none,
# so without one Xlib reads the home folder again for every font Wine selects into a
# window's DC: some 750 times before the main window's first paint.
export XENVIRONMENT=${XENVIRONMENT:-$iv_repo/tools/wine/Xresources}

# Creates the prefix once. A lock keeps parallel callers from racing on it.
iv_wine_prepare() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.iv-ready" ]; then
      wineboot -i >/dev/null 2>&1
      # Without a window manager Wine stalls 2 s whenever a top-level window hides.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.iv-ready"
    fi
    # Wine 8 as packaged here does not load the fonts-wine package's fonts from its data
    # folder, only from the prefix's Fonts folder: without Marlett the title bars' buttons
    # draw as the letters "0 1 r". The other fonts stay out so text metrics do not change.
    local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f "$marlett" ] && [ ! -f "$fonts/marlett.ttf" ]; then
      mkdir -p "$fonts" && cp "$marlett" "$fonts/"
    fi
  ) 9>"$WINEPREFIX.lock"
}

iv_start_xvfb() {
  # Xvfb picks a free display and writes its number once it accepts clients.
  local fifo n
  fifo=$(mktemp -u)
  mkfifo "$fifo" || return 1
  Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$fifo" >/dev/null 2>&1 &
  IV_XVFB_PID=$!
  read -r -t 30 n <"$fifo"
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "winerun: could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

iv_stop_xvfb() {
  [ -n "${IV_XVFB_PID:-}" ] && kill "$IV_XVFB_PID" 2>/dev/null && wait "$IV_XVFB_PID" 2>/dev/null
  IV_XVFB_PID=
}

# Shared settings of the build, test and run scripts.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
dist="$root/out/dist"  # the download packages
jobs=${KESTRAVA_JOBS:-2}
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# ping.exe=n: the test ping (tests/programs/ping.cpp) stands where the system's ping lives,
# and Wine would otherwise run its own ping there, which has no -f.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;ping.exe=n}"
wine64_loader=/usr/lib/wine/wine64
wine32_loader=/usr/lib/wine/wine

# 32-bit Windows programs run where Wine's 32-bit loader runs: natively, or under the
# emulation that setup.sh registers.
can_run_win32() {
  "$wine32_loader" --version >/dev/null 2>&1
}

wineserver=/usr/lib/wine/wineserver

# The dialog font "굴림" comes from Baekmuk Gulim, whose metrics match it, so the dialogs
# lay out as on Korean Windows.
dialog_font="Baekmuk Gulim"

# Creates the Wine prefix once, with the dialog font mapped. A prefix made while 32-bit
# programs could not run lacks the 32-bit system files, so every 32-bit program would fail
# to load kernel32.dll; such a prefix is made again.
ensure_wine_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] && can_run_win32; then
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine64_loader" wineboot --init >/dev/null 2>&1 || true
  fi
  if [ "$(cat "$WINEPREFIX/.kestrava-font" 2>/dev/null)" != "$dialog_font" ]; then
    "$wineserver" -k 2>/dev/null || true
    for name in 굴림 Gulim; do
      LC_ALL=ko_KR.UTF-8 "$wine64_loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "$name" /d "$dialog_font" /f >/dev/null 2>&1 || true
    done
    "$wineserver" -w 2>/dev/null || true
    echo "$dialog_font" >"$WINEPREFIX/.kestrava-font"
  fi
}

# Where a build's programs find the system's ping in the Wine prefix: system32 for 64-bit
# programs, syswow64 (to which a 32-bit program's system32 leads) for 32-bit ones.
system_ping() {  # system_ping ARCH
  if [ "$1" = i686 ]; then
    echo "$WINEPREFIX/drive_c/windows/syswow64/ping.exe"
  else
    echo "$WINEPREFIX/drive_c/windows/system32/ping.exe"
  fi
}

# Windows programs need a display: without one, a headless X server on display :NUMBER
# is started; its process id is left in xvfb_pid (empty when a display exists).
ensure_display() {  # ensure_display NUMBER
  xvfb_pid=""
  [ -n "${DISPLAY:-}" ] && return 0
  export DISPLAY=:$1
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
}
